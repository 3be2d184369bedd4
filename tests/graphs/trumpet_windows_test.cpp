// The trumpet window and its settings dialog, offscreen, on logs built in memory.
#include <gtest/gtest.h>

#include "core/vb.h"
#include "graphs/frmGraph.h"
#include "graphs/frmSetRate.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/frmTrumpetGraph.h"
#include "platform/files.h"
#include "shell/frmMain.h"
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

// A log whose last sample lies at `minutes`.
LogSamples log_of_length(double minutes) {
  return samples_log({{0, 0, 0}, {1, 100, 1.7}, {2, 100, 3.3}, {minutes, 100, minutes * 100 / 60}});
}

// The log graph window, open from the main window's menu, with a log of 180 minutes at
// 100 ml/h loaded.
struct TrumpetTest : ::testing::Test {
  TestApp t;
  frmGraph* g = nullptr;
  void SetUp() override {
    t.loadMainWithoutPorts();
    t.forms().get<frmMain>().mnuGraphLog->trigger();
    g = t.forms().loaded<frmGraph>();
    ASSERT_NE(g, nullptr);
    Session& s = t.session();
    s.log_samples = flow_log({}, [](double) { return 100.0; });
    s.base_rate = 100;
    g->graph_file_name = "/Save/Pump7.LOG";
  }
  frmTrumpSet& dialog(double minutes) {
    t.session().log_samples = log_of_length(minutes);
    return t.forms().get<frmTrumpSet>();
  }
  // The log graph's Trumpet Graph item, the settings dialog answered by `settings`.
  frmTrumpetGraph* open(std::function<void(frmTrumpSet&)> settings = [](frmTrumpSet& d) { d.CmdOK->click(); }) {
    t.ui.onModal("frmTrumpSet", [settings](FormBase& f) { settings(dynamic_cast<frmTrumpSet&>(f)); });
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
    EXPECT_EQ(d.DataInt->currentIndex(), 0);
    EXPECT_EQ(t.session().analysis_start_min, c.start);
    EXPECT_EQ(t.session().analysis_end_min, c.end);
    if (c.minutes == 150) {
      choose(d.DataInt, "120");
      EXPECT_EQ(entries(d.StartTime), QStringList{"0"});
      EXPECT_EQ(t.session().analysis_start_min, 0);
    }
    d.CmdOK->click();
    EXPECT_EQ(t.session().analysis_end_min, t.session().analysis_start_min + t.session().trumpet_settings.calc_window);
    processEvents();
  }
}

TEST_F(TrumpetTest, AllTakesTheWholeLogRoundedAtHalfAMinute) {
  for (auto [minutes, window] : {std::pair{150.7, 151}, {150.3, 150}, {151.7, 152}}) {
    frmTrumpSet& d = dialog(minutes);
    choose(d.DataInt, "All");
    EXPECT_EQ(t.session().trumpet_settings.calc_window, window);
    EXPECT_EQ(t.session().analysis_start_min, 0);
    EXPECT_EQ(t.session().analysis_end_min, window);
    EXPECT_EQ(entries(d.StartTime), QStringList{"0"});
    EXPECT_FALSE(d.StartTime->isEnabled());
    d.CmdCancel->click();
    processEvents();
  }
}

TEST_F(TrumpetTest, DefaultAndCancel) {
  // 120 minutes exactly: Default leaves the choice alone.
  frmTrumpSet& d = dialog(120);
  choose(d.StartTime, "0");
  d.Default->click();
  EXPECT_EQ(t.session().analysis_start_min, 0);
  d.CmdOK->click();  // period 0 to 60 accepted
  processEvents();

  // Longer: Default is the 60-minute window from minute 60. Cancel restores the accepted period
  // but keeps the window chosen.
  frmTrumpSet& e = dialog(200);
  choose(e.DataInt, "120");
  EXPECT_EQ(t.session().analysis_start_min, 60);
  choose(e.DataInt, "60");
  choose(e.StartTime, "90");
  e.Default->click();
  EXPECT_EQ(t.session().analysis_start_min, 60);
  choose(e.DataInt, "120");
  e.CmdCancel->click();
  EXPECT_EQ(t.session().analysis_start_min, 0);
  EXPECT_EQ(t.session().analysis_end_min, 60);
  EXPECT_EQ(t.session().trumpet_settings.calc_window, 120);
}

TEST_F(TrumpetTest, CancellingTheFirstSettingsClosesTheWindow) {
  t.session().trumpet_ok = true;  // left by an earlier trumpet window
  EXPECT_EQ(open([](frmTrumpSet& d) { d.CmdCancel->click(); }), nullptr);
  EXPECT_FALSE(t.session().trumpet_ok);
  EXPECT_FALSE(g->isHidden());
  EXPECT_EQ(g->lblNoPoints->text(), "No Pts:  181");  // its figures refreshed
}

TEST_F(TrumpetTest, TheLogGraphsItemOpensTheWindowOverTheHiddenLogGraph) {
  ASSERT_TRUE(files::write_all(t.path("Hour.LOG"), rate_log_text(steady_rows(61, 60))));
  t.ui.answerOpen(t.path("Hour.LOG"));
  g->mnuOpen->trigger();
  t.session().trumpet_scale = 3;
  t.ui.onModal("frmTrumpSet", [](FormBase& f) { dynamic_cast<frmTrumpSet&>(f).CmdOK->click(); });
  g->mnuTrumpetGraph->trigger();
  frmTrumpetGraph* w = t.forms().loaded<frmTrumpetGraph>();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->isHidden());
  EXPECT_TRUE(g->frame().isHidden());
  EXPECT_EQ(w->TGraph->yAxisMax(), 15);
  EXPECT_EQ(w->windowTitle(), "TRUMPET GRAPH - [" + QString::fromStdString(t.path("Hour.LOG")).toLower() + " ]");
  EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 0 to 60 min");

  w->mnuExitGraph->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmTrumpetGraph"));
  EXPECT_FALSE(g->frame().isHidden());
}

TEST_F(TrumpetTest, BaseRate) {
  frmTrumpetGraph* w = open();
  ASSERT_NE(w, nullptr);
  const QString before = w->lblMaxErrorP[0]->text();
  t.ui.onModal("frmSetRate", [&](FormBase& f) {
    auto& d = dynamic_cast<frmSetRate&>(f);
    d.txtSetRate->setText("0");
    t.ui.expectBox("Zero value not possible.", "ERROR");
    d.cmdUpdate->click();
  });
  w->cmdSetRate->click();
  EXPECT_EQ(w->lblMaxErrorP[0]->text(), before);
  EXPECT_EQ(w->lblSetRate->text(), "Base Rate:  100 ml/hr");

  t.ui.onModal("frmSetRate", [&](FormBase& f) {
    auto& d = dynamic_cast<frmSetRate&>(f);
    d.txtSetRate->setText("80");
    d.cmdUpdate->click();
  });
  w->cmdSetRate->click();
  EXPECT_EQ(w->lblSetRate->text(), "Base Rate:  80 ml/hr");
  EXPECT_EQ(w->lblMaxErrorP[0]->text(), "25.00");
  EXPECT_EQ(w->lblMinErrorR[4]->text(), "20.00");
  EXPECT_FALSE(t.session().rate_updated);
}

TEST_F(TrumpetTest, FiguresTableAndGraph) {
  Session& s = t.session();
  s.base_rate = 100 / 0.985;  // the 100 ml/h windows are 1.5 % below it
  frmTrumpetGraph* w = open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "TRUMPET GRAPH - [/save/pump7.log ]");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w->lblMaxErrorP[i]->text(), "-1.50");
    EXPECT_EQ(w->lblMinErrorR[i]->text(), "-1.52");
  }
  EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 60 to 120 min");
  // The average error: one value on a horizontal line over the five windows.
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(w->TGraph->xPosData(3, i), s.trumpet_results[i].window);
    EXPECT_EQ(w->TGraph->graphData(3, i), static_cast<float>(s.trumpet_avg_err_pct));
    EXPECT_EQ(w->TGraph->graphData(1, i), s.trumpet_results[i].max_err_pct);
  }

  s.base_rate = 100 / 1.02;
  w->Form_Activate();
  EXPECT_EQ(w->lblAvgError->text(), "% Error:  2.000");

  s.base_rate = 100;
  w->Form_Activate();
  EXPECT_EQ(w->lblSetRate->text(), "Base Rate:  100 ml/hr");
  EXPECT_EQ(w->lblAvgRate->text(), "Avg Rate:  " + QString::fromStdString(vb::general(s.trumpet_avg_rate)) + " ml/hr");

  for (int expected : {30, 45, 60, 15}) {
    w->cmdScale->click();
    EXPECT_EQ(w->TGraph->yAxisMax(), expected);
    EXPECT_EQ(w->TGraph->yAxisMin(), -expected);
  }
}

TEST_F(TrumpetTest, NewDataThenCancelRecomputesThePreviousPeriod) {
  frmTrumpetGraph* w = open([](frmTrumpSet& d) {
    choose(d.StartTime, "90");
    d.Option1->click();
    d.CmdOK->click();
  });
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->interp_interval, 30);
  EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 90 to 150 min");
  t.ui.onModal("frmTrumpSet", [](FormBase& f) {
    auto& d = dynamic_cast<frmTrumpSet&>(f);
    choose(d.DataInt, "120");
    d.CmdCancel->click();
  });
  w->GetNewData->click();
  EXPECT_EQ(w->interp_interval, 60);
  EXPECT_EQ(w->lblAnalysisPeriod->text(), "Analysis Period:  60 min  -  From 90 to 150 min");
  EXPECT_NEAR(w->work.interp_volume[0], 150.0, 1e-9);  // minute 90 at 100 ml/h
}
