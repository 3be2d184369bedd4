#include "graphs/frmTrumpetGraph.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "core/vb.h"
#include "graphs/frmTrumpSet.h"
#include "platform/app.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "shell/global_main.h"

namespace qtx {

namespace {

template <class W>
W* control(QWidget* parent, const QString& name, const char* caption) {
  auto* w = new W(QString::fromLatin1(caption), parent);
  w->setObjectName(name);
  return w;
}
template <class W>
W* control(QWidget* parent, const char* name, const char* caption) {
  return control<W>(parent, QString::fromLatin1(name), caption);
}

QString indexed(const char* name, int i) { return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(i); }

constexpr const char* kLogGraph = "frmGraph";

}  // namespace

frmTrumpetGraph::frmTrumpetGraph(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("TRUMPET GRAPH  -"));

  lblSetRate = control<QLabel>(this, "lblSetRate", "Base Rate:  xx.xx ml/hr");
  lblAvgRate = control<QLabel>(this, "lblAvgRate", "Avg Rate:  xx.xx ml/hr");
  lblAvgError = control<QLabel>(this, "lblAvgError", "% Error:  xx.xx");
  lblAnalysisPeriod = control<QLabel>(this, "lblAnalysisPeriod", "Analysis Period:  xx min");
  auto* top = new QHBoxLayout;
  for (QLabel* l : {lblSetRate, lblAvgRate, lblAvgError, lblAnalysisPeriod}) top->addWidget(l, 1);

  TGraph = new GraphControl(this);
  TGraph->setObjectName(QStringLiteral("TGraph"));
  TGraph->setAccessibleName(QStringLiteral("Trumpet graph"));
  TGraph->setBottomTitle("Observation Period(minutes)");
  TGraph->setLeftTitle("Error(%)");
  TGraph->setMinimumSize(560, 300);

  // The table: a column pair (% and ml/hr) per observation window, a row of largest and one of
  // smallest errors.
  auto* table = new QGridLayout;
  Label1 = control<QLabel>(this, "Label1", "Observation Period:");
  table->addWidget(Label1, 0, 0);
  const char* heads[] = {"2", "5", "11", "19", "31"};
  QLabel** head_labels[] = {&Label2, &Label3, &Label4, &Label5, &Label6};
  for (int i = 0; i < 5; ++i) {
    const char* name[] = {"Label2", "Label3", "Label4", "Label5", "Label6"};
    *head_labels[i] = control<QLabel>(this, name[i], heads[i]);
    (*head_labels[i])->setAlignment(Qt::AlignCenter);
    table->addWidget(*head_labels[i], 0, 1 + 2 * i, 1, 2);
    const size_t u = static_cast<size_t>(i);
    Label9[u] = control<QLabel>(this, indexed("Label9", i), "%");
    Label10[u] = control<QLabel>(this, indexed("Label10", i), "ml/hr");
    lblMaxErrorP[u] = control<QLabel>(this, indexed("lblMaxErrorP", i), "xx.xx");
    lblMaxErrorR[u] = control<QLabel>(this, indexed("lblMaxErrorR", i), "xx.xx");
    lblMinErrorP[u] = control<QLabel>(this, indexed("lblMinErrorP", i), "xx.xx");
    lblMinErrorR[u] = control<QLabel>(this, indexed("lblMinErrorR", i), "xx.xx");
    table->addWidget(Label9[u], 1, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(Label10[u], 1, 2 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMaxErrorP[u], 2, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMaxErrorR[u], 2, 2 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMinErrorP[u], 3, 1 + 2 * i, Qt::AlignRight);
    table->addWidget(lblMinErrorR[u], 3, 2 + 2 * i, Qt::AlignRight);
  }
  Label7 = control<QLabel>(this, "Label7", "Max:");
  Label8 = control<QLabel>(this, "Label8", "Min:");
  table->addWidget(Label7, 2, 0);
  table->addWidget(Label8, 3, 0);

  cmdScale = control<QPushButton>(this, "cmdScale", "Scale");
  GetNewData = control<QPushButton>(this, "GetNewData", "New Data");
  cmdSetRate = control<QPushButton>(this, "cmdSetRate", "Base Rate");
  cmdSave = control<QPushButton>(this, "cmdSave", "Save");
  cmdPrint = control<QPushButton>(this, "cmdPrint", "Print");
  mnuExitGraph = control<QPushButton>(this, "mnuExitGraph", "Exit");
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
  // The settings come first; the window's own activation follows its first showing.
  loading_ = true;
  app_.forms().get<frmTrumpSet>().ShowModal(this);
  loading_ = false;
  if (app_.session().trumpet_ok) GlobalMain::center_form(*this);
  // Coming back to the window in the main window's area activates it.
  if (QMdiArea* area = app_.forms().mdiArea()) {
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
      if (w && w == &frame()) Form_Activate();
    });
  }
}

void frmTrumpetGraph::Form_Activate() {
  // Hiding the log graph can activate this window again: that activation is this one.
  if (loading_ || activating_) return;
  activating_ = true;
  if (FormBase* log_graph = app_.forms().find(kLogGraph)) log_graph->Hide();
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
  if (FormBase* log_graph = app_.forms().find(kLogGraph)) log_graph->Show();
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
  // The log's name as the log graph keeps it; a path keeps the file system's encoding.
  const std::string& name = app_.session().file_name;
  setWindowTitle(QStringLiteral("TRUMPET GRAPH - [") + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toLower() +
                 QStringLiteral(" ]"));
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

void frmTrumpetGraph::cmdSetRate_Click() {}

void frmTrumpetGraph::cmdSave_Click() {}

void frmTrumpetGraph::cmdPrint_Click() {}

void frmTrumpetGraph::mnuExitGraph_Click() {
  show_log_graph();
  Unload();
}

}  // namespace qtx
