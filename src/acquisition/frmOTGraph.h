// The occlusion-test window "OCCLUSION TEST": runs the occlusion pressure test on one channel.
// It polls the analyser once a second, shows the elapsed time and the pressure in psi, mmHg and
// kPa, plots the pressure in the unit chosen in the download dialog, appends a row to the
// occlusion log and counts down the maximum test time from its load. Stop and Cancel hand over
// to the test sequence, and after the test the window captures the analyser's summary.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdint>
#include <string>

#include "acquisition/live_test_window.h"
#include "platform/graph_control.h"

namespace qtx {

class frmOTGraph : public LiveTestWindow {
  Q_OBJECT

 public:
  explicit frmOTGraph(App& app);

  void Form_Load() override;

  void display_realtime_data();
  void graph_realtime_data();
  void initial_setup();
  void setup_OTGraph();
  // One row of the current sample in the occlusion log.
  void write_current_data();
  // Asks the analyser for the summary of the test (the capture itself runs in GetSumTimer).
  void create_OTsum_file();
  // The end of the test: the log's closing lines, then the log is closed.
  void close_data_file();
  // Takes the five fields of an occlusion sample off the reply.
  void process_OTData(std::string& reply);

  void GetDataTimer_Timer() override;
  // Every sample record the port has delivered: shown, plotted and logged, in order.
  void handle_samples() override;

  // kPa from mmHg.
  static double kpa_of(double mmhg) { return mmhg / 7.51; }

  // The last sample.
  std::string status;
  int16_t minutes = 0, seconds = 0;
  double psi = 0, mmhg = 0, kpa = 0;
  bool first_sample = false;
  double lowest_psi = 0, highest_psi = 0, lowest_mmhg = 0, highest_mmhg = 0, lowest_kpa = 0, highest_kpa = 0;

  QGroupBox* Frame1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblElapsedTime = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* lblPSI = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* lblmmHg = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* lblkPa = nullptr;
  QLabel* Label11 = nullptr;
  GraphControl* OTGraph = nullptr;

 protected:
  // The countdown counts while "Occlusion Test" was ticked.
  bool counts_down() const override;
};

}  // namespace qtx
