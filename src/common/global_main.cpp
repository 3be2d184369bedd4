#include "common/global_main.h"

#include "common/port_menus.h"
#include "platform/app.h"

namespace qtx::GlobalMain {

void center_form(FormBase& form) { form.center(); }

void update_comm_caption(App& app) {
  if (PortMenus* main = port_menus(app)) main->show_comm_port(app.session().comm.comm_port);
}

}  // namespace qtx::GlobalMain
