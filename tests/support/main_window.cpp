#include "support/main_window.h"

#include "shell/frmMain.h"

namespace qtx::test {

frmMain& load_main(TestApp& t) { return t.forms().get<frmMain>(); }

frmMain& load_main_without_ports(TestApp& t) {
  t.ui.expectBox(kNoPortsMessage, "ERROR");
  frmMain& main = load_main(t);
  t.ui.verify();
  return main;
}

}  // namespace qtx::test
