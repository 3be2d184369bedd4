// The rate-test window "RATE TEST": runs the single-rate flow test on one channel. Each poll
// asks the analyser for the current sample, shows it, plots the instantaneous and the average
// flow and appends a row to the rate log; a countdown ends the test after the chosen length.
// Stop and Cancel hand over to the test sequence, and after the test the window captures the
// analyser's summary.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdint>
#include <string>

#include "acquisition/live_test_window.h"
#include "platform/graph_control.h"

namespace qtx {

class frmRTGraph : public LiveTestWindow {
  Q_OBJECT

 public:
  explicit frmRTGraph(App& app);

  void Form_Load() override;

  // The end of the test: the log's closing lines, then the log is closed.
  void close_data_file();
  // One row of the current sample in the rate log.
  void current_data_to_file();
  void display_realtime_data();
  void graph_realtime_data();
  void initial_setup();
  // The countdown and the poll interval from the download dialog.
  void setup_duration();
  // Asks the analyser for the summary of the test (the capture itself runs in GetSumTimer).
  void create_RTsum_file();
  void setup_RTGraph();
  // Takes the eight fields of a rate sample off the reply.
  void process_RTData(std::string& reply);

  void GetDataTimer_Timer() override;
  // Every sample record the port has delivered: shown, plotted and logged, in order.
  void handle_samples() override;

  // The last sample.
  char mode_letter = ' ';
  int16_t hours = 0, minutes = 0, seconds = 0;
  double flow = 0, avg_flow = 0, volume = 0, back_pressure = 0;
  bool first_sample = false;
  double base_flow = 0;
  double lowest_flow = 0, highest_flow = 0;

  QGroupBox* fraRTData = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblElapsedTime = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lblIntFlow = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* lblAvgFlow = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* lblVol = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* lblPres = nullptr;
  GraphControl* RTGraph = nullptr;

 protected:
  // The countdown counts with "Stop Test After".
  bool counts_down() const override;
};

}  // namespace qtx
