#include "acquisition/frmOTGraph.h"

#include <QGridLayout>

#include "acquisition/data_log_files.h"
#include "common/global_comm.h"
#include "core/protocol.h"
#include "core/vb.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"

namespace qtx {

frmOTGraph::frmOTGraph(App& app) : LiveTestWindow(app, summary_capture::Kind::Occlusion) {
  setWindowTitle(QStringLiteral("OCCLUSION TEST"));

  Frame1 = make<QGroupBox>(this, "Frame1", "Occlusion Test");
  Label1 = make<QLabel>(Frame1, "Label1", "Elapsed Time:");
  lblElapsedTime = make<QLabel>(Frame1, "lblElapsedTime", "__:__");
  Label2 = make<QLabel>(Frame1, "Label2", " (mm:ss) ");
  Label3 = make<QLabel>(Frame1, "Label3", " Time Left: ");
  lblTimeLeft = make<QLabel>(Frame1, "lblTimeLeft", "");
  Label4 = make<QLabel>(Frame1, "Label4", " (hh:mm:ss) ");
  Label5 = make<QLabel>(Frame1, "Label5", "Pressure:");
  lblPSI = make<QLabel>(Frame1, "lblPSI", "__._");
  Label6 = make<QLabel>(Frame1, "Label6", "(PSI)");
  lblmmHg = make<QLabel>(Frame1, "lblmmHg", " __.__ ");
  Label8 = make<QLabel>(Frame1, "Label8", "(mmHg)");
  lblkPa = make<QLabel>(Frame1, "lblkPa", "__.__");
  Label11 = make<QLabel>(Frame1, "Label11", "(kPa)");
  Label1->setBuddy(lblElapsedTime);
  Label3->setBuddy(lblTimeLeft);
  Label5->setBuddy(lblPSI);
  {
    auto* g = new QGridLayout(Frame1);
    g->addWidget(Label1, 0, 0);
    g->addWidget(lblElapsedTime, 0, 1);
    g->addWidget(Label2, 0, 2);
    g->addWidget(Label3, 1, 0);
    g->addWidget(lblTimeLeft, 1, 1);
    g->addWidget(Label4, 1, 2);
    g->addWidget(Label5, 2, 0);
    g->addWidget(lblPSI, 2, 1);
    g->addWidget(Label6, 2, 2);
    g->addWidget(lblmmHg, 3, 1);
    g->addWidget(Label8, 3, 2);
    g->addWidget(lblkPa, 4, 1);
    g->addWidget(Label11, 4, 2);
  }

  OTGraph = lay_out(Frame1, "OTGraph", "Real Time Occlusion Test", "Pressure(PSI)");
}

void frmOTGraph::Form_Load() {
  center();
  initial_setup();
  // The poll and the countdown run from the window's load.
  GetDataTimer->start();
  DurationTimer->start();
}

void frmOTGraph::initial_setup() {
  Session& s = app_.session();
  // The occlusion test of the run begins here: no summary of it is written yet.
  s.ot_sum_written = false;
  drop_pending_input();
  setup_OTGraph();
  seconds_left = vb::CLng(vb::Val(choices().occlusion_time_text) * 60);
  if (!s.ot_data_file.empty()) setWindowTitle(QStringLiteral("OCCLUSION TEST  -  ") + toQ(s.ot_data_file));
}

void frmOTGraph::setup_OTGraph() {
  const PressureUnit unit = choices().pressure_unit;
  OTGraph->setTextSize(0, 150);
  for (int kind = 1; kind <= 4; ++kind) OTGraph->setTextSize(kind, 100);
  if (unit == PressureUnit::MmHg) {
    OTGraph->setLeftTitle("Pressure(mmHg)");
    OTGraph->setYAxisMax(800);
  } else if (unit == PressureUnit::Psi) {
    OTGraph->setLeftTitle("Pressure(PSI)");
    OTGraph->setYAxisMax(15);
  } else if (unit == PressureUnit::Kpa) {
    OTGraph->setLeftTitle("Pressure(kPa)");
    OTGraph->setYAxisMax(100);
  }
  OTGraph->setNumSets(1);
  OTGraph->setNumPoints(25);
  OTGraph->setYAxisMin(0);
  OTGraph->setXAxisMax(50);
  first_sample = true;
  OTGraph->setDrawMode(GraphControl::kRedraw);
}

void frmOTGraph::GetDataTimer_Timer() {
  if (!poll_replies()) return;
  handle_samples();
}

void frmOTGraph::handle_samples() {
  // Every sample that has arrived, in order: a reply late for its poll comes with the next one.
  std::string reply;
  while (next_sample(reply, protocol::is_occl_sample)) {
    process_OTData(reply);
    display_realtime_data();
    graph_realtime_data();
    if (choices().save_to_file) write_current_data();
  }
}

void frmOTGraph::process_OTData(std::string& reply) {
  const protocol::OcclSample sample = protocol::take_occl_sample(reply);
  status = vb::Trim(sample.status);
  minutes = sample.minutes;
  seconds = sample.seconds;
  psi = sample.psi;
  mmhg = sample.mmhg;
  kpa = kpa_of(mmhg);
}

void frmOTGraph::display_realtime_data() {
  lblElapsedTime->setText(toQ(vb::Format(minutes, "00") + ":" + vb::Format(seconds, "00")));
  lblPSI->setText(toQ(vb::general(psi)));
  lblmmHg->setText(toQ(vb::general(mmhg)));
  lblkPa->setText(toQ(vb::general(kpa_of(mmhg))));
}

void frmOTGraph::graph_realtime_data() {
  const PressureUnit unit = choices().pressure_unit;
  double v = 0;
  double* lowest = nullptr;
  double* highest = nullptr;
  if (unit == PressureUnit::Psi) {
    v = psi, lowest = &lowest_psi, highest = &highest_psi;
  } else if (unit == PressureUnit::MmHg) {
    v = mmhg, lowest = &lowest_mmhg, highest = &highest_mmhg;
  } else if (unit == PressureUnit::Kpa) {
    v = kpa, lowest = &lowest_kpa, highest = &highest_kpa;
  }
  OTGraph->setThisSet(1);
  if (lowest) {
    float value = 0;
    if (!to_single(v, value)) return;
    OTGraph->setGraphData(1, value);
    if (first_sample) {
      first_sample = false;
      if (v >= 1.0) {
        OTGraph->setYAxisMin(vb::Int(v * 0.5));
        OTGraph->setYAxisMax(vb::Int(v * 1.5));
      } else {
        OTGraph->setYAxisMin(0);
        OTGraph->setYAxisMax(1);
      }
      lowest_psi = highest_psi = psi;
      lowest_mmhg = highest_mmhg = mmhg;
      lowest_kpa = highest_kpa = kpa;
    } else {
      if (v < *lowest) {
        *lowest = v;
        OTGraph->setYAxisMin(vb::Int(v));
      }
      if (v > *highest) {
        *highest = v;
        OTGraph->setYAxisMax(vb::Int(v + 1.0));
      }
    }
  }
  OTGraph->setDrawMode(GraphControl::kLiveSample);
}

void frmOTGraph::write_current_data() {
  data_log::OcclRow row{minutes, seconds, psi, mmhg};
  (void)DataLogFiles::write_current_data(app_, row);
}

void frmOTGraph::create_OTsum_file() {
  GlobalComm::reset_comm_buffers(app_);
  (void)send_or_end_run(protocol::download_command(app_.session().channel_code, protocol::kDownloadSummary));
}

void frmOTGraph::close_data_file() { DataLogFiles::close_data_file(app_, data_log::LogKind::Occlusion); }

bool frmOTGraph::counts_down() const { return choices().occlusion_test; }

}  // namespace qtx
