// Start-up, the port probe and the exit roads of the main window.
#include "support/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStyle>
#include <QSysInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "acquisition/frmRTGraph.h"
#include "acquisition/frmReports.h"
#include "common/frmAbout.h"
#include "core/paths.h"
#include "platform/files.h"
#include "platform/text.h"
#include "shell/frmMain.h"
#include "shell/program.h"
#include "support/pty_pair.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

TEST(MainWindowStart, FirstStartOnAnEmptyStore) {
  TestApp t;
  PtyPair com2;
  t.setPort(2, com2.device());
  frmMain& main = load_main(t);
  Session& s = t.session();

  EXPECT_EQ(s.comm.comm_port, 2);
  EXPECT_EQ(s.comm.series_code, "C");
  EXPECT_EQ(s.folders.start_dir, t.folder());
  EXPECT_EQ(s.folders.main_dir, t.folder());
  EXPECT_EQ(s.folders.save_dir, t.folder() + "/save");
  EXPECT_EQ(s.folders.init_dir, t.folder() + "/save");
  EXPECT_EQ(s.folders.help_dir, t.folder() + "/help");
  EXPECT_TRUE(s.header_switch);
  EXPECT_TRUE(s.header_entered);

  // The four folders are written back; the port and series are only read.
  IniSettingsStore reread(t.settings().path());
  EXPECT_EQ(reread.get("startup", "MAINDIR", "-"), t.folder());
  EXPECT_EQ(reread.get("Startup", "savedir", "-"), t.folder() + "/save");
  EXPECT_EQ(reread.get("Startup", "initdir", "-"), t.folder() + "/save");
  EXPECT_EQ(reread.get("Startup", "helpdir", "-"), t.folder() + "/help");
  EXPECT_FALSE(reread.contains("Startup", "comm"));
  EXPECT_FALSE(reread.contains("Startup", "series"));

  EXPECT_EQ(main.windowTitle(), "QTX  -  Comm 2");
  EXPECT_EQ(main.lblStatus->text(), "Comm Port:  2");
  EXPECT_TRUE(t.comm().isOpen());
  EXPECT_EQ(t.comm().commPort(), 2);
}

TEST(MainWindowStart, StoredValuesAreReadAsTheyStand) {
  TestApp t;
  PtyPair com3;
  t.setPort(3, com3.device());
  t.settings().save("STARTUP", "Comm", "3abc");  // the leading number counts
  t.settings().save("Startup", "series", "D");
  t.settings().save("Startup", "savedir", "/data/qtx logs");
  frmMain& main = load_main(t);
  EXPECT_EQ(t.session().comm.comm_port, 3);
  EXPECT_EQ(t.session().comm.series_code, "D");
  EXPECT_EQ(t.session().folders.save_dir, "/data/qtx logs");
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), "/data/qtx logs");
  EXPECT_EQ(main.windowTitle(), "QTX  -  Comm 3");
  EXPECT_TRUE(t.comm().isOpen());
}

// Started in a folder whose name Latin-1 lacks, with the configuration folder inside it and
// COM2 named by a path in it: every name stays as the file system spells it.
TEST(MainWindowStart, FolderNamedBeyondLatinOne) {
  TestApp t;
  const std::string journal = t.path("\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB");  // "Журнал"
  ASSERT_TRUE(QDir().mkpath(pathToQ(journal)));
  ASSERT_TRUE(QDir::setCurrent(pathToQ(journal)));
  ::setenv("XDG_CONFIG_HOME", (journal + "/config").c_str(), 1);
  PtyPair com2;
  ASSERT_EQ(::symlink(com2.device().c_str(), (journal + "/com2").c_str()), 0);
  t.setPort(2, journal + "/com2");

  auto start = [&t] {
    auto store = std::make_unique<IniSettingsStore>(IniSettingsStore::default_path());
    auto comm = make_qt_serial_port(*store);
    auto app = std::make_unique<App>(*store, *comm, t.ui, t.clock);
    app->forms().get<frmMain>();
    Folders folders = app->session().folders;
    bool open = comm->isOpen();
    app.reset();
    processEvents();
    return std::pair{folders, open};
  };
  auto [folders, open] = start();
  EXPECT_TRUE(open);
  EXPECT_EQ(folders.start_dir, journal);
  EXPECT_EQ(folders.main_dir, journal);
  EXPECT_EQ(folders.save_dir, journal + "/save");
  EXPECT_EQ(folders.help_dir, journal + "/help");
  // The settings where the configuration folder says, and no folder of question marks.
  const std::string ini = journal + "/config/qtx/qtx.ini";
  IniSettingsStore reread(ini);
  EXPECT_EQ(reread.get("Startup", "maindir", "-"), journal);
  EXPECT_EQ(reread.get("Startup", "savedir", "-"), journal + "/save");
  EXPECT_EQ(QDir(pathToQ(t.folder())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{pathToQ(journal).section(QLatin1Char('/'), -1)});

  // A later start with the same folders reads them back and leaves the file alone.
  struct stat before {}, after {};
  ASSERT_EQ(::stat(ini.c_str(), &before), 0);
  EXPECT_EQ(start().first.save_dir, journal + "/save");
  ASSERT_EQ(::stat(ini.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST(PortProbe, OnlyComThreeIsLive) {
  TestApp t;
  PtyPair com3;
  t.setPort(3, com3.device());
  t.settings().save("Startup", "comm", "3");
  frmMain& main = load_main(t);  // no box expected
  const auto& usable = t.session().comm.port_usable;
  EXPECT_FALSE(usable[1]);
  EXPECT_FALSE(usable[2]);
  EXPECT_TRUE(usable[3]);
  EXPECT_FALSE(usable[4]);
  EXPECT_TRUE(main.mnuCommPort->isEnabled());
  EXPECT_TRUE(main.mnuDownload->isEnabled());
  EXPECT_TRUE(main.mnuTestPort->isEnabled());
  EXPECT_TRUE(t.ui.boxes.empty());
}

// A port another running program has locked (as the serial library locks its ports) is not
// usable; a lock its ended owner left behind does not hold the port.
TEST(PortProbe, PortLockedByAnotherProgramIsNotUsable) {
  TestApp t;
  PtyPair com2, com3;
  t.setPort(2, com2.device());
  t.setPort(3, com3.device());
  t.settings().save("Startup", "comm", "3");
  std::string dir;
  for (const char* d : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp"})
    if (access(d, W_OK) == 0 && dir.empty()) dir = d;
  auto lock_of = [&](const std::string& device) {
    std::string name = device.substr(5);
    std::replace(name.begin(), name.end(), '/', '_');
    return dir + "/LCK.." + name;
  };
  const std::string host = fromQ(QSysInfo::machineHostName());
  ASSERT_TRUE(files::write_all(lock_of(com2.device()), std::to_string(getppid()) + "\nother\n" + host + "\n"));
  ASSERT_TRUE(files::write_all(lock_of(com3.device()), "999999999\nended\n" + host + "\n"));
  load_main(t);
  files::remove(lock_of(com2.device()));
  files::remove(lock_of(com3.device()));
  EXPECT_FALSE(t.session().comm.port_usable[2]);
  EXPECT_TRUE(t.session().comm.port_usable[3]);
  EXPECT_TRUE(t.ui.boxes.empty());
}

// The child of the next test: another copy of the program that holds a port, opened by the
// name in QTX_HELD_PORT, until its input closes.
TEST(PortProbe, DISABLED_ChildHoldsAPort) {
  const char* held = std::getenv("QTX_HELD_PORT");
  ASSERT_NE(held, nullptr);
  TestApp t;
  t.setPort(1, held);
  t.comm().setCommPort(1);
  std::printf("open %d\n", t.comm().open() ? 1 : 0);
  std::fflush(stdout);
  char c;
  while (::read(STDIN_FILENO, &c, 1) > 0) {
  }
}

// A port is judged by the device its path leads to: one that another copy holds, whatever names
// either copy reaches it by, is not usable, and neither is a path to no terminal. With no port
// left the probe says so once and the port menus go off.
TEST(PortProbe, APortHeldUnderAnotherNameOrNoTerminalIsNotUsable) {
  TestApp t;
  PtyPair pty;
  const std::string held_as = t.path("analyser"), probed_as = t.path("com1");
  ASSERT_EQ(::symlink(pty.device().c_str(), held_as.c_str()), 0);
  ASSERT_EQ(::symlink(pty.device().c_str(), probed_as.c_str()), 0);
  int to_child[2], from_child[2];
  ASSERT_EQ(::pipe(to_child), 0);
  ASSERT_EQ(::pipe(from_child), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(to_child[0], STDIN_FILENO);
    ::dup2(from_child[1], STDOUT_FILENO);
    ::close(to_child[1]);
    ::close(from_child[0]);
    ::setenv("QTX_HELD_PORT", held_as.c_str(), 1);
    ::execl("/proc/self/exe", "port_holder", "--gtest_filter=PortProbe.DISABLED_ChildHoldsAPort",
            "--gtest_also_run_disabled_tests", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(to_child[0]);
  ::close(from_child[1]);
  FILE* child = ::fdopen(from_child[0], "r");
  char line[256];
  bool opened = false;
  while (!opened && std::fgets(line, sizeof line, child)) opened = std::string(line) == "open 1\n";

  t.setPort(1, probed_as);
  t.setPort(2, pty.device());
  ASSERT_TRUE(files::write_all(t.path("plain"), "x"));
  t.setPort(3, t.path("plain"));
  t.setPort(4, "/dev/null");
  if (opened) t.ui.expectBox(kNoPortsMessage, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  frmMain& main = load_main(t);
  ::close(to_child[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::fclose(child);
  ASSERT_TRUE(opened) << "the other copy could not open the port";
  EXPECT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_FALSE(main.mnuCommPort->isEnabled());
  EXPECT_FALSE(main.mnuDownload->isEnabled());
  EXPECT_FALSE(main.mnuTestPort->isEnabled());
}

TEST(PortProbe, NoPortAtAllGivesOneMessage) {
  TestApp t;
  t.ui.expectBox(kNoPortsMessage, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  frmMain& main = load_main(t);
  EXPECT_EQ(t.ui.boxes.size(), 1u);  // the open that follows says nothing more
  EXPECT_FALSE(main.mnuCommPort->isEnabled());
  EXPECT_FALSE(main.mnuDownload->isEnabled());
  EXPECT_FALSE(main.mnuTestPort->isEnabled());
  EXPECT_TRUE(main.mnuGraphLog->isEnabled());
  EXPECT_FALSE(t.comm().isOpen());
}

TEST(PortProbe, StoredPortThatCannotOpenGivesThePortError) {
  TestApp t;
  PtyPair com1;
  t.setPort(1, com1.device());
  t.expectPortError();
  load_main(t);  // comm defaults to 2, which is absent
  EXPECT_FALSE(t.comm().isOpen());
}

TEST(PortProbe, PortNumberOutsideOneToFourFailsToOpen) {
  TestApp t;
  PtyPair com1;
  t.setPort(1, com1.device());
  t.settings().save("Startup", "comm", "7");
  t.expectPortError();
  frmMain& main = load_main(t);
  EXPECT_EQ(main.windowTitle(), "QTX  -  Comm 7");
  EXPECT_FALSE(t.comm().isOpen());
}

// Exit by the menu asks first; No leaves every window as it was: an edited report with its
// text, a running test's window with its poll.
TEST(MainWindowExit, AnswerNoKeepsEveryWindow) {
  TestApp t(Port::Scripted);
  frmMain& main = load_main(t);
  t.forms().get<frmAbout>().Show();
  const std::string file = t.path("a.sum");
  ASSERT_TRUE(files::write_all(file, "SUMMARY a\r\n"));
  main.mnuEdit_Click();
  frmReports& reports = *t.forms().loaded<frmReports>();
  t.ui.answerOpen(file);
  reports.mnuOpen->trigger();
  reports.txtData->appendPlainText(QStringLiteral("typed"));
  frmRTGraph& rate = t.forms().get<frmRTGraph>();
  rate.Show();
  ASSERT_TRUE(rate.GetDataTimer->isActive());

  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::No, MsgIcon::Question, MsgButtons::YesNo);
  main.mnuExit->trigger();
  processEvents();
  t.ui.verify();
  EXPECT_TRUE(t.forms().isLoaded("frmMain"));
  EXPECT_FALSE(t.ended());
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].default_button, 2);  // No is the default
  EXPECT_TRUE(t.forms().isLoaded("frmAbout"));
  ASSERT_EQ(t.forms().loaded<frmReports>(), &reports);
  EXPECT_EQ(reports.reportText(), "SUMMARY a\r\n\r\ntyped");
  ASSERT_EQ(t.forms().loaded<frmRTGraph>(), &rate);
  EXPECT_TRUE(rate.GetDataTimer->isActive());

  // Yes: asked once, then every window goes and the program ends.
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main.mnuExit->trigger();
  processEvents();
  t.ui.verify();
  EXPECT_TRUE(t.ended());
  for (const char* name : {"frmAbout", "frmReports", "frmRTGraph", "frmMain"}) EXPECT_FALSE(t.forms().isLoaded(name));
}

TEST(MainWindowExit, AnswerYesDeletesTheTemporaryReportAndEnds) {
  TestApp t(Port::Scripted);
  frmMain& main = load_main(t);
  std::string temp = join_path(t.session().folders.save_dir, "tempfile.dat");
  QDir().mkpath(QString::fromStdString(t.session().folders.save_dir));
  {
    QFile f(QString::fromStdString(temp));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("report\r\n");
  }
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main.close();  // the title-bar close box
  EXPECT_TRUE(t.ended());
  EXPECT_FALSE(files::exists(temp));
  EXPECT_FALSE(t.forms().isLoaded("frmMain"));
}

TEST(MainWindowExit, AnswerYesWithoutTemporaryReportEndsCleanly) {
  TestApp t(Port::Scripted);
  t.settings().save("Startup", "savedir", t.path("no/such/folder"));
  frmMain& main = load_main(t);
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main.mnuExit_Click();
  EXPECT_TRUE(t.ended());
}

TEST(AboutBox, UnloadsOnOk) {
  TestApp t(Port::Scripted);
  frmMain& main = load_main(t);
  main.mnuAbout_Click();
  frmAbout* about = t.forms().loaded<frmAbout>();
  ASSERT_NE(about, nullptr);
  about->CmdOK->click();
  EXPECT_FALSE(t.forms().isLoaded("frmAbout"));
}

// The menu bar's overflow chevron is painted by the program's style: a dark mark on a
// transparent icon, with no image file read for it.
TEST(ProgramStyle, OverflowChevronIsPaintedOnATransparentIcon) {
  prepare_application();
  const QImage icon = QApplication::style()
                          ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                          .pixmap(16, 16)
                          .toImage()
                          .convertToFormat(QImage::Format_ARGB32);
  int marked = 0;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x) marked += qAlpha(icon.pixel(x, y)) > 128 && qGray(icon.pixel(x, y)) < 100;
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(15, 15)), 0);
  EXPECT_GT(marked, 8);
}
