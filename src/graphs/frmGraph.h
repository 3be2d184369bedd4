// The log graph window "DATA LOG GRAPH": plots a saved single-rate data log as flow, average
// flow and volume against elapsed minutes, shows the log's totals, pages and widens a time
// window of 10 to 60 minutes, steps the flow axis between the fitted range and three ranges
// about the base rate, and leads on to the trumpet analysis and the base-rate dialog.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <functional>
#include <optional>
#include <string>

#include "core/log_reader.h"
#include "platform/forms.h"
#include "platform/graph_control.h"

namespace qtx {

class frmGraph : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmGraph(App& app);
  bool isMdiChild() const override { return true; }
  QSize sizeHint() const override { return QSize(860, 600); }

  void Form_Load() override;

  // The window's procedures.
  void display_graph_dialog();
  void enable_options();
  void exit_graph();
  void graph_data2();
  void graph_data3();
  void graph_data4();
  void update_graph_info();
  void volume_toggle();
  // The two reading passes over file_name; a log the second pass accepts becomes the loaded
  // log (log_samples and the read results). A log that is refused or fails leaves the loaded
  // one as it was.
  void get_num_graph_records();
  void get_graph_data();

  void mnuOpen_Click();
  void mnuBMP_Click();         // saving the graph as an image
  void mnuTrumpetGraph_Click();
  void mnuPrintGraph_Click();  // the printed graph page
  void mnuExitGraph_Click();
  void mnuGraphHelp_Click();   // the graph help window
  void mnuAbout_Click();
  void cmdFlow_Click();
  void cmdVolume_Click();
  void cmdNormal_Click();
  void cmdSetRate_Click();
  void cmdIncreaseFlowScale_Click();
  void cmdTimeLeft_Click();
  void cmdTimeRight_Click();
  void cmdScaleLeft_Click();
  void cmdScaleRight_Click();
  void cmdGraph_Exit_Click();

  // Opens the trumpet window on a log long enough for it.
  void show_trumpet_graph();

  // State of the window.
  std::string graph_file_name;  // the log shown
  bool flow_shown = false;
  int flow_scale_mode = 1;  // the next step of Change Scale, 0-3
  bool plot_failed = false;
  int window_width = 10;  // minutes
  int window_index = 1;   // 1-6 with the width
  log_reader::RefusedKinds refused_kinds;
  bool graph_log_ok = false;
  bool graph_data_ready = false;

  QMenuBar* menuBar = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuOpen = nullptr;
  QAction* mnuBMP = nullptr;
  QAction* mnuTrumpetGraph = nullptr;
  QAction* mnuPrintGraph = nullptr;
  QAction* mnuExitGraph = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuGraphHelp = nullptr;
  QAction* mnuAbout = nullptr;
  QPushButton* cmdFlow = nullptr;
  QPushButton* cmdVolume = nullptr;
  QPushButton* cmdNormal = nullptr;
  QPushButton* cmdSetRate = nullptr;
  QPushButton* cmdIncreaseFlowScale = nullptr;
  QPushButton* cmdTimeLeft = nullptr;
  QPushButton* cmdTimeRight = nullptr;
  QPushButton* cmdScaleLeft = nullptr;
  QPushButton* cmdScaleRight = nullptr;
  QPushButton* cmdGraph_Exit = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lblFlowTitle = nullptr;
  QLabel* lblFlow = nullptr;
  QLabel* lblSetRate = nullptr;
  QLabel* lblNoPoints = nullptr;
  QLabel* lblTotalTime = nullptr;
  QLabel* lblAvgFlow = nullptr;
  QLabel* lblMinFlow = nullptr;
  QLabel* lblMaxFlow = nullptr;
  GraphControl* DGraph = nullptr;

 private:
  void set_pointer(QWidget* window, bool hourglass);
  // Step 3 of a full plot: text sizes, the flow set, its label, one draw.
  void finish_plot();
  // The three sets plotted, the view set_view chooses, then finish_plot; a plot the control
  // cannot hold is told to the user and marks plot_failed.
  void plot_log(const std::function<void()>& set_view);
  // After each time-window button: the visible points, the redraw and the paging buttons.
  void show_time_window();
  void show_notice(log_reader::Notice notice);

  // The log between the two passes, and what the first pass counted.
  std::optional<std::string> log_text_;
  int16_t counted_last_index_ = -1;
};

}  // namespace qtx
