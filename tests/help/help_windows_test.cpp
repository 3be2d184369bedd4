// The help windows and the viewer: which page is read from where, reading again at each
// activation, and what the viewer says when a page is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include "core/help_text.h"
#include "core/paths.h"
#include "graphs/frmGraph.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/frmTrumpetGraph.h"
#include "help/frmQTXGHelp.h"
#include "help/frmQTXHelp.h"
#include "help/frmQTXOverview.h"
#include "platform/files.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/rate_logs.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

std::string shipped(const std::string& name) { return *files::read_all(join_path(QTX_SHIPPED_HELP, name)); }

// A program whose help folder is the test's "help" folder, with the build's help pages as
// the shipped copy.
struct HelpFixture : ::testing::Test {
  HelpFixture() {
    main = &load_main_without_ports(t);
    main->show();
    QDir().mkpath(QString::fromStdString(t.path("help")));
  }
  frmQTXOverview& viewer() {
    frmQTXOverview& v = t.forms().get<frmQTXOverview>();
    v.shipped_help_dirs = {QTX_SHIPPED_HELP};
    return v;
  }
  void writeHelp(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(files::write_all(join_path(t.session().folders.help_dir, name), bytes));
  }
  QMdiArea& area() { return *t.forms().mdiArea(); }
  QMdiSubWindow* frameOf(FormBase& f) { return qobject_cast<QMdiSubWindow*>(&f.frame()); }

  TestApp t;
  frmMain* main = nullptr;
};

}  // namespace

TEST_F(HelpFixture, MainTopicReadsTheHelpFolderAndFallsBackToTheShippedPage) {
  main->mnuQTXHelp_Click();
  frmQTXHelp& help = *t.forms().loaded<frmQTXHelp>();
  EXPECT_TRUE(help.Visible());
  frmQTXOverview& v = viewer();

  writeHelp("qtxmain1.txt", "Local page.\r\nDuring a download of a summary of data, text.\r\n");
  help.topic_label(1)->click();
  EXPECT_EQ(v.windowTitle(), "File/Download");
  EXPECT_EQ(v.overview_text(), "Local page. \r\n\r\nDuring a download of a summary of data, text. ");
  EXPECT_EQ(v.txtQTXOverview->toPlainText(), "Local page. \n\nDuring a download of a summary of data, text. ");

  // The help folder lacks this page: the copy that ships with the program is read.
  help.topic_label(7)->click();
  EXPECT_EQ(v.windowTitle(), "Options System Administrator");
  EXPECT_EQ(v.overview_text(), help::paragraph_text("main", shipped("qtxmain7.txt")));
  EXPECT_NE(v.overview_text().find("\r\n\r\nTo save the changes"), std::string::npos);
}

TEST_F(HelpFixture, TheViewerReadsThePageAgainEachTimeItIsActivated) {
  main->mnuQTXHelp_Click();
  frmQTXHelp& help = *t.forms().loaded<frmQTXHelp>();
  frmQTXOverview& v = viewer();
  writeHelp("qtxmain0.txt", "first\r\n");
  help.topic_label(0)->click();
  EXPECT_EQ(v.overview_text(), "first ");
  EXPECT_EQ(area().activeSubWindow(), frameOf(v));

  writeHelp("qtxmain0.txt", "second\r\n");
  area().setActiveSubWindow(frameOf(help));
  EXPECT_EQ(v.overview_text(), "first ");
  area().setActiveSubWindow(frameOf(v));
  EXPECT_EQ(v.overview_text(), "second ");

  // A topic chosen while the viewer is still the active window is read at once.
  writeHelp("qtxmain4.txt", "exit page\r\n");
  help.topic_Click(4);
  EXPECT_EQ(v.overview_text(), "exit page ");
  EXPECT_EQ(v.windowTitle(), "File/Exit Qtx");
}

TEST_F(HelpFixture, GraphTopicZeroKeepsTheCaption) {
  frmQTXGHelp& ghelp = t.forms().get<frmQTXGHelp>();
  ghelp.Show();
  EXPECT_EQ(ghelp.topic_label(0), nullptr);
  frmQTXOverview& v = viewer();
  ghelp.topic_Click(0);
  EXPECT_EQ(v.windowTitle(), "QTX Overview");
  EXPECT_EQ(v.overview_text(), help::paragraph_text("graph", shipped("QTXgra0.txt")));
  ghelp.topic_label(18)->click();
  EXPECT_EQ(v.windowTitle(), "File/Print Screen");
  ghelp.topic_Click(0);
  EXPECT_EQ(v.windowTitle(), "File/Print Screen");
}

TEST_F(HelpFixture, MissingPagesAndTopicsOutsideTheTableAreToldInTheViewer) {
  frmQTXOverview& v = viewer();
  v.shipped_help_dirs.clear();
  v.show_page("main", 3);
  v.Form_Activate();
  EXPECT_EQ(v.overview_text(), "The help page qtxmain3.txt was found neither in the help folder " +
                                   t.session().folders.help_dir + " nor among the help pages that came with QTX.");
  EXPECT_EQ(v.txtQTXOverview->toPlainText().toStdString(), v.overview_text());

  v.show_page("main", 8);
  v.Form_Activate();
  EXPECT_EQ(v.overview_text(), "There is no help page for this topic.");
}

TEST_F(HelpFixture, ExitRoads) {
  main->mnuQTXHelp_Click();
  frmQTXOverview& v = viewer();
  t.forms().loaded<frmQTXHelp>()->topic_Click(2);
  // Leaving help keeps the page open; its own Exit closes it.
  t.forms().loaded<frmQTXHelp>()->cmdExitHelp->click();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXHelp"));
  EXPECT_TRUE(t.forms().isLoaded("frmQTXOverview"));
  v.cmdExit->click();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXOverview"));

  // Graph help returns to the graph window, which is the active window again with the keyboard
  // in it, also while nothing is plotted (only its Exit button takes the keyboard then).
  main->activateWindow();
  processEvents();
  frmGraph& graph = t.forms().get<frmGraph>();
  graph.Show();
  graph.mnuGraphHelp->trigger();
  frmQTXGHelp* ghelp = t.forms().loaded<frmQTXGHelp>();
  ASSERT_NE(ghelp, nullptr);
  area().setActiveSubWindow(frameOf(*ghelp));
  ghelp->cmdExit->setFocus();
  ghelp->cmdExit->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXGHelp"));
  EXPECT_TRUE(graph.Visible());
  EXPECT_EQ(QApplication::activeWindow(), main);
  EXPECT_EQ(area().activeSubWindow(), frameOf(graph));
  EXPECT_TRUE(graph.isAncestorOf(QApplication::focusWidget()));

  // Without a graph window (closed meanwhile) it returns to the main window.
  t.forms().unload("frmGraph");
  t.forms().get<frmQTXGHelp>().cmdExit->click();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXGHelp"));
}

// With both help windows open, each one's links show its own pages, and its Exit Help returns
// to the window that opened it: the main-screen help leaves the window in front where it is
// and the keyboard out of the log graph.
TEST_F(HelpFixture, EachHelpWindowKeepsItsTopicAndItsWayBack) {
  frmGraph& graph = t.forms().get<frmGraph>();
  graph.Show();
  main->mnuQTXHelp_Click();
  graph.mnuGraphHelp->trigger();
  frmQTXHelp& help = *t.forms().loaded<frmQTXHelp>();
  frmQTXGHelp& ghelp = *t.forms().loaded<frmQTXGHelp>();
  frmQTXOverview& v = viewer();
  help.topic_label(1)->click();
  EXPECT_EQ(v.windowTitle(), "File/Download");
  EXPECT_EQ(v.overview_text(), help::paragraph_text("main", shipped("qtxmain1.txt")));
  ghelp.topic_label(1)->click();
  EXPECT_EQ(v.windowTitle(), "File/Open");
  help.topic_label(3)->click();
  EXPECT_EQ(v.windowTitle(), "File/Graph Data");
  area().setActiveSubWindow(frameOf(v));  // the window in front, as a running test's would be

  help.cmdExitHelp->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXHelp"));
  EXPECT_EQ(area().activeSubWindow(), frameOf(v));
  EXPECT_FALSE(graph.isAncestorOf(QApplication::focusWidget()));

  ghelp.cmdExit->click();
  processEvents();
  EXPECT_EQ(area().activeSubWindow(), frameOf(graph));
  EXPECT_TRUE(graph.isAncestorOf(QApplication::focusWidget()));
}

// The trumpet window hides the log graph while it is open; leaving the graph help meanwhile
// does not show it.
TEST_F(HelpFixture, ExitHelpLeavesTheHiddenLogGraphHidden) {
  main->mnuGraphLog->trigger();
  frmGraph& graph = *t.forms().loaded<frmGraph>();
  t.session().log_samples = flow_log({}, [](double) { return 100.0; });
  t.session().base_rate = 100;
  graph.mnuGraphHelp->trigger();
  t.ui.onModal("frmTrumpSet", [](FormBase& f) { dynamic_cast<frmTrumpSet&>(f).CmdOK->click(); });
  graph.mnuTrumpetGraph_Click();
  processEvents();
  frmTrumpetGraph* trumpet = t.forms().loaded<frmTrumpetGraph>();
  ASSERT_NE(trumpet, nullptr);
  ASSERT_FALSE(graph.Visible());

  t.forms().loaded<frmQTXGHelp>()->cmdExit->click();
  processEvents();
  EXPECT_FALSE(t.forms().isLoaded("frmQTXGHelp"));
  EXPECT_FALSE(graph.Visible());
  EXPECT_TRUE(trumpet->Visible());

  // The trumpet window's Exit brings the log graph back, as before.
  trumpet->mnuExitGraph->click();
  processEvents();
  EXPECT_TRUE(graph.Visible());
}

// A help page is a small plain file: a link to a device, or a page far larger than any help
// page, is not read; the viewer says so, as for a page it cannot read.
TEST_F(HelpFixture, APageThatIsNotASmallPlainFileIsNotRead) {
  main->mnuQTXHelp_Click();
  frmQTXHelp& help = *t.forms().loaded<frmQTXHelp>();
  frmQTXOverview& v = viewer();
  v.shipped_help_dirs.clear();
  const std::string page = join_path(t.session().folders.help_dir, "qtxmain1.txt");
  ASSERT_EQ(::symlink("/dev/zero", page.c_str()), 0);
  help.topic_label(1)->click();
  EXPECT_EQ(v.overview_text(), "The help page " + page + " could not be read.");

  ::unlink(page.c_str());
  writeHelp("qtxmain1.txt", std::string(1 << 20, 'x'));
  ASSERT_EQ(::truncate(page.c_str(), 1LL << 30), 0);  // 1 GB, sparse
  help.topic_label(1)->click();
  EXPECT_EQ(v.overview_text(), "The help page " + page + " could not be read.");

  // One within the size of a page is read.
  ASSERT_EQ(::truncate(page.c_str(), 60000), 0);
  help.topic_label(1)->click();
  EXPECT_EQ(v.overview_text(), std::string(60000, 'x') + " ");
}
