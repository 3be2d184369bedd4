#include "common/port_menus.h"

#include "platform/app.h"

namespace qtx {

PortMenus* port_menus(App& app) { return dynamic_cast<PortMenus*>(app.forms().mainWindow()); }

}  // namespace qtx
