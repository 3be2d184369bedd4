// The report window: receive ticks on a scripted port, the end of a download and tempfile.dat,
// stopping, saving, printing through the recording printer, the edit menu and opening a file.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <QTextCursor>

#include "acquisition/frmDownload.h"
#include "acquisition/frmReports.h"
#include "core/paths.h"
#include "graphs/frmGraph.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

std::string S(int n) { return std::string(static_cast<size_t>(n), ' '); }
std::string U(int n) { return std::string(static_cast<size_t>(n), '_'); }

const char* const kPrinterFailure =
    "The printer is not functioning properly, use Windows online help or manual for further assitance";

// A summary as the analyser sends it, its own sign-off and BEL last.
const std::string kSummary = S(9) + "SUMMARY\r\n\r\n" + S(9) + "Manufacturer: " + U(18) + "\r\n" + S(9) +
                             "Set Rate(s): " + U(13) + " ml/h  VTBI: " + U(22) + " ml\r\n\r\n" + S(9) +
                             "Average Rate: 101.0 ml/h\r\n" + S(9) + "End of summary\r\n\r\n" + S(7) +
                             "Technician: " + U(20) + " Signature: " + U(19) + "\r\n\a";

}  // namespace

class ReportWindow : public ::testing::Test {
 protected:
  ReportWindow() {
    main.show();
    QDir().mkpath(QString::fromStdString(s.folders.save_dir));
    s.channel_code = "B";
    s.device_record.manufacturer = "Acme";
    s.device_record.set_rate_text = "100";
    s.device_record.vtbi_text = "50";
    s.device_record.comment_text = "checked";
    s.device_record.technician = "Kim";
    s.device_record.pump_type = "LVP";
    s.device_record.pump_tolerance = "5";
  }
  // A download as the start leaves it: the mode, the window made ready for it, the request and
  // the receiving window.
  frmReports& receiving(const char* mode) {
    s.test_type_code = mode;
    t.forms().get<frmReports>().prepare_download("");
    s.download_flags.show_reports_request = true;
    main.Form_Activate();
    return *t.forms().loaded<frmReports>();
  }
  void tick(frmReports& r, std::string_view text) {
    t.serial().arrive(text);
    r.GetDataTimer_Timer();
  }
  // OK in the download dialog for `mode` with "Save to File", its file dialog cancelled: the
  // shared download mode changes, nothing starts.
  void download_cancelled(QRadioButton* frmDownload::*mode) {
    main.mnuDownload_Click();
    frmDownload& d = *t.forms().loaded<frmDownload>();
    (d.*mode)->click();
    t.ui.answerSave("").expectBox("Saving file cancelled", "CANCEL SAVE");
    d.CmdOK->click();
    t.ui.verify();
    d.cmdCancel->click();
    processEvents();
  }
  std::string tempfile() { return files::read_all(join_path(s.folders.save_dir, "tempfile.dat")).value_or("<none>"); }
  bool loaded() {
    processEvents();
    return t.forms().isLoaded("frmReports");
  }

  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  Session& s = t.session();
};

TEST_F(ReportWindow, SummaryEndsInTempfileWithHeaderFlowErrorAndSignOffThenSaves) {
  s.summary_file = t.path("pump.sum");
  frmReports& r = receiving("1");
  ASSERT_TRUE(r.GetDataTimer->isActive());
  for (size_t i = 0; i < kSummary.size(); i += 40) tick(r, kSummary.substr(i, 40));

  const std::string signoff = "\r\n        PumpType: LVP" + U(20) + " Pump Tolerance(+/- %): 5" + U(5) +
                              "\r\n\r\n        Technician: Kim" + U(18) + " Signature:" + U(19);
  EXPECT_EQ(tempfile(), S(9) + "SUMMARY\r\n\r\n" + S(9) + "Manufacturer: Acme" + U(14) + "\r\n" + S(9) +
                            "Set Rate(s): 100" + U(10) + " ml/h  VTBI: 50" + U(20) + " ml\r\n        Comment: checked" +
                            U(47) + "\r\n\r\n\r\n\r\n" + S(9) + "Average Rate: 101.0 ml/h\r" + S(14) +
                            "Flow Error:     1.00%\n" + S(9) + "End of summary\r\n" + signoff + "\r\n");
  EXPECT_EQ(r.txtData->toPlainText().toStdString(), S(33) + "End Of Download");
  EXPECT_FALSE(r.GetDataTimer->isActive());
  EXPECT_FALSE(s.download_flags.show_reports_request);
  EXPECT_TRUE(r.cmdPrint->isEnabled());
  EXPECT_TRUE(r.cmdSave->isEnabled());
  EXPECT_TRUE(r.mnuClose->isEnabled());

  r.cmdSave->click();
  EXPECT_EQ(files::read_all(s.summary_file), tempfile());
  EXPECT_FALSE(loaded());
}

TEST_F(ReportWindow, TempfileThatCannotBeWrittenAsksForAnotherName) {
  s.folders.save_dir = t.path("missing");
  frmReports& r = receiving("2");
  t.ui.expectBox("Bad report file name", "INVALID FILE NAME", MsgAnswer::OK, MsgIcon::Exclamation);
  t.ui.answerSave(t.path("kept.dat"));
  tick(r, "line\r\nEND OF DATA\a");
  t.ui.verify();
  EXPECT_EQ(files::read_all(t.path("kept.dat")).value_or("").substr(0, 19), "line\r\nEND OF DATA\r\n");
  EXPECT_EQ(s.folders.save_dir, t.folder());
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), t.folder());

  // No name: the report is not saved and the reception goes on.
  s.folders.save_dir = t.path("missing");
  frmReports& again = receiving("2");
  t.ui.expectBox("Bad report file name", "INVALID FILE NAME");
  t.ui.answerSave("");
  t.ui.expectBox("Saving report cancelled.", "SAVE CANCEL", MsgAnswer::OK, MsgIcon::Exclamation);
  tick(again, "x\r\n\a");
  t.ui.verify();
  EXPECT_FALSE(s.download_flags.download_ok);
  EXPECT_TRUE(again.GetDataTimer->isActive());
}

TEST_F(ReportWindow, ErrorRepliesTellAndNotConnectedStopsTheDownload) {
  frmReports& r = receiving("2");
  t.ui.expectBox("Unsuccessful transmission, check all hardware connections and try again.", "ERROR", MsgAnswer::OK,
                 MsgIcon::Critical);
  t.ui.expectBox("Test or Autosequence is not running", "ERROR");
  tick(r, "?x\r\ne\r\r\nmore");
  t.ui.verify();
  EXPECT_TRUE(loaded());
  EXPECT_TRUE(r.GetDataTimer->isActive());
  EXPECT_EQ(t.serial().sent, "");

  t.ui.expectBox("Current channel selected is not connected.", "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  tick(r, "\r\nnx\r\nlater\r\n");
  t.ui.verify();
  EXPECT_EQ(t.serial().sent, "STB\r");
  EXPECT_FALSE(s.download_flags.show_reports_request);
  EXPECT_FALSE(loaded());
  EXPECT_TRUE(main.isVisible());
}

TEST_F(ReportWindow, CloseBoxWhileReceivingStopsTheTransferForGood) {
  frmReports& r = receiving("2");
  tick(r, "part of a log\r\n");
  r.frame().close();
  EXPECT_FALSE(loaded());
  EXPECT_EQ(t.serial().sent, "STB\r");
  EXPECT_FALSE(s.download_flags.show_reports_request);
  // Closing a dialog over the main window later brings no report window back.
  main.Form_Activate();
  EXPECT_FALSE(loaded());
}

TEST_F(ReportWindow, ReceiveAnyStopThenPrintOrSaveWithoutTempfileIsTold) {
  s.receive_any_file = t.path("any.dat");
  frmReports& r = receiving("4");
  r.txtData->setPlainText(QString::fromStdString(S(29) + "Waiting for Serial Input"));
  r.cmdCancel->setText(QStringLiteral("Stop"));
  r.cmdCancel->click();
  EXPECT_EQ(r.cmdCancel->text(), "Cancel");
  EXPECT_FALSE(r.cmdPrint->isEnabled());
  EXPECT_FALSE(r.GetDataTimer->isActive());
  EXPECT_TRUE(loaded());
  // Stopped for good: a click on the main window takes up no reception, and text the analyser
  // sends later stays unread.
  t.serial().arrive("later\r\n");
  main.Form_Activate();
  run_events(250);
  EXPECT_FALSE(r.GetDataTimer->isActive());
  EXPECT_EQ(t.serial().waiting(), "later\r\n");
  (void)t.serial().input();

  // Something arrived before the stop: print and save are offered, tempfile.dat was not written.
  r.cmdCancel->setText(QStringLiteral("Stop"));
  r.GetDataTimer->start();
  tick(r, "unasked text\r\nmore");
  r.cmdCancel->click();
  EXPECT_TRUE(r.cmdPrint->isEnabled());
  EXPECT_TRUE(r.cmdSave->isEnabled());
  // A temporary report of an earlier download is not this report, whatever file_name says.
  s.file_name = temp_report_file(s.folders);
  ASSERT_TRUE(files::write_all(s.file_name, "an older report\r\n"));
  t.ui.expectBox("Are you sure want to print?", "PRINT", MsgAnswer::Yes, MsgIcon::None, MsgButtons::YesNo);
  t.ui.expectBox("There is no report to print.", "PRINT");
  r.cmdPrint->click();
  t.ui.expectBox("There is no received report to save.", "SAVE");
  r.cmdSave->click();
  t.ui.verify();
  EXPECT_TRUE(loaded());
  EXPECT_TRUE(t.printer.documents.empty());

  // The second press stops the link and closes the window.
  r.cmdCancel->click();
  EXPECT_EQ(t.serial().sent, "STB\r");
  EXPECT_FALSE(loaded());
}

TEST_F(ReportWindow, LostDeviceEndsTheTransferKeepingWhatArrived) {
  frmReports& r = receiving("2");
  tick(r, "first line\r\nsecond");
  t.serial().vanish();
  t.ui.expectBox(
      "Current selected Comm port is not functioning properly.\r\rYou may goto configuration to change comm ports "
      "settings.",
      "ERROR");
  r.GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_FALSE(r.GetDataTimer->isActive());
  EXPECT_FALSE(s.download_flags.show_reports_request);
  EXPECT_EQ(tempfile(), "first line\r\nsecond\r\n");
  EXPECT_TRUE(r.cmdPrint->isEnabled());
  r.GetDataTimer_Timer();  // told once
}

TEST_F(ReportWindow, PrintsPagesOnceAndTellsAFailingPrinterOnce) {
  const std::string file = t.path("report.sum");
  ASSERT_TRUE(files::write_all(file, "\f\r\nhead SUMMARY\r\nTemp.: 21 C\r\n\f\r\nlast\r\n"));
  frmReports& r = t.forms().get<frmReports>();
  t.ui.answerOpen(file);
  r.mnuOpen->trigger();
  r.print_screen();
  const auto pages = t.printer.sentPages();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0], (std::vector<std::string>{"\f", "head SUMMARY"}));
  EXPECT_EQ(pages[1], std::vector<std::string>{"Temp.: 2Fil"});  // "p." in a word: a page and the name
  EXPECT_EQ(pages[2], (std::vector<std::string>{"", S(66) + "p.  2", "        Filename " + file, "\f", "last"}));
  EXPECT_EQ(t.printer.documents[0].pages[0][0].font, "courier new");

  t.printer.fail_from_print = 1;
  t.ui.expectBox(kPrinterFailure, "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  r.print_screen();
  t.ui.verify();
  EXPECT_EQ(t.printer.failures, 1);
  EXPECT_FALSE(t.printer.documents.back().ended);
}

// The received report is what the window prints and saves, whatever file another window chose
// since and whatever mode a later OK of the download dialog left.
TEST_F(ReportWindow, PrintAndSaveKeepToTheReceivedReport) {
  s.summary_file = t.path("pump.sum");
  s.log_file = t.path("earlier.log");
  ASSERT_TRUE(files::write_all(s.log_file, "DATA LOG of last week\r\n"));
  frmReports& r = receiving("1");
  tick(r, kSummary);
  ASSERT_TRUE(r.cmdPrint->isEnabled());
  const std::string report = tempfile();

  // A log opened in the graph window, then a Get Log whose file dialog is cancelled.
  const std::string graph_log = t.path("graph.log");
  ASSERT_TRUE(files::write_all(graph_log, read_test_data("rate_log_82_rows.log")));
  main.mnuGraphLog_Click();
  t.ui.answerOpen(graph_log);
  t.forms().loaded<frmGraph>()->mnuOpen->trigger();
  ASSERT_EQ(s.file_name, graph_log);
  download_cancelled(&frmDownload::optGetLog);
  ASSERT_EQ(s.test_type_code, "2");

  t.ui.expectBox("Are you sure want to print?", "PRINT", MsgAnswer::Yes);
  r.cmdPrint->click();
  t.ui.verify();
  ASSERT_EQ(t.printer.documents.size(), 1u);
  EXPECT_EQ(t.printer.sentPages()[0][0], S(9) + "SUMMARY");
  r.cmdSave->click();
  EXPECT_EQ(files::read_all(s.summary_file), report);
  EXPECT_EQ(files::read_all(s.log_file), "DATA LOG of last week\r\n");
  EXPECT_FALSE(loaded());
}

// An opened and edited report goes back to its own file, on every road that saves it, after a
// Get Summary whose file dialog was cancelled; the summary last downloaded keeps its text.
TEST_F(ReportWindow, OpenedReportIsSavedToItsOwnFileAfterACancelledDownload) {
  s.summary_file = t.path("earlier.sum");
  ASSERT_TRUE(files::write_all(s.summary_file, "SUMMARY downloaded earlier\r\n"));
  const std::string a = t.path("a.sum");
  ASSERT_TRUE(files::write_all(a, "SUMMARY a\r\n"));
  main.mnuEdit_Click();
  frmReports& r = *t.forms().loaded<frmReports>();
  t.ui.answerOpen(a);
  r.mnuOpen->trigger();
  r.txtData->appendPlainText(QStringLiteral("typed"));
  download_cancelled(&frmDownload::optGetSummary);
  ASSERT_EQ(s.test_type_code, "1");

  t.ui.answerOpen("").expectBox("Converting Log file to Spreadsheet format cancelled", "CANCEL");
  r.mnuConvertPrn->trigger();
  t.ui.verify();
  EXPECT_EQ(files::read_all(a), "SUMMARY a\r\n\r\ntyped\r\n");
  r.txtData->appendPlainText(QStringLiteral("more"));
  r.mnuClose->trigger();
  EXPECT_EQ(files::read_all(a), "SUMMARY a\r\n\r\ntyped\r\nmore\r\n");
  EXPECT_EQ(files::read_all(s.summary_file), "SUMMARY downloaded earlier\r\n");
  EXPECT_FALSE(loaded());
}

// Two copies of the program on one settings file and one save folder: each receives into,
// prints and deletes only its own temporary report. A name a crashed copy held is free again.
TEST_F(ReportWindow, TwoCopiesKeepTheirOwnTemporaryReports) {
  IniSettingsStore store(t.settings().path());
  ScriptedSerial serial;
  ScriptedUi ui;
  FakeClock clock;
  RecordingPrinter printer;
  auto other = std::make_unique<App>(store, serial, ui, clock);
  other->setPrinter(printer);
  frmMain& other_main = other->forms().get<frmMain>();
  const std::string folder = s.folders.save_dir;
  ASSERT_EQ(other->session().folders.save_dir, folder);
  // A summary received in a copy's report window.
  const auto receive = [](App& app, ScriptedSerial& port, frmMain& m, const std::string& text) -> frmReports& {
    app.session().test_type_code = "1";
    app.forms().get<frmReports>().prepare_download("");
    app.session().download_flags.show_reports_request = true;
    m.Form_Activate();
    frmReports& r = *app.forms().loaded<frmReports>();
    port.arrive(text);
    r.GetDataTimer_Timer();
    return r;
  };
  const auto first_line = [](const RecordingPrinter& p) { return p.documents.back().pages.at(0).at(0).text; };
  const auto file = [&](const char* name) { return files::read_all(join_path(folder, name)).value_or("<none>"); };

  // What a copy that crashed left: its report and its unlocked lock file.
  ASSERT_TRUE(files::write_all(join_path(folder, "tempfile2.dat"), "SUMMARY left by a crash\r\n"));
  ASSERT_TRUE(files::write_all(join_path(folder, ".tempfile2.dat.lock"), ""));
  frmReports& mine = receive(t.app(), t.serial(), main, "SUMMARY of pump A\r\n\a");
  frmReports& theirs = receive(*other, serial, other_main, "SUMMARY of pump B\r\n\a");
  EXPECT_EQ(file("tempfile.dat").substr(0, 19), "SUMMARY of pump A\r\n");
  EXPECT_EQ(file("tempfile2.dat").substr(0, 19), "SUMMARY of pump B\r\n");
  mine.print_screen();
  theirs.print_screen();
  EXPECT_EQ(first_line(t.printer), "SUMMARY of pump A");
  EXPECT_EQ(first_line(printer), "SUMMARY of pump B");

  // The other copy ends: its report goes, this one's stays and still prints.
  ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  other_main.mnuExit_Click();
  ui.verify();
  other.reset();
  processEvents();
  EXPECT_EQ(file("tempfile2.dat"), "<none>");
  EXPECT_EQ(file("tempfile.dat").substr(0, 19), "SUMMARY of pump A\r\n");
  mine.print_screen();
  EXPECT_EQ(first_line(t.printer), "SUMMARY of pump A");

  // This one ends: nothing of either is left in the folder.
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main.mnuExit_Click();
  t.ui.verify();
  EXPECT_TRUE(QDir(pathToQ(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(ReportWindow, EditMenuWorksOnTheSelectionThroughTheClipboard) {
  frmReports& r = t.forms().get<frmReports>();
  r.setReportText("one\r\ntwo\r\n");
  QTextCursor c = r.txtData->textCursor();
  c.setPosition(2);
  c.setPosition(6, QTextCursor::KeepAnchor);  // "e" LF "tw"
  r.txtData->setTextCursor(c);
  r.mnuCopy->trigger();
  EXPECT_EQ(t.ui.clipboard, "e\r\ntw");
  r.mnuCut->trigger();
  EXPECT_EQ(r.reportText(), "ono\r\n");
  t.ui.clipboard = "X\r\nY";
  r.mnuPaste->trigger();
  EXPECT_EQ(r.reportText(), "onX\r\nYo\r\n");
  c = r.txtData->textCursor();
  c.setPosition(0);
  c.setPosition(2, QTextCursor::KeepAnchor);
  r.txtData->setTextCursor(c);
  r.mnuDelete->trigger();
  EXPECT_EQ(r.reportText(), "X\r\nYo\r\n");
  r.mnuClearAll->trigger();
  EXPECT_EQ(r.reportText(), "");
}

TEST_F(ReportWindow, OpenEditThenSaveAndExitWritesTheTextToTheOpenedFileOnly) {
  // Lines ended by LF alone, the last one by nothing: Save And Exit without a change keeps them.
  const std::string file = t.path("old.log");
  ASSERT_TRUE(files::write_all(file, "DATA LOG\nrow"));
  main.mnuEdit_Click();
  t.ui.answerOpen(file);
  t.forms().loaded<frmReports>()->mnuOpen->trigger();
  t.forms().loaded<frmReports>()->mnuClose->trigger();
  EXPECT_EQ(files::read_all(file), "DATA LOG\nrow");
  EXPECT_FALSE(loaded());

  main.mnuEdit_Click();
  frmReports& r = *t.forms().loaded<frmReports>();
  t.ui.answerOpen(file);
  r.mnuOpen->trigger();
  EXPECT_EQ(t.ui.open_dialogs.back().DialogTitle, "OPEN EDIT");
  EXPECT_EQ(r.windowTitle().toStdString(), "REPORT - " + file);
  EXPECT_EQ(s.test_type_code, "5");
  EXPECT_TRUE(r.mnuClose->isEnabled());
  // Another window's dialog chose a file meanwhile: printing and saving keep to the opened one.
  const std::string other = t.path("graph.log");
  ASSERT_TRUE(files::write_all(other, "a large log\r\n"));
  s.file_name = other;
  t.ui.expectBox("Are you sure want to print?", "PRINT", MsgAnswer::Yes);
  r.mnuPrint->trigger();
  EXPECT_EQ(t.printer.sentPages(), (std::vector<std::vector<std::string>>{{"DATA LOG", "row"}}));
  s.file_name = other;
  r.txtData->appendPlainText(QStringLiteral("edited"));
  r.mnuClose->trigger();
  EXPECT_EQ(files::read_all(file), "DATA LOG\r\nrow\r\n\r\nedited\r\n");
  EXPECT_EQ(files::read_all(other), "a large log\r\n");
  EXPECT_FALSE(loaded());
}

TEST_F(ReportWindow, ConvertingLogsAfterOpenLeavesEveryLogAsItWas) {
  const std::string rate_log = read_test_data("rate_log_82_rows.log");
  const std::string text = t.path("notes.sum"), l1 = t.path("L1.log"), l2 = t.path("L2.LOG");
  ASSERT_TRUE(files::write_all(text, "SUMMARY\nof a pump"));
  ASSERT_TRUE(files::write_all(l1, rate_log));
  ASSERT_TRUE(files::write_all(l2, rate_log));
  main.mnuEdit_Click();
  frmReports& r = *t.forms().loaded<frmReports>();
  t.ui.answerOpen(text);
  r.mnuOpen->trigger();

  // L1, then the live tests' own ".LOG" name, then a conversion cancelled.
  t.ui.answerOpen(l1).expectBox("Successful conversion", "SUCCESS");
  r.mnuConvertPrn->trigger();
  t.ui.answerOpen(l2).expectBox("Successful conversion", "SUCCESS");
  r.mnuConvertPrn->trigger();
  t.ui.answerOpen("").expectBox("Converting Log file to Spreadsheet format cancelled", "CANCEL");
  r.mnuConvertPrn->trigger();
  t.ui.verify();
  EXPECT_EQ(t.ui.open_dialogs.back().DialogTitle, "CONVERT TO CSV");
  EXPECT_EQ(files::read_all(l1), rate_log);
  EXPECT_EQ(files::read_all(l2), rate_log);
  EXPECT_EQ(files::read_all(text), "SUMMARY\nof a pump");
  const std::optional<std::string> csv = files::read_all(t.path("L2.CSV"));
  ASSERT_TRUE(csv);
  EXPECT_EQ(files::read_all(t.path("L1.CSV")), *csv);

  // Edited, the report is saved to its own file before the next conversion.
  r.txtData->appendPlainText(QStringLiteral("checked"));
  t.ui.answerOpen(l1).expectBox("Successful conversion", "SUCCESS");
  r.mnuConvertPrn->trigger();
  EXPECT_EQ(files::read_all(text), "SUMMARY\r\nof a pump\r\n\r\nchecked\r\n");
  EXPECT_EQ(files::read_all(l1), rate_log);
}

TEST_F(ReportWindow, TextAreaGrowsWithTheWindowWhenEditing) {
  main.mnuEdit_Click();
  frmReports& r = *t.forms().loaded<frmReports>();
  processEvents();
  // Margins to the right and below, held at every size.
  const auto margins = [&r] {
    const QSize area = r.clientArea->size();
    const QRect text = r.txtData->geometry(), cancel = r.cmdCancel->geometry();
    return std::vector<int>{area.width() - text.right(), area.height() - cancel.bottom(), area.width() - cancel.right(),
                            cancel.top() - text.bottom()};
  };
  const std::vector<int> design = margins();
  const QSize text = r.txtData->size();
  r.frame().resize(r.frame().size() + QSize(300, 200));
  processEvents();
  EXPECT_EQ(r.txtData->size(), text + QSize(300, 200));
  EXPECT_EQ(margins(), design);
  r.frame().showMaximized();
  processEvents();
  EXPECT_GT(r.txtData->width(), text.width());
  EXPECT_EQ(margins(), design);

  // The receiving layout keeps its one status line and its buttons where they are.
  t.forms().unload<frmReports>();
  frmReports& rx = receiving("2");
  processEvents();
  const QRect line = rx.txtData->geometry(), cancel = rx.cmdCancel->geometry();
  rx.frame().resize(rx.frame().size() + QSize(300, 200));
  processEvents();
  EXPECT_EQ(rx.txtData->geometry(), line);
  EXPECT_EQ(rx.cmdCancel->geometry(), cancel);
}

TEST_F(ReportWindow, PrintsIntoARealPdf) {
  QTemporaryDir out;
  const std::string pdf = out.filePath(QStringLiteral("report.pdf")).toStdString();
  ::setenv("QTX_PRINT_PDF", pdf.c_str(), 1);
  auto printer = make_qt_printer();
  t.app().setPrinter(*printer);
  // A file name of 49 characters reaches the "p." of a page line.
  std::string file = t.folder() + "/";
  file += std::string(49 - file.size() - 4, 'n') + ".log";
  ASSERT_EQ(file.size(), 49u);
  ASSERT_TRUE(files::write_all(file, S(67) + "p. 01\r\n  SUMMARY\r\n\f\r\nTemp.: 21 C\r\n" + S(67) + "p. 02\r\nend\r\n"));
  frmReports& r = t.forms().get<frmReports>();
  t.ui.answerOpen(file);
  r.mnuOpen->trigger();
  r.print_screen();
  ::unsetenv("QTX_PRINT_PDF");

  std::string text;
  FILE* p = ::popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
  ::pclose(p);
  // The layout's blanks are pdftotext's estimate: runs of blanks count as one.
  std::vector<std::string> pages;
  for (size_t a = 0, b; (b = text.find('\f', a)) != std::string::npos; a = b + 1) {
    std::string page;
    for (char c : text.substr(a, b - a))
      if (c != ' ' || page.empty() || page.back() != ' ') page.push_back(c);
    pages.push_back(page);
  }
  ASSERT_EQ(pages.size(), 4u) << text;
  EXPECT_NE(pages[0].find("Filename: " + file + ". 01"), std::string::npos) << pages[0];
  EXPECT_NE(pages[0].find("SUMMARY"), std::string::npos);
  EXPECT_NE(pages[1].find("p. 2"), std::string::npos) << pages[1];
  EXPECT_NE(pages[1].find("Filename " + file), std::string::npos);
  EXPECT_NE(pages[2].find("Temp.: 2Fil"), std::string::npos) << pages[2];
  EXPECT_NE(pages[3].find("Filename: " + file + ". 02"), std::string::npos) << pages[3];
  EXPECT_NE(pages[3].find("end"), std::string::npos);
}
