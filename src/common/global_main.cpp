#include "common/global_main.h"

#include "platform/app.h"
#include "shell/frmMain.h"

namespace qtx::GlobalMain {

void center_form(FormBase& form) { form.center(); }

void update_comm_caption(App& app) { app.forms().get<frmMain>().show_comm_port(app.session().comm.comm_port); }

}  // namespace qtx::GlobalMain
