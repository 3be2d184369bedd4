// The program's main window in a test program: loaded as the program's start loads it. For the
// suites of the windows, which run under it; it links the shell.
#pragma once

#include "support/test_app.h"

namespace qtx {
class frmMain;
}

namespace qtx::test {

// Loads the main window as the program's start does (settings, caption, probe, open).
frmMain& load_main(TestApp& t);
// The same with no port at all: the probe's one message is expected and answered.
frmMain& load_main_without_ports(TestApp& t);

}  // namespace qtx::test
