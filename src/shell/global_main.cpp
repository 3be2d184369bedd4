#include "shell/global_main.h"

#include "core/vb.h"
#include "platform/app.h"
#include "shell/frmMain.h"

namespace qtx::GlobalMain {

void center_form(FormBase& form) { form.center(); }

void update_comm_caption(App& app) {
  frmMain& main = app.forms().get<frmMain>();
  std::string n = vb::to_text(app.session().comm.comm_port);
  // The status strip runs along the lower edge of the main window.
  main.lblStatus->setText(QStringLiteral("Comm Port:  ") + QString::fromLatin1(n.c_str()));
  main.setWindowTitle(QStringLiteral("QTX  -  Comm ") + QString::fromLatin1(n.c_str()));
}

}  // namespace qtx::GlobalMain
