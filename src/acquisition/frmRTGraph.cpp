#include "acquisition/frmRTGraph.h"

#include <QGridLayout>

#include "acquisition/data_log_files.h"
#include "common/global_comm.h"
#include "core/protocol.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"

namespace qtx {

frmRTGraph::frmRTGraph(App& app) : LiveTestWindow(app, summary_capture::Kind::Rate) {
  setWindowTitle(QStringLiteral("RATE TEST"));

  fraRTData = make<QGroupBox>(this, "fraRTData", "Current Data");
  Label1 = make<QLabel>(fraRTData, "Label1", "Elapsed Time:");
  lblElapsedTime = make<QLabel>(fraRTData, "lblElapsedTime", "__:__:__");
  Label3 = make<QLabel>(fraRTData, "Label3", "(hh:mm:ss)");
  Label4 = make<QLabel>(fraRTData, "Label4", "Time Left:");
  lblTimeLeft = make<QLabel>(fraRTData, "lblTimeLeft", "N/A");
  Label9 = make<QLabel>(fraRTData, "Label9", "(hh:mm:ss)");
  Label2 = make<QLabel>(fraRTData, "Label2", "Instantaneous Flow Rate:");
  lblIntFlow = make<QLabel>(fraRTData, "lblIntFlow", "__.__");
  Label5 = make<QLabel>(fraRTData, "Label5", "Average Flow Rate:");
  lblAvgFlow = make<QLabel>(fraRTData, "lblAvgFlow", "__.__");
  Label6 = make<QLabel>(fraRTData, "Label6", "Volume Infused:");
  lblVol = make<QLabel>(fraRTData, "lblVol", "__.__");
  Label7 = make<QLabel>(fraRTData, "Label7", "Back Pressure:");
  lblPres = make<QLabel>(fraRTData, "lblPres", "___");
  {
    auto* g = new QGridLayout(fraRTData);
    const std::pair<QLabel*, QLabel*> rows[] = {{Label1, lblElapsedTime}, {Label4, lblTimeLeft}, {Label2, lblIntFlow},
                                                {Label5, lblAvgFlow},     {Label6, lblVol},      {Label7, lblPres}};
    QLabel* units[] = {Label3,
                       Label9,
                       make<QLabel>(fraRTData, "lblIntFlowUnit", "ml/hr"),
                       make<QLabel>(fraRTData, "lblAvgFlowUnit", "ml/hr"),
                       make<QLabel>(fraRTData, "lblVolUnit", "ml"),
                       make<QLabel>(fraRTData, "lblPresUnit", "mmHg")};
    for (int r = 0; r < 6; ++r) {
      rows[r].first->setBuddy(rows[r].second);
      g->addWidget(rows[r].first, r, 0);
      g->addWidget(rows[r].second, r, 1);
      g->addWidget(units[r], r, 2);
    }
  }

  RTGraph = lay_out(fraRTData, "RTGraph", "Real Time Rate Test", "Flow(ml/hr)");
}

void frmRTGraph::Form_Load() {
  center();
  initial_setup();
  // The poll runs from the window's load.
  GetDataTimer->start();
}

void frmRTGraph::initial_setup() {
  Session& s = app_.session();
  first_sample = true;
  // A run with the rate test begins here: no summary of it is written yet.
  s.rt_sum_written = false;
  setWindowTitle(QStringLiteral("REAL TIME DATA  -  Channel ") + toQ(s.channel_code));
  s.file_name = s.rt_data_file;
  drop_pending_input();
  setup_RTGraph();
  setup_duration();
  if (!s.rt_data_file.empty()) setWindowTitle(QStringLiteral("RATE TEST  -  ") + toQ(s.rt_data_file));
}

void frmRTGraph::setup_duration() {
  const RunChoices& c = choices();
  if (c.stop_test_after) {
    seconds_left = vb::CLng(vb::Val(c.duration_text) * 60);
    DurationTimer->setInterval(1000);
    DurationTimer->start();
  } else {
    DurationTimer->stop();
  }
  // A poll interval without a number keeps the design interval rather than polling without pause.
  const int32_t interval = vb::CLng(vb::Val(c.poll_text) * 1000);
  if (interval > 0) GetDataTimer->setInterval(interval);
}

void frmRTGraph::setup_RTGraph() {
  const std::string& set_rate = app_.session().device_record.set_rate_text;
  // A set rate without a number of its own starts the graph like no set rate.
  double base = set_rate.empty() ? 100.0 : vb::Val(set_rate);
  if (base <= 0) base = 100.0;
  RTGraph->setTextSize(0, 150);
  for (int kind = 1; kind <= 4; ++kind) RTGraph->setTextSize(kind, 100);
  RTGraph->setNumSets(2);
  RTGraph->setNumPoints(25);
  RTGraph->setYAxisMax(base * 1.5);
  RTGraph->setYAxisMin(base * 0.5);
  RTGraph->setXAxisMax(50);
  RTGraph->setLegendText(1, "Instantaneous Flow");
  RTGraph->setLegendText(2, "Average Flow");
  RTGraph->setDrawMode(GraphControl::kRedraw);
}

void frmRTGraph::GetDataTimer_Timer() {
  if (!poll_replies()) return;
  handle_samples();
}

void frmRTGraph::handle_samples() {
  // Every sample that has arrived, in order: a reply late for its poll comes with the next one.
  std::string reply;
  while (next_sample(reply, protocol::is_rate_sample)) {
    process_RTData(reply);
    display_realtime_data();
    graph_realtime_data();
    const Session& s = app_.session();
    if (choices().save_to_file && !s.rt_data_file.empty()) current_data_to_file();
  }
}

void frmRTGraph::process_RTData(std::string& reply) {
  const protocol::RateSample sample = protocol::take_rate_sample(reply);
  mode_letter = sample.mode;
  hours = sample.hours;
  minutes = sample.minutes;
  seconds = sample.seconds;
  flow = sample.flow;
  avg_flow = sample.average_flow;
  volume = sample.volume;
  back_pressure = sample.back_pressure;
}

void frmRTGraph::display_realtime_data() {
  const char* mode = "";
  if (mode_letter == 'A')
    mode = "Single Rate - Low range flow (LOW)";
  else if (mode_letter == 'B')
    mode = "Single Rate - high flow range (HI)";
  else if (mode_letter == 'C')
    mode = "Single Rate - pulsatile flow (PUL)";
  fraRTData->setTitle(QString::fromLatin1(mode));
  lblElapsedTime->setText(
      toQ(vb::Format(hours, "00") + ":" + vb::Format(minutes, "00") + ":" + vb::Format(seconds, "00")));
  lblIntFlow->setText(toQ(vb::general(flow)));
  lblAvgFlow->setText(toQ(vb::general(avg_flow)));
  lblVol->setText(toQ(vb::general(volume)));
  lblPres->setText(toQ(vb::general(back_pressure)));
}

void frmRTGraph::graph_realtime_data() {
  if (first_sample) {
    first_sample = false;
    base_flow = vb::Int(avg_flow);
    RTGraph->setYAxisMax(vb::Int(base_flow * 1.5));
    RTGraph->setYAxisMin(vb::Int(base_flow - base_flow * 0.5));
    highest_flow = 0.0;
    lowest_flow = 100.0;
  } else {
    double spread_below = 0, spread_above = 0;
    if (flow < lowest_flow) {
      lowest_flow = flow;
      spread_below = avg_flow - lowest_flow;
      const double spread = spread_below > 0 ? spread_below : 0;
      RTGraph->setYAxisMin(lowest_flow - spread > 0 ? vb::Int(lowest_flow - spread) : 0);
    }
    if (flow > highest_flow) {
      highest_flow = flow;
      spread_above = highest_flow - avg_flow;
      const double spread = spread_below > spread_above ? spread_below : spread_above;
      RTGraph->setYAxisMax(vb::Int(spread + highest_flow + 0.5));
    }
  }
  float value = 0;
  RTGraph->setThisSet(1);
  if (!to_single(flow, value)) return;
  RTGraph->setGraphData(1, value);
  RTGraph->setThisSet(2);
  if (!to_single(avg_flow, value)) return;
  RTGraph->setGraphData(1, value);
  RTGraph->setDrawMode(GraphControl::kLiveSample);
}

void frmRTGraph::current_data_to_file() {
  data_log::RateRow row{hours, minutes, seconds, flow, avg_flow, volume, back_pressure};
  (void)DataLogFiles::current_data_to_file(app_, row);
}

void frmRTGraph::close_data_file() { DataLogFiles::close_data_file(app_, data_log::LogKind::Rate); }

void frmRTGraph::create_RTsum_file() {
  GlobalComm::reset_comm_buffers(app_);
  (void)send_or_end_run(protocol::download_command(app_.session().channel_code, protocol::kDownloadSummary));
}

bool frmRTGraph::counts_down() const { return choices().stop_test_after; }

}  // namespace qtx
