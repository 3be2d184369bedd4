// A whole live run against the analyser simulator: both tests and both summaries to file,
// started from the download dialog, every command the analyser sees and every file written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "platform/files.h"
#include "records/frmHeader.h"
#include "shell/frmMain.h"
#include "support/analyser_sim.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;
using namespace std::chrono_literals;

namespace {

void flush_unloads() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class LiveRunOnAnalyser : public ::testing::Test {
 protected:
  LiveRunOnAnalyser() {
    main.show();
    // The stop command's waits give the analyser the time to take the command before the next
    // exchange clears the buffers; the fake clock's waits take none, so each lends the simulator
    // a moment.
    t.clock.on_sleep = [](double) { std::this_thread::sleep_for(2ms); };
  }

  // What the analyser has been sent so far, taken into `seen`.
  void take_received() {
    seen += sim.received();
    sim.clearReceived();
  }
  // One poll of a live window that reads `sample`. The simulator is muted while the test polls
  // and the test sends each sample ahead of its poll: an answer that came at once could fall
  // before or after the window's read of the port.
  template <class W>
  void poll(W& window, const std::string& sample) {
    ASSERT_TRUE(sim.command("send " + sample + "\\r\\n"));
    ASSERT_TRUE(waitForPortInput(t.comm(), static_cast<int>(sample.size()) + 2));
    window.GetDataTimer_Timer();
    ASSERT_TRUE(sim.waitForReceived("GRA\r"));
    take_received();
  }
  // The summary capture's ticks until its step is over.
  template <class W>
  void capture(bool TestPhaseFlags::*phase) {
    ASSERT_TRUE(sim.waitForReceived("DLA1\r"));
    for (int i = 0; i < 2000 && s.test_phase_flags.*phase; ++i) {
      waitForPortInput(t.comm(), 1, 100ms);
      W* w = t.forms().loaded<W>();
      ASSERT_NE(w, nullptr);
      w->GetSumTimer_Timer();
      flush_unloads();
    }
    ASSERT_FALSE(s.test_phase_flags.*phase);
  }

  AnalyserSim sim{{"--noise", "0", "--rate", "50", "--mute"}};
  TestApp t;
  frmMain& main = (t.setPort(2, sim.ptyPath()), load_main(t));
  Session& s = t.session();
  std::string seen;
};

TEST_F(LiveRunOnAnalyser, BothTestsAndBothSummariesToFile) {
  t.clock.date = DateTime{2026, 12, 8, 9, 30, 0, 2};
  t.clock.seconds = 9 * 3600 + 30 * 60;
  const std::string rate_log = t.path("rate.log"), occl_log = t.path("occl.log");
  const std::string rate_sum = t.path("rate.sum"), occl_sum = t.path("occl.sum");
  t.ui.answerSave(rate_log).answerSave(occl_log).answerSave(rate_sum).answerSave(occl_sum);
  t.ui.onModal("frmHeader", [](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("50"));
    h.cmbHdr[kManufacturer]->setEditText(QStringLiteral("Acme"));
    h.cmbHdr[kTechnician]->setEditText(QStringLiteral("JS"));
    h.cmbHdr[kPumpType]->setEditText(QStringLiteral("Syringe"));
    h.cmdContinue->click();
  });
  main.mnuDownload->trigger();
  frmDownload& d = *t.forms().loaded<frmDownload>();
  d.optRealTime->click();
  d.chkSingle->click();
  d.chkOccl->click();
  d.optmmHg->click();
  d.chkReport->click();
  d.chkTestAuto->click();
  d.CmdOK->click();
  flush_unloads();
  ASSERT_TRUE(sim.waitAnswered("RTA1\r"));
  take_received();

  frmRTGraph* rt = t.forms().loaded<frmRTGraph>();
  ASSERT_NE(rt, nullptr);
  const char* const rate_samples[] = {"A, 0, 0, 1, 5, 4.9, 0.001, 2", "A, 0, 0, 2, 42.5, 42.45, 0.024, 12.5",
                                      "B, 0, 0, 3, 250, 120.25, 0.1, 0", "B, 0, 0, 4, 1500, 375.5, 1.5, 3",
                                      "C, 0, 0, 5, -3.25, 99.994, 10.123, 150"};
  for (const char* sample : rate_samples) poll(*rt, sample);
  ASSERT_TRUE(sim.command("mute off"));
  rt->cmdStop_Click();
  capture<frmRTGraph>(&TestPhaseFlags::rt_summary_phase);
  EXPECT_FALSE(t.forms().isLoaded("frmRTGraph"));

  frmOTGraph* ot = t.forms().loaded<frmOTGraph>();
  ASSERT_NE(ot, nullptr);
  ASSERT_TRUE(sim.waitAnswered("RTA4\r"));
  take_received();
  ASSERT_TRUE(sim.command("mute on"));
  for (const char* sample : {"RUN, 0, 1, 0.19, 10", "RUN, 0, 2, 5.8, 300", "ALARM, 1, 5, 13.57, 702"})
    poll(*ot, sample);
  ASSERT_TRUE(sim.command("mute off"));
  ot->cmdStop_Click();
  capture<frmOTGraph>(&TestPhaseFlags::ot_summary_phase);
  take_received();

  EXPECT_EQ(seen, "RTA1\rGRA\rGRA\rGRA\rGRA\rGRA\rSTA\rDLA1\rRTA4\rGRA\rGRA\rGRA\rSTA\rDLA1\r");

  flush_unloads();
  EXPECT_FALSE(t.forms().isLoaded("frmRTGraph") || t.forms().isLoaded("frmOTGraph") ||
               t.forms().isLoaded("frmSummary"));
  const TestPhaseFlags& p = s.test_phase_flags;
  const DownloadFlags& f = s.download_flags;
  EXPECT_FALSE(p.rt_phase || p.rt_summary_phase || p.ot_phase || p.ot_summary_phase);
  EXPECT_FALSE(f.show_rt_request || f.show_ot_request || f.show_reports_request || f.single_rate_selected ||
               f.occlusion_selected);

  EXPECT_EQ(files::read_all(rate_log).value_or(""), read_test_data("live_run_rate.log"));
  EXPECT_EQ(files::read_all(occl_log).value_or(""), read_test_data("live_run_occl.log"));
  EXPECT_EQ(files::read_all(rate_sum).value_or(""), read_test_data("live_run_rate.sum"));
  EXPECT_EQ(files::read_all(occl_sum).value_or(""), read_test_data("live_run_occl.sum"));
}
