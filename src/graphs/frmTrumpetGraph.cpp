#include "graphs/frmTrumpetGraph.h"

#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QVBoxLayout>
#include <algorithm>

#include "common/global_main.h"
#include "core/vb.h"
#include "graphs/frmGraph.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/graph_output.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx {

namespace {

// An element of a control array: "name(i)".
QLabel* array_label(QWidget* parent, const char* name, int i, const char* caption) {
  std::string element = std::string(name) + "(" + std::to_string(i) + ")";
  return make<QLabel>(parent, element.c_str(), caption);
}

}  // namespace

frmTrumpetGraph::frmTrumpetGraph(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("TRUMPET GRAPH  -"));

  lblSetRate = make<QLabel>(this, "lblSetRate", "Base Rate:  xx.xx ml/hr");
  lblAvgRate = make<QLabel>(this, "lblAvgRate", "Avg Rate:  xx.xx ml/hr");
  lblAvgError = make<QLabel>(this, "lblAvgError", "% Error:  xx.xx");
  lblAnalysisPeriod = make<QLabel>(this, "lblAnalysisPeriod", "Analysis Period:  xx min");
  auto* top = new QHBoxLayout;
  for (QLabel* l : {lblSetRate, lblAvgRate, lblAvgError, lblAnalysisPeriod}) top->addWidget(l, 1);
  top_line_ = top;

  TGraph = make<GraphControl>(this, "TGraph", "Trumpet graph");
  TGraph->setBottomTitle("Observation Period(minutes)");
  TGraph->setLeftTitle("Error(%)");
  TGraph->setMinimumSize(560, 300);

  // The table: a column pair (% and ml/hr) per observation window, a row of largest and one of
  // smallest errors.
  auto* table = new QGridLayout;
  Label1 = make<QLabel>(this, "Label1", "Observation Period:");
  table->addWidget(Label1, 0, 0);
  const char* heads[] = {"2", "5", "11", "19", "31"};
  QLabel** head_labels[] = {&Label2, &Label3, &Label4, &Label5, &Label6};
  for (int i = 0; i < 5; ++i) {
    const char* name[] = {"Label2", "Label3", "Label4", "Label5", "Label6"};
    *head_labels[i] = make<QLabel>(this, name[i], heads[i]);
    (*head_labels[i])->setAlignment(Qt::AlignCenter);
    table->addWidget(*head_labels[i], 0, 1 + 2 * i, 1, 2);
    const size_t u = static_cast<size_t>(i);
    Label9[u] = array_label(this, "Label9", i, "%");
    Label10[u] = array_label(this, "Label10", i, "ml/hr");
    lblMaxErrorP[u] = array_label(this, "lblMaxErrorP", i, "xx.xx");
    lblMaxErrorR[u] = array_label(this, "lblMaxErrorR", i, "xx.xx");
    lblMinErrorP[u] = array_label(this, "lblMinErrorP", i, "xx.xx");
    lblMinErrorR[u] = array_label(this, "lblMinErrorR", i, "xx.xx");
    table->addWidget(Label9[u], 1, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(Label10[u], 1, 2 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMaxErrorP[u], 2, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMaxErrorR[u], 2, 2 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMinErrorP[u], 3, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMinErrorR[u], 3, 2 + 2 * i, Qt::AlignRight);
  }
  Label7 = make<QLabel>(this, "Label7", "Max:");
  Label8 = make<QLabel>(this, "Label8", "Min:");
  table->addWidget(Label7, 2, 0);
  table->addWidget(Label8, 3, 0);
  table_ = table;
  for (QLayout* part : {top_line_, table_})
    for (int i = 0; i < part->count(); ++i)
      if (auto* l = qobject_cast<QLabel*>(part->itemAt(i)->widget())) figure_labels_.push_back(l);

  cmdScale = make<QPushButton>(this, "cmdScale", "Scale");
  GetNewData = make<QPushButton>(this, "GetNewData", "New Data");
  cmdSetRate = make<QPushButton>(this, "cmdSetRate", "Base Rate");
  cmdSave = make<QPushButton>(this, "cmdSave", "Save");
  cmdPrint = make<QPushButton>(this, "cmdPrint", "Print");
  mnuExitGraph = make<QPushButton>(this, "mnuExitGraph", "Exit");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdScale, GetNewData, cmdSetRate, cmdSave, cmdPrint, mnuExitGraph}) buttons->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(TGraph, 1);
  layout->addLayout(table);
  layout->addLayout(buttons);

  connect(cmdScale, &QPushButton::clicked, this, [this] { cmdScale_Click(); });
  connect(GetNewData, &QPushButton::clicked, this, [this] { GetNewData_Click(); });
  connect(cmdSetRate, &QPushButton::clicked, this, [this] { cmdSetRate_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
  connect(mnuExitGraph, &QPushButton::clicked, this, [this] { mnuExitGraph_Click(); });
}

void frmTrumpetGraph::Form_Load() {
  // The settings come first. The window is not shown yet, so the dialog closes onto the log
  // graph; this window's own activation follows its first showing.
  app_.forms().get<frmTrumpSet>().ShowModal(app_.forms().loaded<frmGraph>());
  if (app_.session().trumpet_ok) GlobalMain::center_form(*this);
}

void frmTrumpetGraph::Form_Activate() {
  // Hiding the log graph can activate this window again: that activation is this one.
  if (activating_) return;
  activating_ = true;
  if (frmGraph* log_graph = app_.forms().loaded<frmGraph>()) log_graph->Hide();
  TGraph->setDrawMode(GraphControl::kClear);
  if (!app_.session().trumpet_ok) {
    // The first settings were cancelled: back to the log graph.
    Unload();
    show_log_graph();
  } else {
    update_trumpet_title();
    graph_trumpet();
    update_summary_data();
  }
  activating_ = false;
}

bool frmTrumpetGraph::Form_QueryUnload(UnloadMode mode) {
  // The close box leaves as Exit does, so the hidden log graph comes back.
  if (mode == UnloadMode::FormControlMenu) show_log_graph();
  return false;
}

void frmTrumpetGraph::show_log_graph() {
  // The log graph opened this window and stays loaded, hidden, while it is open.
  if (frmGraph* log_graph = app_.forms().loaded<frmGraph>()) {
    log_graph->Show();
    log_graph->update_graph_info();
  }
}

void frmTrumpetGraph::graph_trumpet() {
  double interval = interp_interval;
  getInterpolatedData(interval);
  calcTrumpetError(interval);
  generateTrumpetGraph();
}

void frmTrumpetGraph::getInterpolatedData(double interval) {
  const Session& s = app_.session();
  trumpet::getInterpolatedData(s.log_samples, s.analysis_start_min, s.analysis_end_min, interval, work);
}

void frmTrumpetGraph::calcTrumpetError(double interval) {
  Session& s = app_.session();
  trumpet::calcTrumpetError(s.log_samples, s.base_rate, interval, work, s.trumpet_results);
}

void frmTrumpetGraph::generateTrumpetGraph() {
  Session& s = app_.session();
  TGraph->setYAxisMax(15 * s.trumpet_scale);
  TGraph->setYAxisMin(-15 * s.trumpet_scale);
  TGraph->setXAxisMax(32);
  TGraph->setXAxisMin(0);
  TGraph->setNumSets(3);
  TGraph->setNumPoints(5);
  TGraph->setTextSize(0, 150);
  for (int kind = 1; kind <= 4; ++kind) TGraph->setTextSize(kind, 100);

  TGraph->setThisSet(1);
  for (int i = 1; i <= 5; ++i) {
    TGraph->setNextData(s.trumpet_results[static_cast<size_t>(i)].max_err_pct);
    TGraph->setXPosData(i, s.trumpet_results[static_cast<size_t>(i)].window);
  }
  TGraph->setThisSet(2);
  for (int i = 1; i <= 5; ++i) {
    TGraph->setNextData(s.trumpet_results[static_cast<size_t>(i)].min_err_pct);
    TGraph->setXPosData(i, s.trumpet_results[static_cast<size_t>(i)].window);
  }
  trumpet::TrumpetAverages avg = trumpet::trumpet_averages(s.log_samples, s.base_rate);
  s.trumpet_avg_rate = avg.avg_rate;
  s.trumpet_avg_err_pct = avg.avg_err_pct;
  TGraph->setThisSet(3);
  for (int i = 1; i <= 5; ++i) {
    TGraph->setNextData(static_cast<float>(s.trumpet_avg_err_pct));
    TGraph->setXPosData(i, s.trumpet_results[static_cast<size_t>(i)].window);
  }
  app_.ui().setMousePointer(this, MousePointer::Default);
  TGraph->setDrawMode(GraphControl::kRedraw);
}

void frmTrumpetGraph::update_trumpet_title() {
  // The log's name as the log graph keeps it: the file system's encoding and letter case.
  const frmGraph* log_graph = app_.forms().loaded<frmGraph>();
  const std::string name = log_graph ? log_graph->graph_file_name : std::string();
  setWindowTitle(QStringLiteral("TRUMPET GRAPH - [") + pathToQ(name) + QStringLiteral(" ]"));
}

void frmTrumpetGraph::update_summary_data() {
  const Session& s = app_.session();
  for (size_t i = 0; i < 5; ++i) {
    const TrumpetResult& r = s.trumpet_results[i + 1];
    lblMaxErrorP[i]->setText(toQ(vb::Format(r.max_err_pct, "0.00")));
    lblMaxErrorR[i]->setText(toQ(vb::Format(r.max_err_rate, "0.00")));
    lblMinErrorP[i]->setText(toQ(vb::Format(r.min_err_pct, "0.00")));
    lblMinErrorR[i]->setText(toQ(vb::Format(r.min_err_rate, "0.00")));
  }
  lblSetRate->setText(toQ("Base Rate:  " + vb::general(s.base_rate) + " ml/hr"));
  lblAvgRate->setText(toQ("Avg Rate:  " + vb::general(s.trumpet_avg_rate) + " ml/hr"));
  lblAvgError->setText(toQ("% Error:  " + vb::FormatNumber(s.trumpet_avg_err_pct, 3)));
  lblAnalysisPeriod->setText(toQ("Analysis Period:  " + vb::to_text(s.analysis_end_min - s.analysis_start_min) +
                                 " min  -  From " + vb::to_text(s.analysis_start_min) + " to " +
                                 vb::to_text(s.analysis_end_min) + " min"));
  fit_figures();
}

void frmTrumpetGraph::fit_figures() {
  // The figures grow with the errors, and a base rate far from the log's rates (0.0001 ml/h,
  // say) makes them long. The window widens so that none of them is cut off, but not past the
  // main window, where its buttons could no longer be reached: there the figures are drawn
  // smaller instead, for as long as they are what makes the window too wide.
  constexpr double kSmallestPoints = 4;
  QWidget& f = frame();
  const int decoration = f.width() - width();
  auto needed = [&] {
    // The nested layouts keep their old measures otherwise.
    top_line_->invalidate();
    table_->invalidate();
    layout()->invalidate();
    return layout()->minimumSize().width() + decoration;
  };
  for (QLabel* l : figure_labels_) l->setFont(QFont());
  int need = needed();
  const QMdiArea* area = app_.forms().mdiArea();
  const int room = area ? area->viewport()->width() : need;
  double points = QFontInfo(font()).pointSizeF();
  while (need > room && points > kSmallestPoints) {
    points = std::max(kSmallestPoints, points - 0.5);
    QFont smaller = font();
    smaller.setPointSizeF(points);
    for (QLabel* l : figure_labels_) l->setFont(smaller);
    const int was = need;
    need = needed();
    if (need >= was) break;  // something else sets the width
  }
  if (f.width() < need) f.resize(need, f.height());
  // A window widened past the main window's right edge moves back into it.
  if (area && f.x() + f.width() > room) f.move(std::max(0, room - f.width()), f.y());
}

void frmTrumpetGraph::cmdScale_Click() {
  Session& s = app_.session();
  s.trumpet_scale = static_cast<int16_t>(s.trumpet_scale >= 4 || s.trumpet_scale < 1 ? 1 : s.trumpet_scale + 1);
  TGraph->setYAxisMax(15 * s.trumpet_scale);
  TGraph->setYAxisMin(-15 * s.trumpet_scale);
  graph_trumpet();
  Show();
}

void frmTrumpetGraph::GetNewData_Click() {
  // Closing the dialog activates this window again, which recomputes it.
  app_.forms().get<frmTrumpSet>().ShowModal(this);
}

void frmTrumpetGraph::cmdSetRate_Click() {
  // Closing the dialog activates this window again, which recomputes it whole.
  app_.forms().get<frmSetRate>().ShowModal(this);
  Session& s = app_.session();
  if (s.rate_updated) {
    graph_trumpet();
    s.rate_updated = false;
  }
}

void frmTrumpetGraph::cmdSave_Click() {
  graph_output::save_graph_image(app_, *TGraph,
                                 {"Bad Trumpet Graph File Name Suffix", "Error in trumpet graph file name",
                                  "Trumpet graph save cancelled"});
}

void frmTrumpetGraph::cmdPrint_Click() {
  const Session& s = app_.session();
  graph_printout::TrumpetFigures f;
  f.date = graph_output::page_date(app_);
  f.base_rate = s.base_rate;
  f.avg_rate = s.trumpet_avg_rate;
  f.avg_err_pct = s.trumpet_avg_err_pct;
  f.calc_window = s.trumpet_settings.calc_window;
  f.start_min = s.analysis_start_min;
  f.end_min = s.analysis_end_min;
  f.interp_interval = interp_interval;
  f.too_few_points = work.too_few_points;
  if (const frmGraph* log_graph = app_.forms().loaded<frmGraph>()) f.file_name = log_graph->graph_file_name;
  f.results = s.trumpet_results;
  graph_output::print_graph_page(app_, *TGraph, graph_printout::trumpet_page(f), 4);
}

void frmTrumpetGraph::mnuExitGraph_Click() {
  show_log_graph();
  Unload();
}

}  // namespace qtx
