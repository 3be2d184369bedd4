// The download dialog, the start of a download or live run, and the main window's hand-over,
// with the analyser simulator on a pseudo-terminal reading what the program sends.
#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "acquisition/frmReports.h"
#include "core/paths.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "records/frmHeader.h"
#include "shell/frmChangePort.h"
#include "shell/frmMain.h"
#include "shell/frmTestPort.h"
#include "support/analyser_sim.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

const char* const kNoModeOrChannel = "You must select a Channel or a Mode type.";
const char* const kIncompleteCriteria = "You must complete the Real Time criteria.";
const char* const kStartTest = "Please start Kolvanta and then press 'OK'";
const char* const kSaveCancelled = "Saving file cancelled";
const std::string kWaiting = std::string(29, ' ') + "Waiting for Serial Input";

// Opens the dialog from the Download item (modeless); `user` acts in it. When OK hides it, the
// main window is activated again.
void download(TestApp& t, frmMain& main, const std::function<void(frmDownload&)>& user) {
  main.mnuDownload->trigger();
  frmDownload* d = t.forms().loaded<frmDownload>();
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(d->isVisible());
  user(*d);
  processEvents();
}

// The device-record dialog, shown by the start: `user` fills it before Continue.
void expect_header(TestApp& t, const std::function<void(frmHeader&)>& user = {}) {
  t.ui.onModal("frmHeader", [user](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    if (user) user(h);
    h.cmdContinue->click();
  });
}

std::vector<std::string> save_titles(const TestApp& t) {
  std::vector<std::string> titles;
  for (const CommonDialog& d : t.ui.save_dialogs) titles.push_back(d.DialogTitle);
  return titles;
}

// Everything the program has sent since the last call: a marker goes out after it and, once
// the simulator has the marker, whatever went before it has arrived too.
std::string sent_before_marker(TestApp& t, AnalyserSim& sim) {
  const std::string marker = "ZZ\r";
  EXPECT_TRUE(t.comm().output(marker));
  EXPECT_TRUE(sim.waitForReceived(marker));
  std::string all = sim.received();
  sim.clearReceived();
  return all.size() >= marker.size() ? all.substr(0, all.size() - marker.size()) : all;
}

bool loaded(TestApp& t, const char* name) {
  processEvents();
  return t.forms().isLoaded(name);
}

void expect_receiving_layout(frmReports& r) {
  EXPECT_TRUE(r.Visible());
  EXPECT_EQ(r.Height(), 2100);
  EXPECT_LT(r.Height(), 3000);
  EXPECT_EQ(r.txtData->pos(), QPoint(8, 8));
  EXPECT_LT(r.txtData->geometry().bottom(), 1030 / kTwipsPerPixel);  // clear of the buttons
  EXPECT_GE(r.txtData->height(), r.txtData->fontMetrics().height());
  EXPECT_EQ(r.cmdCancel->pos(), QPoint(600, 68));
  EXPECT_EQ(r.cmdPrint->pos(), QPoint(496, 68));
  EXPECT_EQ(r.cmdSave->pos(), QPoint(392, 68));
  EXPECT_TRUE(r.cmdPrint->isVisible());
  EXPECT_TRUE(r.cmdSave->isVisible());
  EXPECT_FALSE(r.cmdPrint->isEnabled());  // offered once the report is complete
  EXPECT_FALSE(r.cmdSave->isEnabled());
  EXPECT_FALSE(r.mnuFile->menuAction()->isVisible());
  EXPECT_FALSE(r.mnuEdit->menuAction()->isVisible());
  EXPECT_FALSE(r.mnuOptions->menuAction()->isVisible());
  EXPECT_FALSE(r.menuBar->isVisible());
  EXPECT_TRUE(r.GetDataTimer->isActive());
  EXPECT_EQ(r.GetDataTimer->interval(), 100);
  // The buttons are inside the window.
  EXPECT_LE(r.clientArea->mapTo(&r.frame(), r.cmdCancel->geometry().bottomRight()).y(), r.frame().height());
}

void expect_report_menus_off(frmReports& r) {
  for (QAction* a : {r.mnuClearAll, r.mnuCut, r.mnuCopy, r.mnuPaste, r.mnuDelete, r.mnuOpen, r.mnuPrint, r.mnuClose,
                     r.mnuConvertPrn})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

}  // namespace

// The program with COM2 on a simulated analyser, its main window shown. The simulator is
// declared first, so the program's port closes before the simulator goes away.
class OnAnalyser : public ::testing::Test {
 protected:
  OnAnalyser() { main.show(); }
  AnalyserSim sim;
  TestApp t;
  frmMain& main = (t.setPort(2, sim.ptyPath()), load_main(t));
  Session& s = t.session();
};
class DownloadDialogOnAnalyser : public OnAnalyser {};
class DownloadStartOnAnalyser : public OnAnalyser {};

TEST_F(DownloadDialogOnAnalyser, ValidationAndCancel) {
  // Requests left by an earlier run, which has ended: Cancel clears them.
  s.download_flags.show_reports_request = true;
  s.download_flags.show_rt_request = true;
  frmReports& reports = t.forms().get<frmReports>();
  reports.GetDataTimer->stop();
  reports.mnuPrint->setEnabled(true);

  download(t, main, [&](frmDownload& d) {
    EXPECT_TRUE(d.chkSaveFile->isChecked());
    EXPECT_TRUE(d.optChannelA->isChecked());
    for (QRadioButton* m : {d.optGetLog, d.optRealTime, d.optGetSummary, d.optReceiveAny}) EXPECT_FALSE(m->isChecked());
    EXPECT_FALSE(d.fraRealTime->isEnabled());
    EXPECT_FALSE(d.chkSingle->isEnabled());
    EXPECT_EQ(d.cmbPoll->currentText(), "1");
    EXPECT_EQ(d.cmbDuration->currentText(), "0.5");
    EXPECT_EQ(d.cmbOccl->currentText(), "0.5");
    EXPECT_FALSE(s.download_started);

    // Right after opening: a channel but no mode.
    t.ui.expectBox(kNoModeOrChannel, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(reports.mnuPrint->isEnabled());

    // Real-Time with no test, and with the rate test but no poll interval.
    d.optRealTime->click();
    t.ui.expectBox(kIncompleteCriteria, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    d.CmdOK->click();
    d.chkSingle->click();
    d.cmbPoll->setEditText("");
    t.ui.expectBox(kIncompleteCriteria, "ERROR", MsgAnswer::OK, MsgIcon::Critical, MsgButtons::OK);
    d.CmdOK->click();
    t.ui.verify();
    d.get_download_options();
    EXPECT_FALSE(d.criteria_complete);
    d.chkOccl->click();  // the occlusion test alone is enough
    d.get_download_options();
    EXPECT_TRUE(d.criteria_complete);
    d.chkSingle->click();
    d.cmbPoll->setEditText("10");
    d.chkSingle->click();
    d.get_download_options();
    EXPECT_TRUE(d.criteria_complete);
    EXPECT_EQ(s.test_type_code, "3");
    d.optChannelD->click();
    d.get_download_options();
    EXPECT_EQ(s.channel_code, "D");

    d.cmdCancel->click();
  });
  EXPECT_FALSE(loaded(t, "frmDownload"));
  EXPECT_FALSE(s.download_flags.show_rt_request);
  EXPECT_FALSE(s.download_flags.show_ot_request);
  EXPECT_FALSE(s.download_flags.show_reports_request);
  EXPECT_FALSE(s.download_started);
  EXPECT_TRUE(t.ui.save_dialogs.empty());
  // The activation after the dialog showed no acquisition window.
  EXPECT_FALSE(reports.isVisible());
  EXPECT_FALSE(loaded(t, "frmRTGraph"));
  EXPECT_FALSE(loaded(t, "frmOTGraph"));

  // The next opening starts from the load defaults again.
  download(t, main, [&](frmDownload& d) {
    EXPECT_FALSE(d.optRealTime->isChecked());
    EXPECT_TRUE(d.optChannelA->isChecked());
    EXPECT_FALSE(d.chkOccl->isChecked());
    EXPECT_EQ(d.cmbPoll->currentText(), "1");
    d.cmdCancel->click();
  });
}

TEST(DownloadDialog, EnablingFollowsTheChoices) {
  TestApp t;
  load_main_without_ports(t);
  frmDownload& d = t.forms().get<frmDownload>();

  d.optRealTime->click();
  EXPECT_TRUE(d.fraRealTime->isEnabled());
  EXPECT_TRUE(d.chkSingle->isEnabled());
  EXPECT_TRUE(d.chkOccl->isEnabled());
  EXPECT_FALSE(d.optIndefinite->isEnabled());
  EXPECT_FALSE(d.cmbOccl->isEnabled());
  for (QWidget* w : {static_cast<QWidget*>(d.chkReport), static_cast<QWidget*>(d.cmbPoll),
                     static_cast<QWidget*>(d.lblPoll), static_cast<QWidget*>(d.chkTestAuto)})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

  d.chkOccl->click();
  EXPECT_EQ(d.test_type, 4);
  EXPECT_TRUE(d.cmbOccl->isEnabled());
  EXPECT_TRUE(d.optPSI->isChecked());
  EXPECT_TRUE(d.optkPa->isEnabled());
  d.chkSingle->click();
  EXPECT_EQ(d.test_type, 1);
  EXPECT_TRUE(d.optIndefinite->isChecked());
  EXPECT_FALSE(d.optDuration->isChecked());
  EXPECT_FALSE(d.cmbDuration->isEnabled());
  d.optDuration->click();
  EXPECT_TRUE(d.cmbDuration->isEnabled());
  EXPECT_TRUE(d.lblTestLengthUnits->isEnabled());
  d.optIndefinite->click();
  EXPECT_FALSE(d.cmbDuration->isEnabled());
  d.optDuration->click();

  // "Summary to File" is selected whenever "Report Output" is ticked.
  EXPECT_FALSE(d.optFile->isEnabled());
  d.chkReport->click();
  EXPECT_TRUE(d.optFile->isChecked());
  EXPECT_TRUE(d.optPrinter->isEnabled());
  d.optPrinter->click();
  d.chkReport->click();
  EXPECT_FALSE(d.optFile->isEnabled());
  EXPECT_FALSE(d.optPrinter->isEnabled());
  d.chkReport->click();
  EXPECT_TRUE(d.optFile->isChecked());
  EXPECT_FALSE(d.optPrinter->isChecked());

  // Unticking the rate test while the occlusion test stays ticked keeps the common choices.
  d.chkSingle->click();
  EXPECT_FALSE(d.optDuration->isEnabled());
  EXPECT_FALSE(d.cmbDuration->isEnabled());
  for (QWidget* w :
       {static_cast<QWidget*>(d.chkReport), static_cast<QWidget*>(d.cmbPoll), static_cast<QWidget*>(d.lblUnits),
        static_cast<QWidget*>(d.chkTestAuto), static_cast<QWidget*>(d.optFile)})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(d.chkReport->isChecked());
  // Unticking both turns them off and unticks "Report Output".
  d.chkOccl->click();
  EXPECT_FALSE(d.cmbOccl->isEnabled());
  EXPECT_FALSE(d.chkReport->isChecked());
  for (QWidget* w : {static_cast<QWidget*>(d.chkReport), static_cast<QWidget*>(d.cmbPoll),
                     static_cast<QWidget*>(d.chkTestAuto), static_cast<QWidget*>(d.optFile)})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

  // Get Log after ticking a test keeps the tick, disabled; Real-Time again unticks both.
  d.chkSingle->click();
  d.chkOccl->click();
  d.optmmHg->click();
  d.optGetLog->click();
  EXPECT_TRUE(d.chkSingle->isChecked());
  EXPECT_TRUE(d.chkOccl->isChecked());
  EXPECT_FALSE(d.chkSingle->isEnabled());
  EXPECT_FALSE(d.fraRealTime->isEnabled());
  EXPECT_FALSE(d.chkTestAuto->isEnabled());
  d.chkSingle->click();  // a disabled box takes no click
  EXPECT_TRUE(d.chkSingle->isChecked());
  d.optRealTime->click();
  EXPECT_FALSE(d.chkSingle->isChecked());
  EXPECT_FALSE(d.chkOccl->isChecked());
  EXPECT_FALSE(d.chkTestAuto->isEnabled());
  // Ticking the occlusion test again goes back to PSI.
  d.chkOccl->click();
  EXPECT_TRUE(d.optPSI->isChecked());
}

TEST_F(DownloadStartOnAnalyser, GetLogWithoutSavingAndTheRepeatedHandOver) {

  download(t, main, [&](frmDownload& d) {
    d.chkSaveFile->click();
    d.optGetLog->click();
    d.CmdOK->click();
    EXPECT_FALSE(d.isVisible());
  });
  ASSERT_TRUE(sim.waitForReceived("DLA2\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "DLA2\r");
  EXPECT_TRUE(t.ui.save_dialogs.empty());
  EXPECT_TRUE(t.ui.modal_forms.empty());
  EXPECT_EQ(s.test_type_code, "2");
  EXPECT_EQ(s.file_name, join_path(s.folders.save_dir, "tempfile.dat"));
  EXPECT_TRUE(s.download_started);
  EXPECT_TRUE(s.download_flags.download_ok);
  EXPECT_TRUE(s.download_flags.show_reports_request);
  // The dialog stays loaded, hidden, with its choices.
  frmDownload* d = t.forms().loaded<frmDownload>();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(d->optGetLog->isChecked());
  EXPECT_EQ(frmDownload::value(d->chkSaveFile), 0);

  frmReports* r = t.forms().loaded<frmReports>();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->windowTitle(), "REPORT");
  EXPECT_EQ(r->txtData->toPlainText(), "");
  EXPECT_EQ(r->cmdCancel->text(), "&Cancel");
  expect_report_menus_off(*r);
  expect_receiving_layout(*r);
  // Centred in the main window's area.
  const QSize area = main.mdiArea->viewport()->size();
  EXPECT_NEAR(r->frame().x(), (area.width() - r->frame().width()) / 2, 1);
  EXPECT_NEAR(r->frame().y(), (area.height() - r->frame().height()) / 2, 1);

  // Every activation repeats the hand-over while the request stands: the test windows go and
  // the report window is laid out for receiving again.
  frmRTGraph& rt = t.forms().get<frmRTGraph>();
  rt.Show();
  r->GetDataTimer->stop();
  r->setHeight(6000);
  main.Form_Activate();
  EXPECT_FALSE(loaded(t, "frmRTGraph"));
  EXPECT_TRUE(s.download_flags.show_reports_request);  // never cleared there
  EXPECT_EQ(t.forms().loaded<frmReports>(), r);
  expect_receiving_layout(*r);

  // "Edit Summary or Data Log" while the log is on its way leaves the window to its transfer.
  t.ui.expectBox(frmMain::kEditDuringTransfer, "EDIT", MsgAnswer::OK, MsgIcon::Exclamation);
  main.mnuEdit_Click();
  t.ui.verify();
  EXPECT_EQ(t.forms().loaded<frmReports>(), r);
  expect_receiving_layout(*r);
  EXPECT_TRUE(r->GetDataTimer->isActive());
}

TEST_F(DownloadStartOnAnalyser, GetSummarySavedAsksForTheRecordBeforeSending) {
  const std::string name = t.path("pump.sum");

  download(t, main, [&](frmDownload& d) {
    t.ui.answerSave(name);
    expect_header(t, [&](frmHeader& h) {
      // Nothing has gone out yet.
      EXPECT_EQ(sent_before_marker(t, sim), "");
      EXPECT_TRUE(s.download_started);
      h.cmbHdr[kManufacturer]->setEditText(QStringLiteral("Acme"));
    });
    d.optChannelC->click();
    d.optGetSummary->click();
    d.CmdOK->click();
  });
  ASSERT_TRUE(sim.waitForReceived("DLC1\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "DLC1\r");
  EXPECT_EQ(t.ui.modal_forms, std::vector<std::string>{"frmHeader"});
  ASSERT_EQ(save_titles(t), std::vector<std::string>{"GET SUMMARY DATA"});
  EXPECT_EQ(t.ui.save_dialogs[0].DefaultExt, "SUM");  // summaries listed first
  EXPECT_EQ(s.summary_file, name);
  EXPECT_EQ(s.channel_code, "C");
  EXPECT_EQ(s.device_record.manufacturer, "Acme");
  EXPECT_FALSE(files::exists(name));  // the report window writes it, not the start

  frmReports* r = t.forms().loaded<frmReports>();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->windowTitle().toStdString(), "REPORT - " + name);
  expect_receiving_layout(*r);
}

TEST_F(DownloadStartOnAnalyser, ReceiveAnySendsNothingAndWaits) {
  const std::string name = t.path("any.dat");

  download(t, main, [&](frmDownload& d) {
    d.optReceiveAny->click();
    // A cancelled question starts nothing and leaves the dialog as it was.
    t.ui.answerSave("");
    t.ui.expectBox(kSaveCancelled, "CANCEL SAVE");
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.optReceiveAny->isChecked());
    EXPECT_FALSE(s.download_flags.download_ok);
    EXPECT_FALSE(s.download_flags.show_reports_request);
    EXPECT_FALSE(t.forms().isLoaded("frmReports"));

    t.ui.answerSave(name);
    d.CmdOK->click();
  });
  EXPECT_EQ(save_titles(t), (std::vector<std::string>{"RECEIVE ANY DATA", "RECEIVE ANY DATA"}));
  EXPECT_EQ(sent_before_marker(t, sim), "");
  EXPECT_EQ(s.test_type_code, "4");
  EXPECT_EQ(s.receive_any_file, name);
  EXPECT_TRUE(s.download_flags.show_reports_request);
  EXPECT_FALSE(loaded(t, "frmDownload") && t.forms().loaded<frmDownload>()->isVisible());

  frmReports* r = t.forms().loaded<frmReports>();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->windowTitle().toStdString(), "REPORT - " + name);
  EXPECT_EQ(r->txtData->toPlainText().toStdString(), kWaiting);
  EXPECT_EQ(r->cmdCancel->text(), "Stop");
  expect_report_menus_off(*r);
  expect_receiving_layout(*r);

  // A second OK while it receives starts nothing over it.
  download(t, main, [&](frmDownload& d) {
    d.chkSaveFile->click();
    t.ui.expectBox(frmDownload::kTransferRunning, "DOWNLOAD", MsgAnswer::OK, MsgIcon::Exclamation);
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_TRUE(d.isVisible());
  });
  EXPECT_EQ(t.ui.save_dialogs.size(), 2u);
  EXPECT_EQ(r->windowTitle().toStdString(), "REPORT - " + name);
  EXPECT_TRUE(r->GetDataTimer->isActive());

  // Without saving: the temporary report file and the plain caption, once the first reception
  // is stopped.
  r->cmdCancel_Click();
  t.ui.modal_forms.clear();
  download(t, main, [&](frmDownload& d) {
    EXPECT_TRUE(d.optReceiveAny->isChecked());  // shown again as it was left
    EXPECT_EQ(frmDownload::value(d.chkSaveFile), 0);
    d.CmdOK->click();
  });
  EXPECT_EQ(t.ui.save_dialogs.size(), 2u);
  EXPECT_EQ(s.file_name, join_path(s.folders.save_dir, "tempfile.dat"));
  EXPECT_EQ(t.forms().loaded<frmReports>()->windowTitle(), "REPORT");
  EXPECT_EQ(sent_before_marker(t, sim), "");
}

TEST_F(DownloadStartOnAnalyser, RealTimeBothTestsAsksFourNamesInOrder) {
  const std::string rate_log = t.path("rate.log");
  const std::string occl_log = t.path("occl.log");
  const std::string rate_sum = t.path("rate.sum");
  const std::string occl_sum = t.path("occl.sum");

  download(t, main, [&](frmDownload& d) {
    d.optRealTime->click();
    d.chkSingle->click();
    d.chkOccl->click();
    d.chkReport->click();
    ASSERT_TRUE(d.optFile->isChecked());

    // The third question cancelled: nothing starts, the dialog keeps its choices.
    t.ui.answerSave(rate_log).answerSave(occl_log).answerSave("");
    t.ui.expectBox(kSaveCancelled, "CANCEL SAVE");
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.chkSingle->isChecked());
    EXPECT_TRUE(d.chkOccl->isChecked());
    EXPECT_TRUE(d.optFile->isChecked());
    EXPECT_EQ(s.rt_data_file, rate_log);
    EXPECT_EQ(s.ot_data_file, occl_log);
    EXPECT_FALSE(s.download_flags.download_ok);
    EXPECT_FALSE(s.download_flags.show_rt_request);
    EXPECT_FALSE(s.test_phase_flags.rt_phase);
    EXPECT_FALSE(files::exists(rate_log));
    EXPECT_FALSE(files::exists(occl_log));
    EXPECT_EQ(sent_before_marker(t, sim), "");
    ASSERT_EQ(save_titles(t), (std::vector<std::string>{"SAVE REAL TIME DATA", "SAVE REAL TIME OCCLUSION DATA",
                                                        "SAVE REAL TIME DATA SUMMARY"}));
    EXPECT_EQ(t.ui.save_dialogs[0].DefaultExt, "LOG");  // logs listed first for the log names
    EXPECT_EQ(t.ui.save_dialogs[1].DefaultExt, "LOG");
    EXPECT_EQ(t.ui.save_dialogs[2].DefaultExt, "SUM");
    t.ui.save_dialogs.clear();

    // All four names, the record, the prompt, then the command.
    t.ui.answerSave(rate_log).answerSave(occl_log).answerSave(rate_sum).answerSave(occl_sum);
    expect_header(t, [&](frmHeader& h) {
      EXPECT_TRUE(h.lblMandatoryFields->isVisible());
      EXPECT_TRUE(s.single_rate_checked);
      h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("100"));  // required for a rate test
      h.cmbHdr[kManufacturer]->setEditText(QStringLiteral("Acme"));
    });
    t.ui.expectBox(kStartTest, "START TEST", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(save_titles(t),
            (std::vector<std::string>{"SAVE REAL TIME DATA", "SAVE REAL TIME OCCLUSION DATA",
                                      "SAVE REAL TIME DATA SUMMARY", "SAVE REAL TIME OCCLUSION DATA SUMMARY"}));
  ASSERT_TRUE(sim.waitForReceived("GRA1\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "GRA1\r");

  const DownloadFlags& f = s.download_flags;
  EXPECT_TRUE(f.download_ok && f.show_rt_request && f.single_rate_selected && f.occlusion_selected);
  EXPECT_TRUE(f.log_rt_data && f.log_ot_data && f.save_rt_summary && f.save_ot_summary);
  EXPECT_FALSE(f.show_ot_request || f.show_reports_request);
  EXPECT_TRUE(s.test_phase_flags.rt_phase);
  EXPECT_FALSE(s.test_phase_flags.ot_phase);
  EXPECT_EQ(s.rt_sum_file, rate_sum);
  EXPECT_EQ(s.ot_sum_file, occl_sum);
  EXPECT_TRUE(s.header_entered);
  EXPECT_EQ(t.forms().loaded<frmDownload>()->test_type, 1);
  // Only the rate log's header is written now; the occlusion log waits for its test.
  std::optional<std::string> header = files::read_all(rate_log);
  ASSERT_TRUE(header.has_value());
  EXPECT_NE(header->find("Acme"), std::string::npos);
  EXPECT_EQ(header->substr(header->size() - 2), "\r\n");
  EXPECT_FALSE(files::exists(occl_log));
  s.rt_log.file.reset();

  // The hand-over: the rate-test window, polling.
  EXPECT_FALSE(loaded(t, "frmReports"));
  frmRTGraph* rt = t.forms().loaded<frmRTGraph>();
  ASSERT_NE(rt, nullptr);
  EXPECT_TRUE(rt->Visible());
  EXPECT_EQ(rt->windowTitle().toStdString(), "RATE TEST  -  " + rate_log);
  EXPECT_TRUE(rt->GetDataTimer->isActive());
  EXPECT_FALSE(loaded(t, "frmOTGraph"));
}

TEST_F(DownloadStartOnAnalyser, RealTimeWithoutSaving) {

  // Only the occlusion test, started by the program: no question, no record, no prompt.
  t.forms().get<frmReports>().Show();
  download(t, main, [&](frmDownload& d) {
    d.chkSaveFile->click();
    d.optChannelB->click();
    d.optRealTime->click();
    d.chkOccl->click();
    d.chkTestAuto->click();
    d.CmdOK->click();
  });
  ASSERT_TRUE(sim.waitForReceived("RTB4\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "RTB4\r");
  EXPECT_TRUE(t.ui.save_dialogs.empty());
  EXPECT_TRUE(t.ui.modal_forms.empty());
  EXPECT_TRUE(s.download_flags.show_ot_request);
  EXPECT_FALSE(s.download_flags.show_rt_request);
  EXPECT_TRUE(s.download_flags.occlusion_selected);
  EXPECT_FALSE(s.download_flags.log_ot_data);
  EXPECT_TRUE(s.test_phase_flags.ot_phase);
  EXPECT_FALSE(s.test_phase_flags.rt_phase);
  EXPECT_FALSE(loaded(t, "frmReports"));
  frmOTGraph* ot = t.forms().loaded<frmOTGraph>();
  ASSERT_NE(ot, nullptr);
  EXPECT_TRUE(ot->Visible());
  EXPECT_EQ(ot->windowTitle(), "OCCLUSION TEST");
  EXPECT_TRUE(ot->GetDataTimer->isActive());
  // The run ends before the next one starts.
  ot->cmdCancel_Click();
  EXPECT_FALSE(loaded(t, "frmOTGraph"));
  ASSERT_TRUE(sim.waitForReceived("STB\r"));
  sim.clearReceived();

  // Both tests with "Summary to File" but no "Save to File": the summary names only, no record.
  const std::string rate_sum = t.path("rate.sum");
  const std::string occl_sum = t.path("occl.sum");
  t.ui.answerSave(rate_sum).answerSave(occl_sum);
  download(t, main, [&](frmDownload& d) {
    EXPECT_EQ(frmDownload::value(d.chkSaveFile), 0);
    d.optChannelA->click();
    d.chkSingle->click();
    d.chkReport->click();
    d.CmdOK->click();
  });
  EXPECT_EQ(save_titles(t),
            (std::vector<std::string>{"SAVE REAL TIME DATA SUMMARY", "SAVE REAL TIME OCCLUSION DATA SUMMARY"}));
  EXPECT_EQ(t.ui.save_dialogs[0].DefaultExt, "SUM");
  ASSERT_TRUE(sim.waitForReceived("RTA1\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "RTA1\r");
  EXPECT_TRUE(t.ui.modal_forms.empty());
  EXPECT_EQ(s.rt_data_file, "");
  EXPECT_EQ(s.ot_data_file, "");
  EXPECT_EQ(s.rt_sum_file, rate_sum);
  EXPECT_EQ(s.ot_sum_file, occl_sum);
  EXPECT_TRUE(s.download_flags.save_rt_summary && s.download_flags.save_ot_summary);
  EXPECT_FALSE(s.download_flags.log_rt_data || s.download_flags.log_ot_data);
  EXPECT_TRUE(s.download_flags.show_rt_request);
  EXPECT_FALSE(s.download_flags.show_ot_request);
  ASSERT_NE(t.forms().loaded<frmRTGraph>(), nullptr);
  EXPECT_TRUE(t.forms().loaded<frmRTGraph>()->Visible());
}

TEST_F(DownloadStartOnAnalyser, RateLogHeaderThatCannotBeWrittenStartsNothing) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("logs"))));
  const std::string rate_log = t.path("logs/rate.log");

  download(t, main, [&](frmDownload& d) {
    t.ui.answerSave(rate_log);
    expect_header(t, [&](frmHeader& h) {
      h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("50"));
      // The folder goes away before the header is written.
      ASSERT_TRUE(QDir(QString::fromStdString(t.path("logs"))).removeRecursively());
    });
    t.ui.expectBox("Bad file name for real-time data", "INVALID FILE NAME");
    t.ui.answerSave("");
    d.optRealTime->click();
    d.chkSingle->click();
    d.CmdOK->click();
    EXPECT_TRUE(d.isVisible());  // no prompt, nothing started
  });
  EXPECT_FALSE(s.download_flags.download_ok);
  EXPECT_FALSE(s.download_flags.show_rt_request);
  // No step of a run lingers for a later one.
  EXPECT_FALSE(s.test_phase_flags.rt_phase);
  EXPECT_FALSE(s.test_phase_flags.ot_phase);
  EXPECT_EQ(sent_before_marker(t, sim), "");
  EXPECT_FALSE(loaded(t, "frmRTGraph"));
}

// The stored COM2 is absent, COM1 is the analyser: every start command fails to go out.
class DownloadOnMissingPort : public ::testing::Test {
 protected:
  DownloadOnMissingPort() {
    t.setPort(1, sim.ptyPath());
    t.expectPortError();
    main = &load_main(t);
    main->show();
    t.ui.verify();
    t.ui.boxes.clear();
  }
  // Nothing of the start is left: no request, no step, no window waiting for an answer.
  void expect_idle() {
    const DownloadFlags& f = s.download_flags;
    for (bool flag :
         {f.show_rt_request, f.show_ot_request, f.show_reports_request, f.single_rate_selected, f.occlusion_selected,
          f.download_ok, f.log_rt_data, f.log_ot_data, f.save_rt_summary, f.save_ot_summary})
      EXPECT_FALSE(flag);
    EXPECT_FALSE(s.test_phase_flags.rt_phase || s.test_phase_flags.ot_phase);
    EXPECT_FALSE(s.download_started);
    for (const char* w : {"frmReports", "frmRTGraph", "frmOTGraph"}) EXPECT_FALSE(loaded(t, w)) << w;
  }
  AnalyserSim sim;
  TestApp t;
  frmMain* main = nullptr;
  Session& s = t.session();
};

TEST_F(DownloadOnMissingPort, StartCommandThatCannotGoOutEndsTheStart) {
  const std::string rate_log = t.path("rate.log");
  const std::string occl_log = t.path("occl.log");
  ASSERT_TRUE(files::write_all(occl_log, "an earlier occlusion log\r\n"));

  download(t, *main, [&](frmDownload& d) {
    // Get Log, saved: the name, the record, then one message; the dialog keeps its choices.
    d.optGetLog->click();
    t.ui.answerSave(t.path("pump.log"));
    expect_header(t);
    t.expectPortError();
    d.CmdOK->click();
    t.ui.verify();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.optGetLog->isChecked());
    expect_idle();
    main->Form_Activate();  // an activation finds nothing to show
    expect_idle();

    // Get Summary: the same.
    d.optGetSummary->click();
    d.chkSaveFile->setChecked(false);
    t.expectPortError();
    d.CmdOK->click();
    t.ui.verify();
    expect_idle();

    // Real-Time, both tests logged: the rate log's header is written before the command and
    // deleted again; the occlusion log's name was only chosen, so that file stays as it was.
    d.chkSaveFile->setChecked(true);
    d.optRealTime->click();
    d.chkSingle->click();
    d.chkOccl->click();
    d.chkTestAuto->click();
    t.ui.answerSave(rate_log).answerSave(occl_log);
    expect_header(t, [](frmHeader& h) { h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("50")); });
    t.expectPortError();
    d.CmdOK->click();
    t.ui.verify();
    expect_idle();
    EXPECT_FALSE(s.rt_log.file);
    EXPECT_FALSE(files::exists(rate_log));
    EXPECT_EQ(files::read_all(occl_log), "an earlier occlusion log\r\n");

    // The occlusion test alone, started by the technician: the prompt, then one message.
    d.chkSingle->click();
    d.chkTestAuto->click();
    t.ui.answerSave(occl_log);
    expect_header(t);
    t.ui.expectBox(kStartTest, "START TEST");
    t.expectPortError();
    d.CmdOK->click();
    t.ui.verify();
    expect_idle();
    EXPECT_FALSE(s.ot_log.file);
    EXPECT_FALSE(files::exists(occl_log));
  });
  EXPECT_EQ(t.ui.boxes.size(), 5u);  // one port error per start, and the prompt
  EXPECT_EQ(sim.received(), "");
  expect_idle();

  // Closing the program while the dialog is open takes the dialog with it.
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main->close();
  EXPECT_TRUE(t.ended());
  EXPECT_FALSE(t.forms().isLoaded("frmDownload"));
}

// The dialog is modeless: the port windows can be used while it is open, and the start uses the
// port chosen meanwhile. The main window hands over only once the dialog has hidden, and once.
TEST_F(DownloadOnMissingPort, PortWindowsServeWhileTheDialogIsOpen) {
  download(t, *main, [&](frmDownload& d) {
    d.optGetLog->click();
    d.chkSaveFile->setChecked(false);

    // A request an earlier run left behind: while the choices are made nothing is handed over.
    s.download_flags.show_rt_request = true;
    main->Form_Activate();
    EXPECT_FALSE(loaded(t, "frmRTGraph"));
    s.download_flags.show_rt_request = false;

    // Download again: the same dialog, to the front, as it was.
    main->mnuDownload->trigger();
    EXPECT_EQ(t.forms().loaded<frmDownload>(), &d);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.optGetLog->isChecked());

    ASSERT_TRUE(main->mnuCommPort->isEnabled());
    main->mnuCommPort->trigger();
    frmChangePort* change = t.forms().loaded<frmChangePort>();
    ASSERT_NE(change, nullptr);
    change->optComm1->click();
    change->cmdUpdate->click();
    EXPECT_TRUE(t.comm().isOpen());

    ASSERT_TRUE(main->mnuTestPort->isEnabled());
    main->mnuTestPort->trigger();
    frmTestPort* test = t.forms().loaded<frmTestPort>();
    ASSERT_NE(test, nullptr);
    EXPECT_TRUE(test->Visible());
    test->Command1->click();
    EXPECT_TRUE(sim.waitAnswered("DLA3\r"));
    test->Command3->click();
    EXPECT_FALSE(loaded(t, "frmTestPort"));
    sim.clearReceived();

    EXPECT_TRUE(d.isVisible());
    d.CmdOK->click();
    EXPECT_FALSE(d.isVisible());
  });
  ASSERT_TRUE(sim.waitForReceived("DLA2\r"));
  EXPECT_EQ(sent_before_marker(t, sim), "DLA2\r");
  frmReports* r = t.forms().loaded<frmReports>();
  ASSERT_NE(r, nullptr);
  expect_receiving_layout(*r);
  // The window system's own notice of that activation hands over no second time.
  r->GetDataTimer->stop();
  t.forms().activated(*main);
  EXPECT_FALSE(r->GetDataTimer->isActive());
  EXPECT_TRUE(t.ui.boxes.empty());
}
