// The trumpet window and its settings dialog, offscreen, opened from the log graph window.
#include <gtest/gtest.h>

#include "graphs/frmGraph.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/frmTrumpetGraph.h"
#include "platform/files.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/rate_log_files.h"
#include "support/rate_logs.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

QStringList entries(QComboBox* c) {
  QStringList l;
  for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
  return l;
}

// The user picks an entry of a list.
void choose(QComboBox* c, const QString& text) {
  int i = c->findText(text);
  ASSERT_GE(i, 0) << text.toStdString();
  c->setCurrentIndex(i);
  emit c->activated(i);
}

template <class D>
void on_modal(TestApp& t, const char* name, std::function<void(D&)> user) {
  t.ui.onModal(name, [user](FormBase& f) { user(dynamic_cast<D&>(f)); });
}

// The log graph window from the main window's menu, with 180 minutes at 100 ml/h loaded.
struct TrumpetTest : ::testing::Test {
  TestApp t;
  frmGraph* g = nullptr;
  Session& s = t.session();
  void SetUp() override {
    load_main_without_ports(t);
    t.forms().get<frmMain>().mnuGraphLog->trigger();
    g = t.forms().loaded<frmGraph>();
    ASSERT_NE(g, nullptr);
    s.log_samples = flow_log({}, [](double) { return 100.0; });
    s.base_rate = 100;
  }
  frmTrumpSet& dialog(double minutes) {
    s.log_samples = samples_log({{0, 0, 0}, {1, 100, 1.7}, {2, 100, 3.3}, {minutes, 100, minutes * 100 / 60}});
    return t.forms().get<frmTrumpSet>();
  }
  // The Trumpet Graph item, the settings dialog answered by `settings`.
  frmTrumpetGraph* open(std::function<void(frmTrumpSet&)> settings = [](frmTrumpSet& d) { d.CmdOK->click(); }) {
    on_modal(t, "frmTrumpSet", settings);
    g->mnuTrumpetGraph_Click();
    processEvents();
    return t.forms().loaded<frmTrumpetGraph>();
  }
};

}  // namespace

TEST_F(TrumpetTest, SettingsListsFollowTheLogLength) {
  struct Case {
    double minutes;
    QStringList windows, starts;
    int start, end;
  } cases[] = {
      {60.0, {"All"}, {"0"}, 0, 60},
      {75, {"60", "All"}, {"0"}, 0, 60},
      {100, {"60", "All"}, {"0", "30"}, 30, 90},
      {150, {"60", "120", "All"}, {"0", "30", "60"}, 60, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.minutes);
    frmTrumpSet& d = dialog(c.minutes);
    EXPECT_EQ(entries(d.DataInt), c.windows);
    EXPECT_EQ(entries(d.StartTime), c.starts);
    EXPECT_EQ(s.analysis_start_min, c.start);
    EXPECT_EQ(s.analysis_end_min, c.end);
    d.CmdCancel->click();
    processEvents();
  }
  choose(dialog(150).DataInt, "120");
  EXPECT_EQ(entries(t.forms().get<frmTrumpSet>().StartTime), QStringList{"0"});
  t.forms().get<frmTrumpSet>().CmdCancel->click();
  processEvents();

  // "All": the whole minutes, one more past half a minute; from minute 0 only.
  for (auto [minutes, window] : {std::pair{150.7, 151}, {150.3, 150}, {151.7, 152}}) {
    frmTrumpSet& d = dialog(minutes);
    choose(d.DataInt, "All");
    EXPECT_EQ(s.trumpet_settings.calc_window, window);
    EXPECT_EQ(s.analysis_end_min - s.analysis_start_min, window);
    EXPECT_FALSE(d.StartTime->isEnabled());
    d.CmdCancel->click();
    processEvents();
  }

  // Default, the 60-minute window from minute 60, needs more than 120 minutes.
  frmTrumpSet& d = dialog(120);
  choose(d.StartTime, "0");
  d.Default->click();
  EXPECT_EQ(s.analysis_start_min, 0);
  d.CmdCancel->click();
  processEvents();
  frmTrumpSet& e = dialog(200);
  choose(e.DataInt, "120");
  choose(e.StartTime, "0");
  e.Default->click();
  EXPECT_EQ(s.analysis_start_min, 60);
  EXPECT_EQ(s.trumpet_settings.calc_window, 60);
}

TEST_F(TrumpetTest, CancellingTheFirstSettingsClosesTheWindow) {
  s.trumpet_ok = true;  // left by an earlier trumpet window
  EXPECT_EQ(open([](frmTrumpSet& d) { d.CmdCancel->click(); }), nullptr);
  EXPECT_FALSE(s.trumpet_ok);
  EXPECT_FALSE(g->frame().isHidden());
  EXPECT_EQ(g->lblNoPoints->text(), "No Pts:  181");  // its figures refreshed
}

TEST_F(TrumpetTest, NewDataThenCancelRecomputesTheAcceptedPeriod) {
  frmTrumpetGraph* w = open([](frmTrumpSet& d) {
    choose(d.StartTime, "90");
    d.Option1->click();
    d.CmdOK->click();
  });
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->interp_interval, 30);
  on_modal<frmTrumpSet>(t, "frmTrumpSet", [](frmTrumpSet& d) {
    choose(d.DataInt, "120");
    d.CmdCancel->click();
  });
  w->GetNewData->click();
  EXPECT_EQ(s.trumpet_settings.calc_window, 120);  // kept
  EXPECT_EQ(w->interp_interval, 60);               // as the dialog left it
  EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 90 to 150 min");
  int top_line = 0;  // the window holds the whole top line
  for (QLabel* l : {w->lblSetRate, w->lblAvgRate, w->lblAvgError, w->lblAnalysisPeriod})
    top_line += l->sizeHint().width();
  EXPECT_GT(w->frame().width(), top_line);
  EXPECT_NEAR(w->work.interp_volume[0], 150.0, 1e-9);  // minute 90 at 100 ml/h
  EXPECT_EQ(w->work.interp_count, 62);
}

TEST_F(TrumpetTest, FiguresTableGraphBaseRateAndScale) {
  s.base_rate = 100 / 0.985;  // the 100 ml/h windows lie 1.5 % below it
  frmTrumpetGraph* w = open();
  ASSERT_NE(w, nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(w->lblMaxErrorP[i]->text(), "-1.50");
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(w->TGraph->xPosData(3, i), s.trumpet_results[i].window);
    EXPECT_EQ(w->TGraph->graphData(3, i), static_cast<float>(s.trumpet_avg_err_pct));  // one line
  }

  on_modal<frmSetRate>(t, "frmSetRate", [&](frmSetRate& d) {
    d.txtSetRate->setText("0");
    t.ui.expectBox("Zero value not possible.", "ERROR");
    d.cmdUpdate->click();
  });
  w->cmdSetRate->click();
  EXPECT_EQ(w->lblMaxErrorP[0]->text(), "-1.50");

  on_modal<frmSetRate>(t, "frmSetRate", [](frmSetRate& d) {
    d.txtSetRate->setText(QString::number(100 / 1.02, 'g', 17));
    d.cmdUpdate->click();
  });
  w->cmdSetRate->click();
  EXPECT_EQ(w->lblAvgError->text(), "% Error:  2.000");
  EXPECT_EQ(w->lblMinErrorP[4]->text(), "2.00");
  EXPECT_FALSE(s.rate_updated);

  for (int expected : {30, 45, 60, 15}) {
    w->cmdScale->click();
    EXPECT_EQ(w->TGraph->yAxisMax(), expected);
    EXPECT_EQ(w->TGraph->yAxisMin(), -expected);
  }
}

// A base rate far below the log's rates makes errors of millions of per cent. The window still
// fits the main window with its Exit in reach, its figures drawn smaller; the printed table
// still ends on the page, printed smaller. Ordinary figures keep their size on both.
TEST_F(TrumpetTest, FiguresFarFromTheBaseRateFitTheWindowAndThePage) {
  frmMain& main = t.forms().get<frmMain>();
  main.show();  // at its own size, 800 by 600
  processEvents();
  const QWidget* area = t.forms().mdiArea()->viewport();
  ASSERT_GE(area->width(), 700);
  s.base_rate = 100 / 0.985;  // errors of -1.50 %
  frmTrumpetGraph* w = open();
  ASSERT_NE(w, nullptr);
  const double ordinary = w->font().pointSizeF();
  EXPECT_EQ(w->lblMaxErrorP[0]->font().pointSizeF(), ordinary);
  // The table as printed: its four lines, as "size text", after the printout.
  auto printed_table = [&] {
    t.ui.expectBox("Are you sure want to print the graph?", "PRINTING GRAPH", MsgAnswer::Yes);
    w->cmdPrint->click();
    const auto& lines = t.printer.documents.back().pages.at(0);
    return std::vector<RecordingPrinter::Line>(lines.end() - 4, lines.end());
  };
  for (const auto& l : printed_table()) EXPECT_EQ(l.size, 12) << l.text;

  on_modal<frmSetRate>(t, "frmSetRate", [](frmSetRate& d) {
    d.txtSetRate->setText("0.0001");
    d.cmdUpdate->click();
  });
  w->cmdSetRate->click();
  EXPECT_TRUE(w->lblMaxErrorP[0]->text().startsWith("999999")) << w->lblMaxErrorP[0]->text().toStdString();
  EXPECT_GE(w->frame().x(), 0);
  EXPECT_LE(w->frame().x() + w->frame().width(), area->width());
  const QPoint exit_end = w->mnuExitGraph->mapTo(&w->frame(), QPoint(w->mnuExitGraph->width(), 0));
  EXPECT_LE(exit_end.x(), w->frame().width());
  EXPECT_LT(w->lblMaxErrorP[0]->font().pointSizeF(), ordinary);

  const std::vector<RecordingPrinter::Line> table = printed_table();
  size_t widest = 0;
  for (const auto& l : table) {
    EXPECT_EQ(l.size, table[0].size);  // the table's lines together, so its columns stay
    widest = std::max(widest, l.text.size());
  }
  EXPECT_LT(table[0].size, 12);
  EXPECT_LE(0.5 + widest * 0.6 * table[0].size / 72, 10 + 1e-9);  // the page is 10 inches wide
  EXPECT_NE(table[2].text.find(" 999999"), std::string::npos) << table[2].text;
}

TEST_F(TrumpetTest, TheLogGraphsItemOpensTheWindowOverTheHiddenLogGraph) {
  ASSERT_TRUE(files::write_all(t.path("Hour.LOG"), rate_log_text(steady_rows(61, 60))));
  t.ui.answerOpen(t.path("Hour.LOG"));
  g->mnuOpen->trigger();
  s.trumpet_scale = 3;
  for (bool by_close_box : {false, true}) {
    on_modal<frmTrumpSet>(t, "frmTrumpSet", [](frmTrumpSet& d) { d.CmdOK->click(); });
    g->mnuTrumpetGraph->trigger();
    frmTrumpetGraph* w = t.forms().loaded<frmTrumpetGraph>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(g->frame().isHidden());
    EXPECT_EQ(w->TGraph->yAxisMax(), 15);
    EXPECT_EQ(w->windowTitle(), "TRUMPET GRAPH - [" + QString::fromStdString(t.path("Hour.LOG")) + " ]");
    EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 0 to 60 min");
    if (by_close_box)
      w->frame().close();
    else
      w->mnuExitGraph->click();
    processEvents();
    EXPECT_FALSE(t.forms().isLoaded("frmTrumpetGraph"));
    EXPECT_FALSE(g->frame().isHidden());
  }
}
