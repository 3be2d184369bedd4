#include <gtest/gtest.h>

#include "core/vb.h"
#include "graphs/frmGraph.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpSet.h"
#include "platform/files.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/rate_log_files.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

// The program with the graph window shown from the main window's menu.
struct GraphWindow {
  GraphWindow() {
    load_main_without_ports(t);
    t.forms().get<frmMain>().mnuGraphLog->trigger();
    g = t.forms().loaded<frmGraph>();
  }
  // Writes the log and opens it in the window.
  void open(const std::string& name, const std::string& text) {
    ASSERT_TRUE(files::write_all(t.path(name), text));
    t.ui.answerOpen(t.path(name));
    g->mnuOpen->trigger();
  }
  // The time window and the paging buttons' states.
  std::string window() const {
    return vb::general(g->DGraph->xAxisMin()) + "-" + vb::general(g->DGraph->xAxisMax()) +
           (g->cmdTimeRight->isEnabled() ? " <" : " -") + (g->cmdTimeLeft->isEnabled() ? ">" : "-");
  }
  std::string flow_axis() const {
    return vb::general(g->DGraph->yAxisMin()) + "-" + vb::general(g->DGraph->yAxisMax());
  }
  TestApp t;
  frmGraph* g = nullptr;
};

// One row a minute, for `minutes` minutes.
std::string minutes_log(int minutes) { return rate_log_text(steady_rows(minutes, 60)); }

}  // namespace

TEST(GraphWindow, OpensEmptyAndACancelledOpenChangesNothing) {
  GraphWindow w;
  ASSERT_TRUE(w.g && !w.g->isHidden());
  EXPECT_EQ(w.g->windowTitle(), "DATA LOG GRAPH");
  EXPECT_TRUE(w.g->cmdGraph_Exit->isEnabled());
  EXPECT_FALSE(w.g->cmdFlow->isEnabled() || w.g->cmdTimeLeft->isEnabled() || w.g->cmdSetRate->isEnabled());
  EXPECT_FALSE(w.g->mnuTrumpetGraph->isEnabled() || w.g->mnuBMP->isEnabled() || w.g->mnuPrintGraph->isEnabled());
  EXPECT_FALSE(w.g->lblFlowTitle->isEnabled());
  EXPECT_EQ(w.g->DGraph->graphTitle(), "Open a file for display...");

  const std::string saved = w.t.settings().get("Startup", "savedir", "");
  w.t.ui.answerOpen("");
  w.g->mnuOpen->trigger();
  const CommonDialog& d = w.t.ui.open_dialogs.back();
  EXPECT_EQ(d.DialogTitle, "GRAPH FILE");
  EXPECT_EQ(d.Filter, "Log Files (*.log)| *.log|Data files (*.dat) | *.dat|All files (*.*) | *.*");
  EXPECT_EQ(d.Flags, 6156);
  EXPECT_EQ(d.InitDir, saved);
  EXPECT_EQ(w.t.settings().get("Startup", "savedir", ""), saved);
  EXPECT_EQ(w.g->windowTitle(), "DATA LOG GRAPH");
  EXPECT_FALSE(w.g->cmdFlow->isEnabled());
  EXPECT_EQ(w.g->DGraph->graphTitle(), "Open a file for display...");
}

TEST(GraphWindow, AnOpenedLogShowsItsTotals) {
  GraphWindow w;
  auto rows = steady_rows(12, 5);
  rows[10].avg_flow = 99.8765;  // the 11th sample
  w.open("Twelve.LOG", rate_log_text(rows));
  EXPECT_EQ(w.g->windowTitle(), "DATA LOG GRAPH - [ " + QString::fromStdString(w.t.path("Twelve.LOG")) + " ]");
  EXPECT_EQ(w.g->lblNoPoints->text(), "No Pts:  12");
  EXPECT_EQ(w.g->lblAvgFlow->text(), "Avg:  99.88");
  EXPECT_EQ(w.g->lblTotalTime->text(), "Total Time:  1 mins");
  EXPECT_EQ(w.g->lblMaxFlow->text(), "Max:  100");
  EXPECT_EQ(w.g->lblSetRate->text(), " 100 (ml/hr)");
  EXPECT_EQ(w.g->lblFlowTitle->text(), "Average Flow, Centered, Fitted");
  EXPECT_EQ(w.g->DGraph->graphTitle(), "");  // no prompt over a plotted log
  EXPECT_EQ(w.t.settings().get("Startup", "savedir", ""), w.t.folder());
  EXPECT_EQ(w.g->cmdFlow->text(), "Flow Off");
  EXPECT_EQ(w.g->cmdVolume->text(), "Vol Off");
  EXPECT_TRUE(w.g->cmdTimeLeft->isEnabled() && w.g->cmdScaleLeft->isEnabled() && w.g->mnuTrumpetGraph->isEnabled());
  EXPECT_FALSE(w.g->cmdTimeRight->isEnabled() || w.g->cmdScaleRight->isEnabled());
  // The control holds the samples as the reader found them.
  EXPECT_EQ(w.g->DGraph->numSets(), 3);
  EXPECT_EQ(w.g->DGraph->numPoints(), 12);
  EXPECT_EQ(w.g->DGraph->xPosData(2, 12), static_cast<float>(1.0));
  EXPECT_EQ(w.g->DGraph->graphData(2, 11), static_cast<float>(99.88));
  EXPECT_EQ(w.window(), "0-10 ->");
  // Shorter than the window: one page later, then no further.
  w.g->cmdTimeLeft->click();
  EXPECT_EQ(w.window(), "10-20 <-");
}

TEST(GraphWindow, PagesWidensAndNarrowsTheTimeWindow) {
  GraphWindow w;
  w.open("long.log", minutes_log(35));
  EXPECT_EQ(w.window(), "0-10 ->");
  std::vector<std::string> seen;
  for (int i = 0; i < 3; ++i) {
    w.g->cmdTimeLeft->click();
    seen.push_back(w.window());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"10-20 <>", "20-30 <>", "30-40 <-"}));
  w.g->cmdTimeRight->click();
  EXPECT_EQ(w.window(), "20-30 <>");
  w.g->cmdTimeRight->click();
  // The line runs one point past the right edge (the sample at minute 20 is point 20).
  EXPECT_EQ(w.g->DGraph->lastVisiblePoint(), 21);
  w.g->cmdTimeRight->click();
  EXPECT_EQ(w.window(), "0-10 ->");

  w.g->cmdScaleLeft->click();
  EXPECT_EQ(w.window(), "0-20 ->");
  EXPECT_TRUE(w.g->cmdScaleRight->isEnabled());
  for (int i = 0; i < 5; ++i) w.g->cmdScaleLeft->click();
  EXPECT_EQ(w.g->window_width, 60);
  EXPECT_EQ(w.g->window_index, 6);
  EXPECT_FALSE(w.g->cmdScaleLeft->isEnabled());
  EXPECT_EQ(w.window(), "0-60 --");
  EXPECT_EQ(w.g->DGraph->lastVisiblePoint(), 35);  // no sample reaches minute 60: all points
  for (int i = 0; i < 5; ++i) w.g->cmdScaleRight->click();
  EXPECT_EQ(w.window(), "0-10 ->");
  EXPECT_FALSE(w.g->cmdScaleRight->isEnabled());
  EXPECT_TRUE(w.g->cmdScaleLeft->isEnabled());

  // Paging earlier from minute 5 starts at 0.
  w.g->DGraph->setXAxisMin(5);
  w.g->cmdTimeRight_Click();
  EXPECT_EQ(w.window(), "0-10 ->");

  // Defaults goes back to the first ten minutes.
  w.g->cmdScaleLeft->click();
  w.g->cmdTimeLeft->click();
  w.g->cmdNormal->click();
  EXPECT_EQ(w.window(), "0-10 ->");
  EXPECT_EQ(w.g->window_width, 10);
}

TEST(GraphWindow, FlowOffAndOnKeepsTheVolumeView) {
  GraphWindow w;
  w.open("long.log", minutes_log(35));
  w.g->cmdTimeLeft->click();
  w.g->cmdVolume->click();  // volume hidden
  EXPECT_EQ(w.g->cmdVolume->text(), "Vol On");
  w.g->cmdFlow->click();
  EXPECT_EQ(w.g->cmdFlow->text(), "Flow On");
  EXPECT_FALSE(w.g->flow_shown);
  EXPECT_EQ(w.g->DGraph->legendText(1), " ");
  EXPECT_EQ(w.g->cmdVolume->text(), "Vol On");
  EXPECT_EQ(w.g->DGraph->secondAxis(), 1);
  // The whole minutes of the first and last points shown.
  EXPECT_EQ(w.window(), "10-19 <>");
  w.g->cmdFlow->click();
  EXPECT_TRUE(w.g->flow_shown);
  EXPECT_EQ(w.g->DGraph->legendText(1), "Flow");
  EXPECT_EQ(w.g->DGraph->graphData(1, 5), 100);
  EXPECT_EQ(w.g->cmdVolume->text(), "Vol On");
  EXPECT_EQ(w.g->DGraph->secondAxis(), 1);
}

TEST(GraphWindow, ChangeScaleStepsAboutTheBaseRate) {
  GraphWindow w;
  w.open("long.log", minutes_log(35));
  EXPECT_EQ(w.flow_axis(), "100-100");  // fitted: flows of 100 about a last average of 100.2
  w.t.session().base_rate = 100;
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    w.g->cmdIncreaseFlowScale->click();
    seen.push_back(w.flow_axis() + " " + w.g->lblFlowTitle->text().toStdString());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"80-120 Base Rate, +/-20%", "50-150 Base Rate, +/-50%",
                                            "0-200 Base Rate, +/-100%", "100-100 Average Flow, Centered, Fitted"}));
  w.t.session().base_rate = 0;
  for (int i = 0; i < 3; ++i) {
    w.g->cmdIncreaseFlowScale->click();
    EXPECT_EQ(w.flow_axis(), "0-0");
  }
  w.t.session().base_rate = 2.5;
  w.g->cmdIncreaseFlowScale->click();  // the fitted step
  EXPECT_EQ(w.t.session().log_results.base_rate_int, 2);
  w.t.session().base_rate = 3.5;
  w.g->cmdIncreaseFlowScale->click();
  EXPECT_EQ(w.t.session().log_results.base_rate_int, 4);
  EXPECT_EQ(w.flow_axis(), "4-4");  // Int(4.804) = 4
}

TEST(GraphWindow, RefusedAndInvalidLogsKeepTheLoadedOne) {
  GraphWindow w;
  w.open("good.log", minutes_log(35));
  const QString caption = w.g->windowTitle();
  const std::vector<double> times = w.t.session().log_samples.graph_time;
  w.g->cmdScaleLeft->click();

  w.t.ui.expectBox("Occlusion Pressure test Graph not implemented", "Occlusion Data", MsgAnswer::OK,
                   MsgIcon::Exclamation);
  w.open("occl.log", "OCCLUSION PRESSURE TEST\r\n");
  w.t.ui.expectBox("Insufficient number of Graph Points", "Insufficient Points", MsgAnswer::OK, MsgIcon::Exclamation);
  w.open("short.log", rate_log_text(steady_rows(3, 5)));
  // Sample lines, but none after the log's headings.
  w.t.ui.expectBox("Invalid Log file; possibly wrong format", "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  w.open("bad.log", "00:00:01 1\r\n00:00:02 1\r\n00:00:03 1\r\n00:00:04 1\r\n");
  w.t.ui.expectBox("Error opening LOG file for graphing, graphing cancelled", "ERROR", MsgAnswer::OK,
                   MsgIcon::Critical);
  w.t.ui.answerOpen(w.t.path("missing.log"));
  w.g->mnuOpen->trigger();
  // A file far beyond any log the graph holds is refused by its size, unread (a sparse gigabyte).
  QFile huge(QString::fromStdString(w.t.path("huge.log")));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{1} << 30));
  w.t.ui.expectBox("The file is too large to be a data log for graphing (more than 8 MB), graphing cancelled", "ERROR",
                   MsgAnswer::OK, MsgIcon::Critical);
  w.t.ui.answerOpen(w.t.path("huge.log"));
  w.g->mnuOpen->trigger();

  EXPECT_EQ(w.t.session().log_samples.graph_time, times);
  EXPECT_EQ(w.g->windowTitle(), caption);
  w.g->update_graph_info();
  EXPECT_EQ(w.g->windowTitle(), caption);
  EXPECT_EQ(w.g->lblNoPoints->text(), "No Pts:  35");
  EXPECT_EQ(w.g->window_width, 20);
  w.t.ui.answerOpen("");
  w.g->mnuOpen->trigger();
  EXPECT_EQ(w.g->window_width, 20);
  w.g->cmdScaleLeft->click();
  EXPECT_EQ(w.window(), "0-30 ->");
  // The pointer is back to normal after each.
  EXPECT_EQ(w.t.ui.pointers.back().second, MousePointer::Default);
}

TEST(GraphWindow, TrumpetNeedsAnHourBaseRateAndExit) {
  GraphWindow w;
  auto rows = steady_rows(4, 60);
  rows.push_back(qtx::test::rate_row(3599, 100, 100, 1));  // 59.98 minutes
  w.open("short.log", rate_log_text(rows));
  w.t.ui.expectBox("Insufficient data for Trumpet Graph", "Data Error", MsgAnswer::OK, MsgIcon::Exclamation);
  w.g->mnuTrumpetGraph->trigger();
  rows.push_back(qtx::test::rate_row(3600, 100, 100, 1));
  w.open("hour.log", rate_log_text(rows));
  // No message: the trumpet window opens with its settings; cancelling them brings the log
  // graph back.
  w.t.ui.onModal("frmTrumpSet", [](FormBase& f) { dynamic_cast<frmTrumpSet&>(f).CmdCancel->click(); });
  w.g->mnuTrumpetGraph->trigger();
  processEvents();
  EXPECT_FALSE(w.t.forms().isLoaded("frmTrumpetGraph"));

  w.t.ui.onModal("frmSetRate", [](FormBase& f) {
    auto& d = dynamic_cast<frmSetRate&>(f);
    d.txtSetRate->setText(QStringLiteral("12.5"));
    d.cmdUpdate->click();
  });
  w.g->cmdSetRate->click();
  EXPECT_EQ(w.g->lblSetRate->text(), " 12.5 (ml/hr)");

  w.t.ui.expectBox("Are you sure want to quit QTX Graphing section?", "EXIT DATA LOG GRAPH", MsgAnswer::No,
                   MsgIcon::Question, MsgButtons::YesNo);
  w.g->cmdGraph_Exit->click();
  EXPECT_TRUE(w.t.forms().isLoaded("frmGraph"));
  EXPECT_EQ(w.t.ui.boxes.back().default_button, 2);
  w.t.ui.expectBox("Are you sure want to quit QTX Graphing section?", "EXIT DATA LOG GRAPH", MsgAnswer::Yes);
  w.g->mnuExitGraph->trigger();
  processEvents();
  EXPECT_FALSE(w.t.forms().isLoaded("frmGraph"));
}
