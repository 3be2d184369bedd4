#include "graphs/frmGraph.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <limits>

#include "common/frmAbout.h"
#include "common/global_save_open.h"
#include "core/vb.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpetGraph.h"
#include "graphs/graph_output.h"
#include "help/frmQTXGHelp.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx {

namespace {

constexpr const char* kGraphFilter = "Log Files (*.log)| *.log|Data files (*.dat) | *.dat|All files (*.*) | *.*";
constexpr const char* kFittedTitle = "Average Flow, Centered, Fitted";
constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 60;

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* description = nullptr) {
  auto* b = make<QPushButton>(parent, name, caption);
  b->setAutoDefault(false);
  if (description) b->setAccessibleDescription(QString::fromLatin1(description));
  return b;
}

bool reads(const QPushButton* b, const char* caption) { return b->text() == QLatin1String(caption); }

}  // namespace

frmGraph::frmGraph(App& app) : Form<QWidget>(app) {
  setWindowTitle(QStringLiteral("DATA LOG GRAPH"));

  menuBar = make<QMenuBar>(this, "menuBar");
  mnuFile = menu(menuBar, "mnuFile", "&File");
  mnuOpen = menu_item(mnuFile, "mnuOpen", "&Open");
  menu_separator(mnuFile, "sep1");
  mnuBMP = menu_item(mnuFile, "mnuBMP", "Save Graph as &Image");
  mnuTrumpetGraph = menu_item(mnuFile, "mnuTrumpetGraph", "&Trumpet Graph");
  mnuPrintGraph = menu_item(mnuFile, "mnuPrintGraph", "&Print Screen");
  menu_separator(mnuFile, "sep2");
  mnuExitGraph = menu_item(mnuFile, "mnuExitGraph", "E&xit Graph");
  mnuHelp = menu(menuBar, "mnuHelp", "&Help");
  mnuGraphHelp = menu_item(mnuHelp, "mnuGraphHelp", "&Graph Help");
  mnuAbout = menu_item(mnuHelp, "mnuAbout", "&About");

  cmdFlow = button(this, "cmdFlow", "Flow On");
  cmdVolume = button(this, "cmdVolume", "Vol On");
  cmdNormal = button(this, "cmdNormal", "Defaults");
  cmdSetRate = button(this, "cmdSetRate", "Base Rate");
  cmdIncreaseFlowScale = button(this, "cmdIncreaseFlowScale", "Change Scale");
  cmdTimeLeft = button(this, "cmdTimeLeft", ">", "Page to the later time window");
  cmdTimeRight = button(this, "cmdTimeRight", "<", "Page to the earlier time window");
  cmdScaleLeft = button(this, "cmdScaleLeft", ">", "Widen the time window by 10 minutes");
  cmdScaleRight = button(this, "cmdScaleRight", "<", "Narrow the time window by 10 minutes");
  cmdGraph_Exit = button(this, "cmdGraph_Exit", "Exit");

  Label1 = make<QLabel>(this, "Label1", "    Time:                    Window");
  Label3 = make<QLabel>(this, "Label3", "Scale");
  lblFlowTitle = make<QLabel>(this, "lblFlowTitle", "  Average Flow, Centred, Fitted");
  lblFlow = make<QLabel>(this, "lblFlow", "Flow Rate (ml/hr):");
  lblSetRate = make<QLabel>(this, "lblSetRate", "");
  lblNoPoints = make<QLabel>(this, "lblNoPoints", "No. Pts:");
  lblTotalTime = make<QLabel>(this, "lblTotalTime", "Total Time:");
  lblAvgFlow = make<QLabel>(this, "lblAvgFlow", "Avg:");
  lblMinFlow = make<QLabel>(this, "lblMinFlow", "Min:");
  lblMaxFlow = make<QLabel>(this, "lblMaxFlow", "Max:  ");

  DGraph = make<GraphControl>(this, "DGraph");
  DGraph->setBottomTitle("Time (minutes)");
  DGraph->setLeftTitle("Flow (ml/hr)");
  DGraph->setMinimumSize(480, 360);

  // The graph with the totals under it; the buttons to the right.
  auto* totals = new QHBoxLayout;
  for (QLabel* l : {lblNoPoints, lblTotalTime, lblAvgFlow, lblMinFlow, lblMaxFlow}) totals->addWidget(l, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(DGraph, 1);
  left->addLayout(totals);

  auto* side = new QGridLayout;
  int row = 0;
  side->addWidget(cmdFlow, row, 0);
  side->addWidget(cmdVolume, row++, 1);
  side->addWidget(cmdNormal, row, 0);
  side->addWidget(cmdSetRate, row++, 1);
  side->addWidget(lblFlow, row++, 0, 1, 2);
  side->addWidget(lblSetRate, row++, 0, 1, 2);
  side->addWidget(lblFlowTitle, row++, 0, 1, 2);
  side->addWidget(cmdIncreaseFlowScale, row++, 0, 1, 2);
  side->addWidget(Label1, row++, 0, 1, 2);
  side->addWidget(cmdTimeRight, row, 0);
  side->addWidget(cmdTimeLeft, row++, 1);
  side->addWidget(Label3, row++, 0, 1, 2);
  side->addWidget(cmdScaleRight, row, 0);
  side->addWidget(cmdScaleLeft, row++, 1);
  side->setRowStretch(row++, 1);
  side->addWidget(cmdGraph_Exit, row++, 0, 1, 2);

  auto* outer = new QHBoxLayout(this);
  outer->setMenuBar(menuBar);
  outer->addLayout(left, 1);
  outer->addLayout(side);

  // Until a log is plotted only Open, Exit and the Help menu do anything.
  for (QPushButton* b : {cmdFlow, cmdVolume, cmdNormal, cmdSetRate, cmdIncreaseFlowScale, cmdTimeLeft, cmdTimeRight,
                         cmdScaleLeft, cmdScaleRight})
    b->setEnabled(false);
  for (QAction* a : {mnuBMP, mnuTrumpetGraph, mnuPrintGraph}) a->setEnabled(false);
  for (QLabel* l : {Label1, Label3, lblFlowTitle}) l->setEnabled(false);

  connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
  connect(mnuBMP, &QAction::triggered, this, [this] { mnuBMP_Click(); });
  connect(mnuTrumpetGraph, &QAction::triggered, this, [this] { mnuTrumpetGraph_Click(); });
  connect(mnuPrintGraph, &QAction::triggered, this, [this] { mnuPrintGraph_Click(); });
  connect(mnuExitGraph, &QAction::triggered, this, [this] { mnuExitGraph_Click(); });
  connect(mnuGraphHelp, &QAction::triggered, this, [this] { mnuGraphHelp_Click(); });
  connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
  connect(cmdFlow, &QPushButton::clicked, this, [this] { cmdFlow_Click(); });
  connect(cmdVolume, &QPushButton::clicked, this, [this] { cmdVolume_Click(); });
  connect(cmdNormal, &QPushButton::clicked, this, [this] { cmdNormal_Click(); });
  connect(cmdSetRate, &QPushButton::clicked, this, [this] { cmdSetRate_Click(); });
  connect(cmdIncreaseFlowScale, &QPushButton::clicked, this, [this] { cmdIncreaseFlowScale_Click(); });
  connect(cmdTimeLeft, &QPushButton::clicked, this, [this] { cmdTimeLeft_Click(); });
  connect(cmdTimeRight, &QPushButton::clicked, this, [this] { cmdTimeRight_Click(); });
  connect(cmdScaleLeft, &QPushButton::clicked, this, [this] { cmdScaleLeft_Click(); });
  connect(cmdScaleRight, &QPushButton::clicked, this, [this] { cmdScaleRight_Click(); });
  connect(cmdGraph_Exit, &QPushButton::clicked, this, [this] { cmdGraph_Exit_Click(); });

  resize(sizeHint());
}

void frmGraph::Form_Load() {
  center();
  DGraph->setGraphTitle("Open a file for display...");
  DGraph->setDrawMode(GraphControl::kClear);
  flow_scale_mode = 1;
}

void frmGraph::set_pointer(QWidget* window, bool hourglass) {
  if (window) app_.ui().setMousePointer(window, hourglass ? MousePointer::Hourglass : MousePointer::Default);
}

void frmGraph::show_notice(log_reader::Notice notice) {
  if (notice == log_reader::Notice::None) return;
  const log_reader::NoticeText t = log_reader::notice_text(notice);
  app_.ui().msgbox(t.text, MsgButtons::OK, t.critical ? MsgIcon::Critical : MsgIcon::Exclamation, t.title);
}

// ---- opening a log ---------------------------------------------------------------------------

void frmGraph::display_graph_dialog() {
  Session& s = app_.session();
  CommonDialog& dialog = app_.commonDialog();
  dialog.InitDir = s.folders.save_dir;
  dialog.DefaultExt = "LOG";
  dialog.Filter = kGraphFilter;
  dialog.FileName.clear();
  dialog.Flags = CommonDialog::kOpenFlags;
  dialog.DialogTitle = "GRAPH FILE";
  app_.ui().showOpen(dialog);
  s.file_name = dialog.FileName;
  if (!s.file_name.empty()) GlobalSaveOpen::remember_save_dir(app_, s.file_name);
}

void frmGraph::get_num_graph_records() {
  const std::string& name = app_.session().file_name;
  log_reader::RecordCount c;
  if (files::larger_than(name, log_reader::kMaxLogBytes)) {
    log_text_.reset();
    c = log_reader::too_large_log();
  } else {
    log_text_ = files::read_all(name);
    c = log_text_ ? log_reader::get_num_graph_records(*log_text_, refused_kinds) : log_reader::unreadable_log();
  }
  graph_log_ok = c.graph_log_ok;
  graph_data_ready = c.graph_data_ready;
  counted_last_index_ = c.graph_last_index;
  show_notice(c.notice);
}

void frmGraph::get_graph_data() {
  graph_data_ready = false;
  if (!log_text_) return;
  log_reader::GraphData d = log_reader::get_graph_data(*log_text_, counted_last_index_);
  log_text_.reset();
  graph_data_ready = d.graph_data_ready;
  if (!graph_data_ready) return;
  Session& s = app_.session();
  s.log_samples = std::move(d.samples);
  s.log_results = d.results;
  s.base_rate = d.base_rate;
}

void frmGraph::mnuOpen_Click() {
  refused_kinds = {};
  display_graph_dialog();
  const std::string chosen = app_.session().file_name;
  if (chosen.empty()) return;

  set_pointer(this, true);
  get_num_graph_records();
  if (graph_log_ok && graph_data_ready) {
    get_graph_data();
    if (graph_data_ready) {
      // The log shown is named, and its time window reset, only once it is the loaded one: a
      // cancelled, refused or failed Open leaves the window as it was.
      graph_file_name = chosen;
      window_index = 1;
      window_width = kMinWidth;
      flow_shown = true;
      cmdVolume->setText(QStringLiteral("Vol Off"));
      cmdFlow->setText(QStringLiteral("Flow Off"));
      DGraph->setSecondAxisTitle("Volume (ml)");
      graph_data4();
      if (!plot_failed) {
        update_graph_info();
        enable_options();
        flow_scale_mode = 1;
        lblFlowTitle->setText(QString::fromLatin1(kFittedTitle));
      }
    } else {
      app_.ui().msgbox("Invalid Log file; possibly wrong format", MsgButtons::OK, MsgIcon::Critical, "ERROR");
    }
  }
  log_text_.reset();
  set_pointer(this, false);
}

// ---- plotting --------------------------------------------------------------------------------

void frmGraph::graph_data3() {
  const LogSamples& g = app_.session().log_samples;
  const int points = g.graph_last_index + 1;
  DGraph->setNumPoints(points);
  // The control takes single-precision values.
  auto single = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  DGraph->setThisSet(1);
  for (int i = 0; i < points; ++i) {
    DGraph->setGraphData(i + 1, single(g.graph_flow[static_cast<size_t>(i)]));
    DGraph->setXPosData(i + 1, single(g.graph_time[static_cast<size_t>(i)]));
  }
  DGraph->setThisSet(2);
  for (int i = 0; i < points; ++i) {
    DGraph->setGraphData(i + 1, single(g.graph_avg_flow[static_cast<size_t>(i)]));
    DGraph->setXPosData(i + 1, single(g.graph_time[static_cast<size_t>(i)]));
  }
  DGraph->setSecondAxis(2);
  for (int i = 0; i < points; ++i) DGraph->setSecondAxisData(i + 1, single(g.graph_volume[static_cast<size_t>(i)]));
  DGraph->setFirstVisiblePoint(1);
  DGraph->setLastVisiblePoint(g.graph_last_index);
}

void frmGraph::finish_plot() {
  DGraph->setTextSize(0, 150);
  for (int kind = 1; kind <= 4; ++kind) DGraph->setTextSize(kind, 100);
  if (!flow_shown) {
    // A hidden flow set has no values to draw.
    DGraph->setThisSet(1);
    for (int p = 1; p <= DGraph->numPoints(); ++p) DGraph->setGraphData(p, std::numeric_limits<double>::quiet_NaN());
  }
  DGraph->setLegendText(1, reads(cmdFlow, "Flow Off") ? "Flow" : " ");
  DGraph->setDrawMode(GraphControl::kDraw);
  set_pointer(app_.forms().mainWindow() ? &app_.forms().mainWindow()->widget() : nullptr, false);
  set_pointer(this, false);
}

void frmGraph::plot_log(const std::function<void()>& set_view) {
  set_pointer(this, true);
  try {
    const Session& s = app_.session();
    DGraph->setYAxisMax(s.log_results.graph_y_max);
    DGraph->setYAxisMin(s.log_results.graph_y_min);
    DGraph->setNumSets(3);
    plot_failed = false;
    DGraph->setLegendText(1, "Flow");
    DGraph->setLegendText(2, "Avg Flow");
    DGraph->setLegendText(3, "Volume");
    graph_data3();
    set_view();
    // The prompt to open a file stands only over an empty graph.
    DGraph->setGraphTitle("");
    finish_plot();
  } catch (const std::exception&) {
    app_.ui().msgbox("Too many points to plot, contact Korvane for software upgrade", MsgButtons::OK,
                     MsgIcon::Critical, "ERROR");
    plot_failed = true;
    set_pointer(this, false);
  }
}

void frmGraph::graph_data4() {
  plot_log([this] {
    // The first ten minutes from the first sample.
    const LogSamples& g = app_.session().log_samples;
    const float end = static_cast<float>(g.graph_time[0] + 10);
    int p = 1;
    while (p < g.graph_last_index && static_cast<float>(DGraph->xPosData(1, p)) < end) ++p;
    DGraph->setLastVisiblePoint(p - 1);
    DGraph->setFirstVisiblePoint(1);
    DGraph->setXAxisMin(0);
    DGraph->setXAxisMax(10);
  });
}

void frmGraph::graph_data2() {
  plot_log([this] {
    // The view stays: the points within the current axis, which then runs over their whole minutes.
    const float x_min = DGraph->xAxisMin();
    const float x_max = DGraph->xAxisMax();
    const int n = DGraph->numPoints();
    auto x = [this](int point) { return static_cast<float>(DGraph->xPosData(1, point)); };
    int first = 1;
    while (first < n && x(first) < x_min) ++first;
    int after = first + 1;
    while (after < n && x(after) < x_max) ++after;
    const int last = std::min(after, n) - 1;
    DGraph->setFirstVisiblePoint(first);
    DGraph->setLastVisiblePoint(last);
    DGraph->setXAxisMin(vb::Int(x(first)));
    DGraph->setXAxisMax(vb::Int(x(std::max(last, 1))));
  });
}

void frmGraph::update_graph_info() {
  const Session& s = app_.session();
  const LogSamples& g = s.log_samples;
  if (g.graph_last_index < 1) return;  // no log loaded yet
  const size_t last = static_cast<size_t>(g.graph_last_index);
  // The path as it stands: letter case tells files apart.
  setWindowTitle(QStringLiteral("DATA LOG GRAPH - [ ") + pathToQ(graph_file_name) + QStringLiteral(" ]"));
  lblNoPoints->setText(toQ("No Pts:  " + vb::to_text(g.graph_last_index + 1)));
  lblTotalTime->setText(toQ("Total Time:  " + vb::general(vb::Int(g.graph_time[last])) + " mins"));
  lblMaxFlow->setText(toQ("Max:  " + vb::general(s.log_results.graph_max_flow)));
  lblMinFlow->setText(toQ("Min:  " + vb::general(s.log_results.graph_min_flow)));
  lblAvgFlow->setText(toQ("Avg:  " + vb::Left(vb::general(g.graph_avg_flow[last - 1]), 5)));
  lblSetRate->setText(toQ(" " + vb::general(s.base_rate) + " (ml/hr)"));
}

void frmGraph::enable_options() {
  for (QAction* a : {mnuBMP, mnuPrintGraph, mnuTrumpetGraph}) a->setEnabled(true);
  for (QPushButton* b : {cmdIncreaseFlowScale, cmdTimeLeft, cmdScaleLeft, cmdSetRate, cmdVolume, cmdNormal, cmdFlow})
    b->setEnabled(true);
  for (QLabel* l : {Label1, Label3, lblFlowTitle}) l->setEnabled(true);
  cmdTimeRight->setEnabled(false);
  cmdScaleRight->setEnabled(false);
}

// ---- views -----------------------------------------------------------------------------------

void frmGraph::cmdFlow_Click() {
  if (reads(cmdFlow, "Flow On")) {
    cmdFlow->setText(QStringLiteral("Flow Off"));
    flow_shown = true;
  } else {
    cmdFlow->setText(QStringLiteral("Flow On"));
    flow_shown = false;
  }
  graph_data2();
  lblFlowTitle->setText(QString::fromLatin1(kFittedTitle));
  // The replot switched the volume on; flipping the caption first makes the toggle restore it.
  cmdVolume->setText(reads(cmdVolume, "Vol Off") ? QStringLiteral("Vol On") : QStringLiteral("Vol Off"));
  volume_toggle();
}

void frmGraph::volume_toggle() {
  if (reads(cmdVolume, "Vol On")) {
    cmdVolume->setText(QStringLiteral("Vol Off"));
    DGraph->setSecondAxis(2);
    DGraph->setSecondAxisTitle("Volume (ml)");
    DGraph->setLegendText(3, "Volume");
  } else {
    cmdVolume->setText(QStringLiteral("Vol On"));
    DGraph->setSecondAxis(1);
    DGraph->setSecondAxisTitle("");
    DGraph->setLegendText(2, "Avg Flow");
    DGraph->setLegendText(3, " ");
  }
  DGraph->setLegendText(1, reads(cmdFlow, "Flow Off") ? "Flow" : " ");
  DGraph->setDrawMode(GraphControl::kRedraw);
}

void frmGraph::cmdVolume_Click() { volume_toggle(); }

void frmGraph::cmdNormal_Click() {
  cmdVolume->setText(QStringLiteral("Vol Off"));
  DGraph->setSecondAxis(2);
  DGraph->setSecondAxisTitle("Volume (ml)");
  DGraph->setLegendText(3, "Volume");
  cmdTimeLeft->setEnabled(true);
  cmdScaleLeft->setEnabled(true);
  cmdTimeRight->setEnabled(false);
  cmdScaleRight->setEnabled(false);
  cmdFlow->setText(QStringLiteral("Flow Off"));
  flow_shown = true;
  lblFlowTitle->setText(QString::fromLatin1(kFittedTitle));
  window_width = kMinWidth;
  window_index = 1;
  graph_data4();
}

void frmGraph::cmdSetRate_Click() {
  app_.forms().get<frmSetRate>().ShowModal(this);
  update_graph_info();
}

// ---- time window -----------------------------------------------------------------------------

void frmGraph::show_time_window() {
  const LogSamples& g = app_.session().log_samples;
  const float x_max = DGraph->xAxisMax();
  const int last_index = g.graph_last_index;
  int last = last_index + 1;  // no sample reaches the right edge: every point
  for (int i = 0; i <= last_index; ++i) {
    if (static_cast<float>(g.graph_time[static_cast<size_t>(i)]) >= x_max) {
      // The line runs on past the right edge.
      last = i + 1 < last_index ? i + 2 : i + 1;
      break;
    }
  }
  DGraph->setFirstVisiblePoint(1);
  DGraph->setLastVisiblePoint(last);
  DGraph->setDrawMode(GraphControl::kRedraw);

  const float x_min = DGraph->xAxisMin();
  cmdTimeLeft->setEnabled(last_index >= 0 && static_cast<float>(g.graph_time[static_cast<size_t>(last_index)]) > x_max);
  cmdTimeRight->setEnabled(x_min - static_cast<float>(window_width) >= 0);
}

void frmGraph::cmdScaleLeft_Click() {
  if (window_width < kMaxWidth) {
    if (window_width == kMinWidth) cmdScaleRight->setEnabled(true);
    window_width += 10;
    ++window_index;
    if (window_width == kMaxWidth) cmdScaleLeft->setEnabled(false);
  }
  DGraph->setXAxisMax(DGraph->xAxisMin() + window_width);
  show_time_window();
}

void frmGraph::cmdScaleRight_Click() {
  if (window_width > kMinWidth) {
    if (window_width == kMaxWidth) cmdScaleLeft->setEnabled(true);
    window_width -= 10;
    --window_index;
    if (window_width == kMinWidth) cmdScaleRight->setEnabled(false);
  }
  DGraph->setXAxisMax(DGraph->xAxisMin() + window_width);
  show_time_window();
}

void frmGraph::cmdTimeLeft_Click() {
  const double x_min = DGraph->xAxisMin() + window_width;
  DGraph->setXAxisMin(x_min);
  DGraph->setXAxisMax(x_min + window_width);
  show_time_window();
}

void frmGraph::cmdTimeRight_Click() {
  double x_min = DGraph->xAxisMin() - window_width;
  if (x_min < 0) x_min = 0;
  DGraph->setXAxisMin(x_min);
  DGraph->setXAxisMax(x_min + window_width);
  show_time_window();
}

// ---- flow scale ------------------------------------------------------------------------------

void frmGraph::cmdIncreaseFlowScale_Click() {
  Session& s = app_.session();
  s.log_results.base_rate_int = vb::CInt(s.base_rate);
  const double br = s.log_results.base_rate_int;
  // The factors sit just above 1.2, 1.5 and 2 so that Int keeps the whole ends.
  static constexpr double kFactors[] = {0, 1.201, 1.501, 2.001};
  static constexpr const char* kTitles[] = {kFittedTitle, "Base Rate, +/-20%", "Base Rate, +/-50%",
                                            "Base Rate, +/-100%"};
  const int mode = flow_scale_mode;
  if (mode == 0) {
    DGraph->setYAxisMax(s.log_results.graph_y_max);
    DGraph->setYAxisMin(s.log_results.graph_y_min);
  } else {
    const double y_max = vb::Int(br * kFactors[mode]);
    DGraph->setYAxisMax(y_max);
    DGraph->setYAxisMin(2 * br - y_max);
  }
  lblFlowTitle->setText(QString::fromLatin1(kTitles[mode]));
  flow_scale_mode = (mode + 1) % 4;
  DGraph->setDrawMode(GraphControl::kRedraw);
}

// ---- menus -----------------------------------------------------------------------------------

void frmGraph::mnuTrumpetGraph_Click() {
  const LogSamples& g = app_.session().log_samples;
  if (g.graph_last_index < 0 || g.graph_time[static_cast<size_t>(g.graph_last_index)] < 60) {
    app_.ui().msgbox("Insufficient data for Trumpet Graph", MsgButtons::OK, MsgIcon::Exclamation, "Data Error");
    return;
  }
  show_trumpet_graph();
}

void frmGraph::show_trumpet_graph() {
  Session& s = app_.session();
  s.trumpet_scale = 1;
  s.trumpet_ok = false;
  app_.forms().get<frmTrumpetGraph>().Show();
}

void frmGraph::mnuBMP_Click() {
  graph_output::save_graph_image(app_, *DGraph, {"Bad Graph File Name Suffix", "Error in graph file name", nullptr});
}

void frmGraph::mnuPrintGraph_Click() {
  const Session& s = app_.session();
  std::optional<graph_printout::Page> page;
  if (auto figures = graph_printout::log_graph_figures(s.log_samples, s.log_results, graph_file_name,
                                                       graph_output::page_date(app_)))
    page = graph_printout::log_graph_page(*figures);
  graph_output::print_graph_page(app_, *DGraph, page, 3);
}

void frmGraph::mnuGraphHelp_Click() {
  frmQTXGHelp& help = app_.forms().get<frmQTXGHelp>();
  help.opened_from(*this);
  help.Show();
}

void frmGraph::mnuAbout_Click() { app_.forms().get<frmAbout>().ShowModal(this); }

void frmGraph::exit_graph() {
  MsgAnswer a = app_.ui().msgbox("Are you sure want to quit QTX Graphing section?", MsgButtons::YesNo,
                                 MsgIcon::Question, "EXIT DATA LOG GRAPH", 2);
  if (a != MsgAnswer::Yes) return;
  App& app = app_;  // taken before the window is unloaded
  Unload();
  if (FormBase* main = app.forms().mainWindow()) main->Show();
}

void frmGraph::mnuExitGraph_Click() { exit_graph(); }

void frmGraph::cmdGraph_Exit_Click() { exit_graph(); }

}  // namespace qtx
