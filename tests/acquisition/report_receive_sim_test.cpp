// Downloads received end to end: the download dialog starts them, the simulated analyser on a
// pseudo-terminal sends its reports, the report window's ticks write tempfile.dat.
#include <gtest/gtest.h>

#include <QDir>
#include <QPointer>
#include <chrono>
#include <csignal>
#include <functional>

#include "acquisition/frmDownload.h"
#include "acquisition/frmReports.h"
#include "core/paths.h"
#include "core/report_header.h"
#include "core/vb.h"
#include "platform/files.h"
#include "records/frmHeader.h"
#include "shell/frmMain.h"
#include "support/analyser_sim.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

std::string U(int n) { return std::string(static_cast<size_t>(n), '_'); }

// The program's sign-off with an empty device record.
const std::string kEmptySignOff = "\r\n        PumpType: " + U(23) + " Pump Tolerance(+/- %): " + U(6) +
                                  "\r\n\r\n        Technician: " + U(21) + " Signature:" + U(19);
// What the cut takes of the analyser's own ending: the empty line, its technician line and BEL.
const size_t kAnalyserEnding = 2 + 7 + 12 + 20 + 12 + 19 + 2 + 1;

}  // namespace

class ReceiveOnAnalyser : public ::testing::Test {
 protected:
  explicit ReceiveOnAnalyser(std::vector<std::string> options = {"--noise", "0"}) : sim(std::move(options)) {
    t.setPort(2, sim.ptyPath());
    main = &load_main(t);
    main->show();
    QDir().mkpath(QString::fromStdString(s.folders.save_dir));
  }
  void download(const std::function<void(frmDownload&)>& user) {
    main->mnuDownload->trigger();
    user(*t.forms().loaded<frmDownload>());
    processEvents();
  }
  // Ticks until the report is complete (the timer stops), waiting for the port in between.
  bool receive(frmReports& r, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      waitForPortInput(t.comm(), 1, std::chrono::milliseconds(100));
      r.GetDataTimer_Timer();
      if (!r.GetDataTimer->isActive()) return true;
    }
    return false;
  }
  std::string tempfile() { return files::read_all(join_path(s.folders.save_dir, "tempfile.dat")).value_or(""); }
  frmReports& reports() { return *t.forms().loaded<frmReports>(); }

  AnalyserSim sim;
  TestApp t;
  frmMain* main = nullptr;
  Session& s = t.session();
};

TEST_F(ReceiveOnAnalyser, GetSummarySavedFillsTheHeaderAndAddsTheFlowError) {
  const std::string name = t.path("pump.sum");
  download([&](frmDownload& d) {
    t.ui.answerSave(name);
    t.ui.onModal("frmHeader", [](FormBase& f) {
      auto& h = dynamic_cast<frmHeader&>(f);
      h.cmbHdr[kManufacturer]->setEditText(QStringLiteral("Acme"));
      h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("100"));
      h.cmdContinue->click();
    });
    d.optGetSummary->click();
    d.CmdOK->click();
  });
  ASSERT_TRUE(sim.waitAnswered("DLA1\r"));
  ASSERT_TRUE(receive(reports()));
  const std::string file = tempfile();
  EXPECT_NE(file.find("Manufacturer: Acme" + U(14) + " Model:"), std::string::npos) << file;
  EXPECT_NE(file.find("Set Rate(s): 100" + U(10)), std::string::npos);
  // The flow error stands right after the CR of the average rate's line.
  const size_t a = file.find("Average Rate:");
  ASSERT_NE(a, std::string::npos);
  const size_t cr = file.find('\r', a);
  const double average = vb::Val(file.substr(a + 13));
  const std::string line = "\r              Flow Error:     " + flow_error_text(average, 100) + "\n";
  EXPECT_EQ(file.substr(cr, line.size()), line) << file.substr(a, 80);
  EXPECT_EQ(file.substr(file.size() - kEmptySignOff.size() - 2), kEmptySignOff + "\r\n");
  EXPECT_TRUE(reports().cmdSave->isEnabled());
  reports().cmdSave->click();
  EXPECT_EQ(files::read_all(name), file);
}

TEST_F(ReceiveOnAnalyser, ReceiveAnyTakesWhatTheAnalyserSendsUnasked) {
  download([&](frmDownload& d) {
    d.chkSaveFile->click();
    d.optReceiveAny->click();
    d.CmdOK->click();
  });
  EXPECT_EQ(reports().cmdCancel->text(), "Stop");
  ASSERT_TRUE(sim.sendSignal(SIGUSR1));
  ASSERT_TRUE(receive(reports()));
  ASSERT_TRUE(sim.waitUntilIdle());
  EXPECT_EQ(reports().cmdCancel->text(), "&Cancel");
  EXPECT_TRUE(reports().cmdPrint->isEnabled());
  EXPECT_FALSE(reports().cmdSave->isEnabled());  // not saving
  const std::string file = tempfile();
  EXPECT_EQ(file.size(), sim.sentCount() - kAnalyserEnding + kEmptySignOff.size() + 2);
  EXPECT_EQ(file.substr(file.size() - kEmptySignOff.size() - 15), "END OF DATA\r\n" + kEmptySignOff + "\r\n");

  // "Edit Summary or Data Log" once it has ended: the report window, last in the receiving
  // layout, is created afresh at its design layout, not receiving; a second time it stays.
  const QPointer<frmReports> received = &reports();
  main->mnuEdit_Click();
  processEvents();
  EXPECT_TRUE(received.isNull());
  frmReports& fresh = reports();
  EXPECT_TRUE(fresh.isVisible());
  EXPECT_GE(fresh.Height(), 3000);
  EXPECT_EQ(fresh.windowTitle(), "REPORTS");
  EXPECT_TRUE(fresh.menuBar->isVisible());
  EXPECT_FALSE(fresh.cmdPrint->isVisible());
  EXPECT_FALSE(fresh.GetDataTimer->isActive());
  EXPECT_FALSE(fresh.mnuClose->isEnabled());
  EXPECT_FALSE(fresh.mnuConvertPrn->isEnabled());
  EXPECT_TRUE(fresh.mnuOpen->isEnabled());
  main->mnuEdit_Click();
  EXPECT_EQ(&reports(), &fresh);
}

class LongLogOnAnalyser : public ReceiveOnAnalyser {
 protected:
  LongLogOnAnalyser() : ReceiveOnAnalyser({"--noise", "0", "--log-size", "3M"}) {}
};

TEST_F(LongLogOnAnalyser, AMultiMegabyteLogArrivesWholeAndInOrder) {
  download([&](frmDownload& d) {
    d.chkSaveFile->click();
    d.optGetLog->click();
    d.CmdOK->click();
  });
  ASSERT_TRUE(sim.waitForReceived("DLA2\r"));
  ASSERT_TRUE(receive(reports(), std::chrono::seconds(100)));
  ASSERT_TRUE(sim.waitUntilIdle());
  // The text was kept near one page while the rest went into the pages.
  EXPECT_LT(s.report_text.size(), 40000u);
  const std::string file = tempfile();
  // Nothing lost or doubled: every byte sent is in the file but the analyser's own ending.
  EXPECT_EQ(file.size(), sim.sentCount() - kAnalyserEnding + kEmptySignOff.size() + 2);
  EXPECT_EQ(file.substr(file.size() - kEmptySignOff.size() - 15), "END OF DATA\r\n" + kEmptySignOff + "\r\n");
  // The rows come in the order of their times.
  std::string last = "00:00:00";
  size_t rows = 0;
  for (size_t p = file.find("\r\n         "); p != std::string::npos; p = file.find("\r\n         ", p + 2)) {
    const std::string time = file.substr(p + 11, 8);
    if (time.size() < 8 || time[2] != ':' || time[5] != ':') continue;
    EXPECT_GT(time, last) << "row " << rows;
    last = time;
    ++rows;
  }
  EXPECT_GT(rows, 50000u);
}
