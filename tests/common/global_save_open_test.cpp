#include "common/global_save_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <fstream>
#include <sstream>

#include "common/global_comm.h"
#include "core/csv_export.h"
#include "platform/files.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;
namespace gso = qtx::GlobalSaveOpen;

namespace {

// The report window as these routines see it.
struct FakeReports : gso::ReportWindow {
  QWidget window;
  std::string text = "old text";
  bool print_enabled = true;
  gso::ReportSource source;
  QWidget* pointerWindow() override { return &window; }
  gso::ReportSource& reportSource() override { return source; }
  std::string reportText() override { return text; }
  void setReportText(std::string_view t) override { text = std::string(t); }
  void setPrintEnabled(bool enabled) override { print_enabled = enabled; }
};

void put(const std::string& path, std::string_view bytes) { ASSERT_TRUE(files::write_all(path, bytes)); }
std::string get(const std::string& path) { return files::read_all(path).value_or("<missing>"); }

}  // namespace

TEST(GlobalSaveOpen, OpenDialogChoosesItsDefaultByTheReceivedText) {
  TestApp t;
  load_main_without_ports(t);
  Session& s = t.session();
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("logs"))));
  s.folders.save_dir = t.path("save");
  t.app().commonDialog().DialogTitle = "OPEN EDIT";

  s.report_text = "DATA LOG follows";
  t.ui.answerOpen(t.path("logs/run1.log"));
  gso::open_file_dialog(t.app());
  const CommonDialog& d = t.ui.open_dialogs.back();
  EXPECT_EQ(d.Filter,
            "Log Files (*.log)| *.log|Summary files (*.sum) | *.sum|Data files (*.dat) | *.dat|"
            "All files (*.*) | *.*");
  EXPECT_EQ(d.DefaultExt, "LOG");
  EXPECT_EQ(d.Flags, 6156);
  EXPECT_EQ(d.InitDir, t.path("save"));
  EXPECT_EQ(d.FileName, "");
  EXPECT_EQ(d.DialogTitle, "OPEN EDIT");  // the caller's
  EXPECT_EQ(s.file_name, t.path("logs/run1.log"));
  EXPECT_EQ(s.folders.save_dir, t.path("logs"));
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), t.path("logs"));

  // Only "log" in lower case: summaries first. A cancel leaves the folder as it was.
  s.report_text = "data log follows";
  t.ui.answerOpen("");
  gso::open_file_dialog(t.app());
  EXPECT_EQ(t.ui.open_dialogs.back().Filter,
            "Summary Files (*.sum)| *.sum|Log files (*.log) | *.log|Data files (*.dat) | *.dat|All files (*.*) | *.*");
  EXPECT_EQ(t.ui.open_dialogs.back().DefaultExt, "SUM");
  EXPECT_EQ(t.ui.open_dialogs.back().InitDir, t.path("logs"));
  EXPECT_EQ(s.file_name, "");
  EXPECT_EQ(s.folders.save_dir, t.path("logs"));

  // A name without a folder changes nothing.
  t.ui.answerOpen("bare.log");
  gso::open_file_dialog(t.app());
  EXPECT_EQ(s.file_name, "bare.log");
  EXPECT_EQ(s.folders.save_dir, t.path("logs"));
  EXPECT_EQ(GlobalComm::get_file_dir("bare.log"), "");
  EXPECT_EQ(GlobalComm::get_file_dir(t.path("logs/x.sum")), t.path("logs"));

  // The conversion dialog.
  t.ui.answerOpen(t.path("run2.log"));
  gso::convert_file_dialog(t.app());
  const CommonDialog& c = t.ui.open_dialogs.back();
  EXPECT_EQ(c.Filter, "Spreadsheet Files (*.log)| *.log|All files (*.*) | *.*");
  EXPECT_EQ(c.DefaultExt, "csv");
  EXPECT_EQ(c.Flags, 6152);
  EXPECT_EQ(s.file_name, t.path("run2.log"));
  EXPECT_EQ(s.folders.save_dir, t.folder());
  t.ui.answerOpen("");
  gso::convert_file_dialog(t.app());
  EXPECT_EQ(s.file_name, "");
  EXPECT_EQ(s.folders.save_dir, t.folder());
}

TEST(GlobalSaveOpen, SaveDialogKeepsAChosenFileUntilItIsWritten) {
  TestApp t;
  load_main_without_ports(t);
  Session& s = t.session();
  s.folders.save_dir = t.folder();
  t.settings().save("Startup", "savedir", t.folder());

  // An existing file chosen (after the dialog's overwrite question) keeps what it holds.
  std::string existing = t.path("kept.sum");
  put(existing, "SUMMARY of last week\r\n");
  s.dialog_log_first = true;
  t.ui.answerSave(existing);
  EXPECT_EQ(gso::save_file_dialog(t.app()), existing);
  const CommonDialog& d = t.ui.save_dialogs.back();
  EXPECT_EQ(d.Flags, 2062);
  EXPECT_EQ(d.DefaultExt, "LOG");
  EXPECT_EQ(d.Filter.substr(0, 17), "Log Files (*.log)");
  EXPECT_EQ(get(existing), "SUMMARY of last week\r\n");
  // A new name is not left behind as an empty file.
  s.dialog_log_first = false;
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("sub"))));
  t.ui.answerSave(t.path("sub/new.sum"));
  EXPECT_EQ(gso::save_file_dialog(t.app()), t.path("sub/new.sum"));
  EXPECT_EQ(t.ui.save_dialogs.back().DefaultExt, "SUM");
  EXPECT_FALSE(files::exists(t.path("sub/new.sum")));
  EXPECT_EQ(s.folders.save_dir, t.path("sub"));
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), t.path("sub"));

  // Cancelled: said so, nothing moves.
  t.ui.answerSave("").expectBox("Saving file cancelled", "CANCEL SAVE", MsgAnswer::OK, MsgIcon::Exclamation,
                                MsgButtons::OK);
  EXPECT_EQ(gso::save_file_dialog(t.app()), "");
  EXPECT_EQ(s.file_name, "");
  EXPECT_EQ(s.folders.save_dir, t.path("sub"));
}

TEST(GlobalSaveOpen, BadSaveNamesGetASecondChance) {
  TestApp t;
  load_main_without_ports(t);
  Session& s = t.session();
  s.folders.save_dir = t.folder();
  s.download_flags.download_ok = true;
  put(t.path("plain.txt"), "a file, not a folder");

  // A name in a "folder" that is a file, then a good one.
  t.ui.answerSave(t.path("plain.txt/x.sum"))
      .expectBox("Bad file name", "INVALID FILE NAME", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK)
      .answerSave(t.path("good.sum"));
  EXPECT_EQ(gso::save_file_dialog(t.app()), t.path("good.sum"));
  ASSERT_EQ(t.ui.save_dialogs.size(), 2u);
  EXPECT_EQ(t.ui.save_dialogs[1].FileName, "");
  EXPECT_EQ(t.ui.save_dialogs[1].Flags, 2062);
  EXPECT_EQ(t.ui.save_dialogs[1].Filter, t.ui.save_dialogs[0].Filter);
  EXPECT_TRUE(s.download_flags.download_ok);
  EXPECT_EQ(get(t.path("plain.txt")), "a file, not a folder");

  // A folder as the name, then a cancel: the download does not go on.
  t.ui.answerSave(t.folder())
      .expectBox("Bad file name", "INVALID FILE NAME")
      .answerSave("")
      .expectBox("Saving file cancelled", "CANCEL SAVE");
  EXPECT_EQ(gso::save_file_dialog(t.app()), "");
  EXPECT_FALSE(s.download_flags.download_ok);

  // Latin-1 names are names like any other.
  t.ui.answerSave(t.path("caf\xE9.sum"));
  EXPECT_EQ(gso::save_file_dialog(t.app()), t.path("caf\xE9.sum"));
}

TEST(GlobalSaveOpen, LoadingReportFiles) {
  TestApp t;
  frmMain& main = load_main_without_ports(t);
  Session& s = t.session();
  FakeReports reports;

  // Three lines, the last without its line end: each comes back with CR LF.
  put(t.path("three.log"), "first\r\nDATA LOG\r\nthird");
  s.file_name = "  " + t.path("three.log") + " ";
  reports.print_enabled = false;
  gso::load_file_into_reports(t.app(), reports);
  EXPECT_EQ(reports.text, "first\r\nDATA LOG\r\nthird\r\n");
  EXPECT_EQ(s.file_text, reports.text);
  EXPECT_TRUE(reports.print_enabled);
  EXPECT_EQ(s.file_name, t.path("three.log"));
  EXPECT_TRUE(s.exists_proceed);
  EXPECT_TRUE(s.download_started);
  using P = std::pair<QWidget*, MousePointer>;
  EXPECT_EQ(t.ui.pointers,
            (std::vector<P>{P{&reports.window, MousePointer::Hourglass}, P{&main, MousePointer::Hourglass},
                            P{&reports.window, MousePointer::Default}, P{&main, MousePointer::Default}}));

  // Three lines each with its CR LF load as they are.
  put(t.path("three.sum"), "SUMMARY\r\nline 2\r\nline 3\r\n");
  s.file_name = t.path("three.sum");
  gso::load_file_into_reports(t.app(), reports);
  EXPECT_EQ(reports.text, "SUMMARY\r\nline 2\r\nline 3\r\n");

  // "log" only in lower case: refused, the window keeps its text, and the refused file is not
  // where a later save of that text would go.
  put(t.path("notes.txt"), "a log of my day\r\n");
  s.file_name = t.path("notes.txt");
  s.exists_proceed = s.download_started = false;
  t.ui.expectBox("Invalid file!  The file is not a LOG or a SUMMARY file.", "ERROR", MsgAnswer::OK, MsgIcon::Critical,
                 MsgButtons::OK);
  gso::load_file_into_reports(t.app(), reports);
  EXPECT_EQ(reports.text, "SUMMARY\r\nline 2\r\nline 3\r\n");
  EXPECT_FALSE(reports.print_enabled);
  EXPECT_TRUE(s.exists_proceed);
  EXPECT_TRUE(s.download_started);
  // The text still belongs to three.sum: a save goes there, never over the refused file.
  s.test_type_code = "5";
  reports.text += "added\r\n";
  EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::Saved);
  EXPECT_EQ(get(t.path("three.sum")), "SUMMARY\r\nline 2\r\nline 3\r\nadded\r\n");
  EXPECT_EQ(get(t.path("notes.txt")), "a log of my day\r\n");

  // No name.
  s.file_name = "   ";
  s.exists_proceed = s.download_started = false;
  t.ui.expectBox("CancelOpen", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  gso::load_file_into_reports(t.app(), reports);
  EXPECT_TRUE(s.exists_proceed);
  EXPECT_TRUE(s.download_started);

  // A file that cannot be read (missing, a folder): the flags stay, the pointers come back.
  for (std::string bad : {t.path("missing.sum"), t.folder()}) {
    s.file_name = bad;
    s.exists_proceed = s.download_started = false;
    t.ui.pointers.clear();
    t.ui.expectBox("Bad file name entered", "BAD FILE NAME", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    gso::load_file_into_reports(t.app(), reports);
    EXPECT_FALSE(s.exists_proceed);
    EXPECT_FALSE(s.download_started);
    ASSERT_EQ(t.ui.pointers.size(), 4u);
    EXPECT_EQ(t.ui.pointers.back().second, MousePointer::Default);
  }

  // Binary garbage that happens to hold "SUMMARY" loads as it is; without it, it is refused.
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 7919) % 256));
  put(t.path("junk.dat"), junk + "SUMMARY");
  s.file_name = t.path("junk.dat");
  gso::load_file_into_reports(t.app(), reports);
  EXPECT_NE(reports.text.find("SUMMARY"), std::string::npos);
  put(t.path("junk2.dat"), junk);
  s.file_name = t.path("junk2.dat");
  t.ui.expectBox("Invalid file!  The file is not a LOG or a SUMMARY file.", "ERROR");
  gso::load_file_into_reports(t.app(), reports);
}

TEST(GlobalSaveOpen, SavingTheReportText) {
  TestApp t;
  load_main_without_ports(t);
  Session& s = t.session();
  FakeReports reports;

  // An opened file (mode "5") is saved under the name it was opened with, whatever another
  // window's dialog left in file_name since; unchanged, it is not written and keeps its bytes.
  put(t.path("edit.sum"), "SUMMARY\nold");
  s.file_name = t.path("edit.sum");
  gso::load_file_into_reports(t.app(), reports);
  s.test_type_code = "5";
  s.file_name = t.path("other.log");
  EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::Saved);
  EXPECT_EQ(get(t.path("edit.sum")), "SUMMARY\nold");
  EXPECT_FALSE(files::exists(t.path("other.log")));
  EXPECT_EQ(s.file_name, t.path("edit.sum"));
  reports.text = "SUMMARY\r\nedited";
  s.file_name = t.path("other.log");
  EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::Saved);
  EXPECT_EQ(get(t.path("edit.sum")), "SUMMARY\r\nedited\r\n");
  EXPECT_EQ(s.file_text, "SUMMARY\r\nedited");
  EXPECT_FALSE(files::exists(t.path("other.log")));

  // A received download is saved to the name chosen when it started, whatever mode and names a
  // later download left in the shared state; as received, it is written even when unchanged.
  s.summary_file = t.path("later.sum");
  s.log_file = t.path("later.log");
  s.receive_any_file = t.path("later.dat");
  for (auto [mode, name] : {std::pair{"1", "sum.sum"}, {"2", "log.log"}, {"4", "any.dat"}}) {
    reports.source = gso::ReportSource{mode, t.path(name), {}};
    s.test_type_code = "2";
    s.file_name = "elsewhere";
    reports.text = std::string("mode ") + mode;
    EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::Saved);
    EXPECT_EQ(get(t.path(name)), std::string("mode ") + mode + "\r\n");
  }
  for (const char* other : {"elsewhere", "later.sum", "later.log", "later.dat"}) EXPECT_FALSE(files::exists(t.path(other)));

  // No name, a name that cannot be written (the caller reports that one).
  reports.source = gso::ReportSource{"1", "  ", {}};
  t.ui.expectBox("Saving file cancelled.", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::Cancelled);
  reports.source.file = t.path("no-such-folder/x.sum");
  EXPECT_EQ(gso::save_report_text(t.app(), reports), gso::SaveResult::WriteFailed);
}

// A file far beyond any report or log is refused by its size before it is read: a sparse
// gigabyte costs nothing here, while reading it would take a gigabyte of memory.
TEST(GlobalSaveOpen, FilesFarTooLargeAreRefusedUnread) {
  TestApp t;
  load_main_without_ports(t);
  Session& s = t.session();
  FakeReports reports;
  for (const char* name : {"huge.log", "huge.sum"}) {
    QFile f(QString::fromStdString(t.path(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(qint64{1} << 30));
  }
  QFile just_over(QString::fromStdString(t.path("over.sum")));
  ASSERT_TRUE(just_over.open(QIODevice::WriteOnly) && just_over.resize(gso::kMaxReportBytes + 1));

  for (const char* name : {"huge.sum", "over.sum"}) {
    s.file_name = t.path(name);
    s.exists_proceed = s.download_started = false;
    t.ui.expectBox("The file is too large for the report window (more than 4 MB).", "ERROR", MsgAnswer::OK,
                   MsgIcon::Critical, MsgButtons::OK);
    gso::load_file_into_reports(t.app(), reports);
    EXPECT_EQ(reports.text, "old text");
    EXPECT_FALSE(s.exists_proceed || s.download_started);
    EXPECT_EQ(t.ui.pointers.back().second, MousePointer::Default);
  }

  s.file_name = t.path("huge.log");
  t.ui.expectBox("The file is too large to convert (more than 64 MB).", "ERROR", MsgAnswer::OK, MsgIcon::Critical,
                 MsgButtons::OK);
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_FALSE(files::exists(t.path("huge.CSV")));
  EXPECT_EQ(t.ui.pointers.back().second, MousePointer::Default);
}

TEST(GlobalSaveOpen, ConvertingLogsToCsv) {
  TestApp t;
  frmMain& main = load_main_without_ports(t);
  Session& s = t.session();
  FakeReports reports;
  const std::string rate_log = read_test_data("rate_log_82_rows.log");

  put(t.path("run1.log"), rate_log);
  s.file_name = t.path("run1.log") + "  ";
  t.ui.expectBox("Successful conversion", "SUCCESS", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  gso::convert_log_to_csv(t.app(), reports);
  std::string out = get(t.path("run1.CSV"));
  EXPECT_EQ(out, csv_export::convert_log(rate_log).output);
  EXPECT_EQ(get(t.path("run1.log")), rate_log);
  using P = std::pair<QWidget*, MousePointer>;
  EXPECT_EQ(t.ui.pointers, (std::vector<P>{P{&reports.window, MousePointer::Hourglass}, P{&main, MousePointer::Default},
                                           P{&reports.window, MousePointer::Default}}));

  // A standard CSV reader sees 8 columns in every row between the titles and the end of data.
  QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (!python.isEmpty()) {
    QProcess p;
    p.start(python, {QStringLiteral("-c"),
                     QStringLiteral("import csv,sys\n"
                                    "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='latin-1')))\n"
                                    "i=[r[:3] for r in rows].index(['','','Elasped'])\n"
                                    "data=rows[i+2:rows.index([],i)]\n"
                                    "print(len(data), sorted(set(len(r) for r in data)))\n"),
                     QString::fromStdString(t.path("run1.CSV"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.readAllStandardOutput().trimmed().toStdString(), "82 [8]") << p.readAllStandardError().toStdString();
  }

  // The live tests' own logs end in ".LOG": converted the same. Other extensions are refused.
  put(t.path("RUN2.LOG"), rate_log);
  s.file_name = t.path("RUN2.LOG");
  t.ui.expectBox("Successful conversion", "SUCCESS");
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_EQ(get(t.path("RUN2.CSV")), out);
  put(t.path("run3.sum"), rate_log);
  s.file_name = t.path("run3.sum");
  t.ui.expectBox("Invalid Extension - Please select a valid log file with a \".log\" extension", "ERROR", MsgAnswer::OK,
                 MsgIcon::Critical, MsgButtons::OK);
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_FALSE(files::exists(t.path("run3.CSV")));

  // An empty log: an empty output.
  put(t.path("empty.log"), "");
  s.file_name = t.path("empty.log");
  t.ui.expectBox("Unsuccessful conversion, please try again or check the help screens for further assistance", "ERROR",
                 MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_EQ(get(t.path("empty.CSV")), "");

  // A log that is not there, a folder in the output's place, a page break at the very end.
  s.file_name = t.path("missing.log");
  t.ui.expectBox("Unable to open file", "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_FALSE(files::exists(t.path("missing.CSV")));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("blocked.CSV"))));
  put(t.path("blocked.log"), rate_log);
  s.file_name = t.path("blocked.log");
  t.ui.expectBox("Unable to open file", "ERROR");
  gso::convert_log_to_csv(t.app(), reports);
  put(t.path("cut.log"), rate_log.substr(0, rate_log.find("p. 02")));
  s.file_name = t.path("cut.log");
  t.ui.pointers.clear();
  t.ui.expectBox("Unable to open file", "ERROR");
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_EQ(t.ui.pointers.back().second, MousePointer::Default);

  // Binary garbage: a message, no crash, nothing but its own output written.
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk.push_back(static_cast<char>((i * 2654435761u) >> 13));
  put(t.path("junk.log"), junk);
  s.file_name = t.path("junk.log");
  t.ui.expectBox("Unsuccessful conversion, please try again or check the help screens for further assistance", "ERROR");
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_EQ(get(t.path("junk.log")), junk);

  // A Latin-1 name.
  put(t.path("caf\xE9.log"), rate_log);
  s.file_name = t.path("caf\xE9.log");
  t.ui.expectBox("Successful conversion", "SUCCESS");
  gso::convert_log_to_csv(t.app(), reports);
  EXPECT_EQ(get(t.path("caf\xE9.CSV")), out);
}
