// The live run beyond its four steps (frmDownload::beginnextproc, startottest and stopalltests,
// in test_sequence.cpp): the end of a run whose serial device has gone away.
#pragma once

namespace qtx {
class App;
}

namespace qtx::TestSequence {

// The serial device went away mid-run (an adapter pulled, the analyser switched off), after the
// window that found it has told the user (PolledWindow::lost_device): polling and capturing stop;
// the log of the test that was running is closed with its closing lines, as Stop closes it, and
// every file the run wrote stays; no summary is waited for. The live windows and the summary
// window are unloaded, every step and request flag is cleared and the main window is shown.
// Also the end of a run whose next test could not be started.
void end_run_for_lost_device(App& app);

}  // namespace qtx::TestSequence
