// The test sequence of a live run: its four steps (rate test, its summary, occlusion test, its
// summary), the move from one to the next, the stop of the whole run, and the end of a run whose
// serial device has gone away.
//
// The sequence belongs to the run, not to the download dialog that started it: it reads the
// choices the run was started with (Session::run_choices), so the dialog may be changed, closed
// or loaded afresh while the run goes on.
#pragma once

namespace qtx {
class App;
struct Session;
}  // namespace qtx

namespace qtx::TestSequence {

// Whether a live run goes on: one of its four steps is running.
bool running(const Session& s);

// Each end of a step (Stop, the end of the countdown, the end of a summary, the summary window's
// Cancel) ends that step and starts the next one. A stop the port does not take ends the run as
// a lost device does: nothing more can reach the analyser.
void beginnextproc(App& app);
// The occlusion test after the rate test: its log header, its window, its start command.
void startottest(App& app);
// Abandons the whole run: the analyser stopped, the files of the run deleted, every flag
// cleared, the main window shown.
void stopalltests(App& app);
// What the stop of all tests does with the run's files and flags: the logs the run began and the
// summary it wrote are deleted; every step flag and every test, log and summary choice is
// cleared.
void discard_run(App& app);
// The analyser says the channel is not connected during a live run: the whole run stops and the
// window of whichever step was running goes (the main window is then shown by the caller). False
// when no live run goes on.
bool stop_run_not_connected(App& app);

// The serial device went away mid-run (an adapter pulled, the analyser switched off), after the
// window that found it has told the user (PolledWindow::lost_device): polling and capturing stop;
// the log of the test that was running is closed with its closing lines, as Stop closes it, and
// every file the run wrote stays; no summary is waited for. The live windows and the summary
// window are unloaded, every step and request flag is cleared and the main window is shown.
// Also the end of a run whose next test could not be started.
void end_run_for_lost_device(App& app);

}  // namespace qtx::TestSequence
