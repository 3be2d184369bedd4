// What the rate-test and occlusion-test windows share: their three timers, the poll of the
// analyser, the capture of the analyser's summary after the test, the countdown text, and the
// road taken when the serial device goes away mid-run.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "core/summary_capture.h"
#include "platform/forms.h"

namespace qtx {

class frmDownload;
class frmReports;

class LiveTestWindow : public Form<QWidget> {
  Q_OBJECT

 public:
  LiveTestWindow(App& app, summary_capture::Kind kind);
  ~LiveTestWindow() override;
  bool isMdiChild() const override { return true; }

  // The summary capture, every 100 ms after the test has stopped: each read is added to
  // report_text until the analyser's BEL; then the summary file is written and the test
  // sequence moves on.
  void GetSumTimer_Timer();

  QTimer* GetDataTimer = nullptr;   // the poll
  QTimer* DurationTimer = nullptr;  // the countdown
  QTimer* GetSumTimer = nullptr;    // the summary capture

  // The window opens at its design size.
  QSize sizeHint() const override { return QSize(9600 / kTwipsPerPixel, 7200 / kTwipsPerPixel); }

 protected:
  // Drops the input still pending at the start of a test. Output is left alone: the command
  // that started the test may still be on its way to the analyser when the window loads.
  void drop_pending_input();
  // Sends the poll for the current sample and reads what the port holds at once (the answer to
  // the previous poll, as a rule), blanks trimmed; also into rx_text.
  std::string poll_reply();
  // A reply too short to be a sample: the report window judges it (the analyser's error
  // replies; after "n" the run stops and this window is unloaded).
  void judge_short_reply();
  // "hh:mm:ss" of a count of seconds.
  static std::string hhmmss(int32_t seconds);
  // True when the serial device has gone away: the run has then ended (see test_sequence.h) and
  // this window is unloaded.
  bool device_lost();
  frmDownload& download_dialog();
  // The report window's cleaning, header and error procedures. When the report window is not
  // open they run on a copy of it that is never loaded: loading the report window would start
  // its own receiving and take the analyser's replies away from this window.
  frmReports& reports();

  // A label or button with its control name.
  static QLabel* label(QWidget* parent, const char* name, const char* caption);
  static QPushButton* button(QWidget* parent, const char* name, const char* caption);
  // A value the graph control takes as single precision; false when it does not fit, and the
  // user has been told "Bad graph data.".
  bool to_single(double value, float& single);

  // A tick that runs while another of this window's ticks is still in progress (a message box
  // of the first one is open) does nothing.
  class TickGuard {
   public:
    explicit TickGuard(LiveTestWindow& w) : w_(w), entered_(!w.in_tick_) { w_.in_tick_ = true; }
    ~TickGuard() {
      if (entered_) w_.in_tick_ = false;
    }
    explicit operator bool() const { return entered_; }

   private:
    LiveTestWindow& w_;
    bool entered_;
  };

 private:
  QTimer* timer(const char* name, int interval_ms);

  summary_capture::Kind kind_;
  bool in_tick_ = false;
  std::unique_ptr<frmReports> own_reports_;
};

}  // namespace qtx
