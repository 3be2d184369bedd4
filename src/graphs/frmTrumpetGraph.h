// The trumpet window "TRUMPET GRAPH": the trumpet analysis of the log open in the log graph
// window, as a graph of the largest, smallest and average error against the observation window,
// a table of the five windows' errors and a line of figures. It hides the log graph while open.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>
#include <vector>

#include "core/trumpet.h"
#include "platform/forms.h"
#include "platform/graph_control.h"

namespace qtx {

class frmTrumpetGraph : public Form<QWidget> {
  Q_OBJECT

 public:
  explicit frmTrumpetGraph(App& app);
  bool isMdiChild() const override { return true; }

  void Form_Load() override;
  void Form_Activate() override;
  bool Form_QueryUnload(UnloadMode mode) override;

  // The calculation: resampling, window errors, then the graph.
  void graph_trumpet();
  void getInterpolatedData(double interval);
  void calcTrumpetError(double interval);
  void generateTrumpetGraph();
  void update_trumpet_title();
  void update_summary_data();

  void cmdScale_Click();
  void GetNewData_Click();
  void cmdSetRate_Click();
  void cmdSave_Click();
  void cmdPrint_Click();
  void mnuExitGraph_Click();

  // Seconds between resampled points, 30 or 60; written by the settings dialog.
  int interp_interval = 60;
  // sample_time, interp_volume, interp_count, too_few_points, max_rate, min_rate.
  trumpet::TrumpetWork work;

  QLabel* lblSetRate = nullptr;
  QLabel* lblAvgRate = nullptr;
  QLabel* lblAvgError = nullptr;
  QLabel* lblAnalysisPeriod = nullptr;
  GraphControl* TGraph = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  std::array<QLabel*, 5> Label9{};
  std::array<QLabel*, 5> Label10{};
  std::array<QLabel*, 5> lblMaxErrorP{};
  std::array<QLabel*, 5> lblMaxErrorR{};
  std::array<QLabel*, 5> lblMinErrorP{};
  std::array<QLabel*, 5> lblMinErrorR{};
  QPushButton* cmdScale = nullptr;
  QPushButton* GetNewData = nullptr;
  QPushButton* cmdSetRate = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* mnuExitGraph = nullptr;

 private:
  // The log graph window comes back, with its figures refreshed.
  void show_log_graph();
  // Widens the window to hold its figures, drawing them smaller where the main window has no
  // room for them at their size.
  void fit_figures();

  bool activating_ = false;
  QLayout* top_line_ = nullptr;
  QLayout* table_ = nullptr;
  std::vector<QLabel*> figure_labels_;  // the top line and the table
};

}  // namespace qtx
