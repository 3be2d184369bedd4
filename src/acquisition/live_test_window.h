// What the rate-test and occlusion-test windows share: their three timers, the poll of the
// analyser, the capture of the analyser's summary after the test, the countdown, the Stop and
// Cancel buttons, and the road taken when the serial device goes away mid-run.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/polled_window.h"
#include "core/protocol.h"
#include "core/session.h"
#include "core/summary_capture.h"
#include "platform/graph_control.h"

namespace qtx {

class LiveTestWindow : public PolledWindow {
  Q_OBJECT

 public:
  LiveTestWindow(App& app, summary_capture::Kind kind);
  bool isMdiChild() const override { return true; }

  // The summary capture, every 100 ms after the test has stopped: each read is added to
  // report_text until the analyser's BEL; then the summary file is written and the test
  // sequence moves on.
  void GetSumTimer_Timer();

  // The poll, each window's own.
  virtual void GetDataTimer_Timer() = 0;
  // The countdown, each second while it runs: the time left shown, and at 0 the end of the
  // test as Stop ends it.
  void DurationTimer_Timer();
  // Stop: the end of the test. The answer to the last poll has come since its tick, as a rule,
  // and is the test's too, so what the port holds is handled before the test sequence closes
  // the log and moves on (beginnextproc).
  void cmdStop_Click();
  // Cancel: the whole run is abandoned under the hourglass (the test sequence's stopalltests),
  // then this window goes.
  void cmdCancel_Click();
  // Stop and Cancel go off while the test's summary is captured.
  void disable_run_buttons();
  // The close box while this window's test or its summary capture runs is refused with a word
  // on how to end it: gone, the window would leave the run with its log open and its steps
  // unended. The program's own unloads (the sequence's, Exit's) go through.
  bool Form_QueryUnload(UnloadMode mode) override;
  static constexpr const char* kCloseDuringTest =
      "The test is running.\r\rPress Stop to end it, or Cancel to abandon the run, before you close this window.";
  static constexpr const char* kCloseDuringSummary =
      "The summary of the test is being written.\r\r"
      "Press Cancel in the summary window to abandon it, or let it end, before you close this window.";
  // lblTimeLeft := seconds_left as "hh:mm:ss".
  void seconds_to_hhmmss();

  int32_t seconds_left = 0;  // of the test's length

  QTimer* GetDataTimer = nullptr;   // the poll
  QTimer* DurationTimer = nullptr;  // the countdown
  QTimer* GetSumTimer = nullptr;    // the summary capture
  QLabel* lblTimeLeft = nullptr;    // in the window's data frame
  QPushButton* cmdStop = nullptr;
  QPushButton* cmdCancel = nullptr;

  // The window opens at its design size.
  QSize sizeHint() const override { return QSize(9600 / kTwipsPerPixel, 7200 / kTwipsPerPixel); }

 protected:
  // The layout both live windows share: the data frame with Stop and Cancel beside it, the graph
  // (this name and titles) under them; the ticks and buttons go to the handlers. The graph made.
  GraphControl* lay_out(QWidget* data_frame, const char* graph_name, const char* title, const char* left_title);
  // Whether the countdown counts (the test has a length); otherwise it shows "N/A".
  virtual bool counts_down() const = 0;
  // Drops the input still pending at the start of a test, with any piece of a reply kept from
  // before. Output is left alone: the command that started the test may still be on its way to
  // the analyser when the window loads.
  void drop_pending_input();
  // Sends the poll for the current sample and keeps what the port holds at once (the answers to
  // earlier polls, as a rule), after what is left from the ticks before. A tick without a whole
  // reply judges the empty reply. False when the run ended because the device went away.
  bool poll_replies();
  // The next sample record of this tick, oldest first, blanks trimmed; also into rx_text. Error
  // replies on the way are judged as they come (judge_short_reply) and anything else that is not
  // a sample (`is_sample`) is noise, neither shown nor logged. False when no whole reply is left,
  // or when the test is no longer polled (after "n" the run has stopped and this window is
  // unloaded): the rest of the tick is then left alone.
  bool next_sample(std::string& reply, bool (*is_sample)(std::string_view));
  // Shows, plots and logs every sample record kept (next_sample), in order.
  virtual void handle_samples() = 0;
  // The choices the run was started with.
  const RunChoices& choices() const;
  // A reply too short to be a sample: the report window judges it (the analyser's error
  // replies; after "n" the run stops and this window is unloaded).
  void judge_short_reply();
  // True when the serial device has gone away (the user has been told): the run has then ended
  // (see test_sequence.h) and this window is unloaded.
  bool run_lost();
  // Sends a command the test needs (PolledWindow::send); a command the port does not take ends the
  // run like a lost device (false).
  bool send_or_end_run(const std::string& command);
  // A value the graph control takes as single precision; false when it does not fit, and the
  // user has been told "Bad graph data.".
  bool to_single(double value, float& single);

 private:
  summary_capture::Kind kind_;
  // What the port delivered during this test and was not handled yet: a reply may come in
  // pieces, and several may wait together.
  protocol::PollReplies replies_;
};

}  // namespace qtx
