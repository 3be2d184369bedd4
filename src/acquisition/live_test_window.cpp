#include "acquisition/live_test_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "acquisition/frmReports.h"
#include "acquisition/test_sequence.h"
#include "common/global_comm.h"
#include "core/protocol.h"
#include "core/report_header.h"
#include "core/report_receiver.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx {

LiveTestWindow::LiveTestWindow(App& app, summary_capture::Kind kind) : PolledWindow(app), kind_(kind) {
  GetDataTimer = timer(this, "GetDataTimer", 1000);
  DurationTimer = timer(this, "DurationTimer", 1000);
  GetSumTimer = timer(this, "GetSumTimer", 100);
  connect_tick(GetSumTimer, [this] { GetSumTimer_Timer(); });
}

GraphControl* LiveTestWindow::lay_out(QWidget* data_frame, const char* graph_name, const char* title,
                                      const char* left_title) {
  cmdStop = make<QPushButton>(this, "cmdStop", "Stop");
  cmdCancel = make<QPushButton>(this, "cmdCancel", "Cancel");
  auto* graph = new GraphControl(this);
  graph->setObjectName(QString::fromLatin1(graph_name));
  graph->setGraphTitle(title);
  graph->setLeftTitle(left_title);
  graph->setBottomTitle("Data Points");
  graph->setMinimumHeight(200);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdStop);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(data_frame, 1);
  top->addLayout(buttons);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(graph, 1);

  connect_tick(GetDataTimer, [this] { GetDataTimer_Timer(); });
  connect_tick(DurationTimer, [this] { DurationTimer_Timer(); });
  connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

  resize(sizeHint());
  return graph;
}

bool LiveTestWindow::to_single(double value, float& single) {
  if (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max()) {
    single = static_cast<float>(value);
    return true;
  }
  app_.ui().msgbox("Bad graph data.", MsgButtons::OK, MsgIcon::Exclamation, "BAD DATA");
  return false;
}

const RunChoices& LiveTestWindow::choices() const { return app_.session().run_choices; }

bool LiveTestWindow::run_lost() {
  if (!device_lost()) return false;
  TestSequence::end_run_for_lost_device(app_);
  return true;
}

bool LiveTestWindow::send_or_end_run(const std::string& command) {
  if (send(command)) return true;
  TestSequence::end_run_for_lost_device(app_);
  return false;
}

void LiveTestWindow::drop_pending_input() {
  SerialPort& comm = app_.comm();
  comm.clearInBuffer();
  comm.setRThreshold(1);
  comm.setInputLen(0);
  replies_.clear();
}

bool LiveTestWindow::poll_replies() {
  Session& s = app_.session();
  const std::string poll = protocol::poll_command(s.channel_code);
  if (!poll.empty() && !send_or_end_run(poll)) return false;
  replies_.add(GlobalComm::read_comm_input(app_));
  if (run_lost()) return false;
  if (!replies_.ready()) {
    s.rx_text.clear();
    judge_short_reply();
  }
  return true;
}

bool LiveTestWindow::next_sample(std::string& reply, bool (*is_sample)(std::string_view)) {
  Session& s = app_.session();
  // Replies are taken out one at a time, so a tick that runs while a message box of this one is
  // open goes on with the replies after it, in order. The poll stops with the test (Stop, the
  // countdown, "n", the window unloaded): what is left then is not handled.
  while (GetDataTimer->isActive() && replies_.next(reply)) {
    s.rx_text = reply;
    if (protocol::is_error_reply(reply))
      judge_short_reply();
    else if (is_sample(reply))
      return true;
  }
  return false;
}

void LiveTestWindow::cmdStop_Click() {
  if (GetDataTimer->isActive()) {
    replies_.add(GlobalComm::read_comm_input(app_));
    if (run_lost()) return;
    handle_samples();
    // An "n" among them has stopped the whole run already.
    if (!GetDataTimer->isActive()) return;
  }
  TestSequence::beginnextproc(app_);
}

void LiveTestWindow::cmdCancel_Click() {
  app_.ui().setMousePointer(this, MousePointer::Hourglass);
  TestSequence::stopalltests(app_);
  app_.ui().setMousePointer(this, MousePointer::Default);
  Unload();
}

bool LiveTestWindow::Form_QueryUnload(UnloadMode mode) {
  if (mode != UnloadMode::FormControlMenu) return false;
  const TestPhaseFlags& p = app_.session().test_phase_flags;
  const bool rate = kind_ == summary_capture::Kind::Rate;
  const bool testing = rate ? p.rt_phase : p.ot_phase;
  const bool capturing = rate ? p.rt_summary_phase : p.ot_summary_phase;
  if (!testing && !capturing) return false;
  app_.ui().msgbox(testing ? kCloseDuringTest : kCloseDuringSummary, MsgButtons::OK, MsgIcon::Exclamation,
                   "TEST RUNNING");
  return true;
}

void LiveTestWindow::disable_run_buttons() {
  cmdCancel->setEnabled(false);
  cmdStop->setEnabled(false);
}

void LiveTestWindow::DurationTimer_Timer() {
  if (counts_down()) {
    --seconds_left;
    seconds_to_hhmmss();
  } else {
    lblTimeLeft->setText(QStringLiteral("N/A"));
  }
  if (seconds_left <= 0) cmdStop_Click();
}

void LiveTestWindow::seconds_to_hhmmss() {
  const double h = vb::Int(seconds_left / 3600.0);
  const double m = vb::Int((seconds_left - h * 3600) / 60.0);
  const double sec = seconds_left - m * 60 - h * 3600;
  lblTimeLeft->setText(toQ(vb::Format(h, "00") + ":" + vb::Format(m, "00") + ":" + vb::Format(sec, "00")));
}

void LiveTestWindow::judge_short_reply() { frmReports::process_errors(app_); }

void LiveTestWindow::GetSumTimer_Timer() {
  Session& s = app_.session();
  const bool rate = kind_ == summary_capture::Kind::Rate;

  const std::string read = app_.comm().input();
  // What arrived before a loss is not needed: no summary can be completed.
  if (run_lost()) return;
  s.rx_text = read;
  if (s.new_summary) {
    s.report_text.clear();
    s.new_summary = false;
  }
  const bool complete = summary_capture::add_read(s.report_text, s.report_overflow, read, kind_);
  if (read.size() == 2)
    GlobalComm::show_reply_error(app_);
  else
    report::process_buffer(s.report_text);
  if (!complete) return;

  summary_capture::cut_before_technician(s.report_text);
  s.download_flags.show_reports_request = false;
  s.new_summary = true;
  s.file_name = rate ? s.rt_sum_file : s.ot_sum_file;
  if (s.header_entered) {
    s.report_text += summary_capture::sign_off_block(s.device_record);
    s.file_text = s.report_text;
    replace_header(s.file_text, s.device_record, false);
    s.report_text = s.file_text;
  }
  // Written whole: a file that cannot be written keeps what it held.
  if (!files::write_all(s.file_name, summary_capture::file_bytes(s.report_text))) {
    app_.ui().msgbox(rate ? "Error writing real-time summary" : "Error writing occlusion summary", MsgButtons::OK,
                     MsgIcon::Exclamation, "FILE ACCESS ERROR");
    return;
  }
  (rate ? s.rt_sum_written : s.ot_sum_written) = true;
  TestSequence::beginnextproc(app_);
}

}  // namespace qtx
