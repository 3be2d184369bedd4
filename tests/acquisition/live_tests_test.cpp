// The live rate and occlusion windows and the test sequence, ticks called directly, the
// analyser played by the scripted serial port.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <functional>

#include "acquisition/data_log_files.h"
#include "acquisition/frmDownload.h"
#include "acquisition/frmOTGraph.h"
#include "acquisition/frmRTGraph.h"
#include "acquisition/frmReports.h"
#include "acquisition/frmSummary.h"
#include "acquisition/test_sequence.h"
#include "common/global_comm.h"
#include "core/vb.h"
#include "platform/files.h"
#include "records/frmHeader.h"
#include "shell/frmMain.h"
#include "support/golden_log.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

const char* const kNotRunning = "Test or Autosequence is not running";
const char* const kUnsuccessful = "Unsuccessful transmission, check all hardware connections and try again.";
const char* const kNotConnected = "Current channel selected is not connected.";

// Told once when a row of the log cannot be written.
std::string rows_missing(const std::string& log) {
  return "A row could not be written to the data log " + log +
         ".\r\rRows that cannot be written are missing from the log; the rows written are kept and the test goes "
         "on.";
}

std::string get(const std::string& path) { return files::read_all(path).value_or("<missing>"); }

// Unloaded windows really gone, without running any timer.
void flush_unloads() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A poll reply carrying the values of a rate row, blanks after the commas as the analyser sends.
std::string rate_reply(const data_log::RateRow& r, char mode = 'A') {
  using vb::general;
  return std::string(1, mode) + ", " + vb::to_text(r.hours) + ", " + vb::to_text(r.minutes) + ", " +
         vb::to_text(r.seconds) + ", " + general(r.flow) + ", " + general(r.avg_flow) + ", " + general(r.volume) +
         ", " + general(r.back_pressure) + "\r\n";
}

}  // namespace

// The main window on the scripted port, the download dialog loaded and hidden with a live run's
// choices, as the download start leaves it.
class LiveTest : public ::testing::Test {
 protected:
  LiveTest() {
    main.show();
    d.optRealTime->click();
  }
  // The choices the dialog shows, taken by the run as its OK takes them.
  void take_choices() { s.run_choices = d.choices(); }
  // The hand-over to the window the run begins with.
  void hand_over() {
    take_choices();
    main.Form_Activate();
    flush_unloads();
  }
  void start_rate_run(bool log) {
    d.chkSingle->click();
    s.download_flags.single_rate_selected = true;
    s.download_flags.show_rt_request = true;
    s.test_phase_flags.rt_phase = true;
    if (log) {
      s.download_flags.log_rt_data = true;
      s.rt_data_file = t.path("rate.log");
      DataLogFiles::write_RTfile_header(t.app());
    }
    hand_over();
  }
  // The logged rate run of the golden log: its record, channel B and its start time.
  frmRTGraph& start_golden_rate_run() {
    s.device_record = golden_record();
    s.channel_code = "B";
    t.clock.date = DateTime{2026, 12, 8, 0, 0, 0, 2};
    t.clock.seconds = 9 * 3600 + 5 * 60 + 41.5;
    start_rate_run(true);
    return *t.forms().loaded<frmRTGraph>();
  }
  std::vector<std::string> box_texts() {
    std::vector<std::string> texts;
    for (const MsgBox& b : t.ui.boxes) texts.push_back(b.text);
    return texts;
  }
  bool no_run_left() {
    flush_unloads();
    const TestPhaseFlags& p = s.test_phase_flags;
    const DownloadFlags& f = s.download_flags;
    return !t.forms().isLoaded("frmRTGraph") && !t.forms().isLoaded("frmOTGraph") &&
           !t.forms().isLoaded("frmSummary") && !p.rt_phase && !p.rt_summary_phase && !p.ot_phase &&
           !p.ot_summary_phase && !f.show_rt_request && !f.show_ot_request;
  }

  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  Session& s = t.session();
  ScriptedSerial& port = t.serial();
  frmDownload& d = t.forms().get<frmDownload>();
};

TEST_F(LiveTest, RateDisplayAndRanges) {
  d.chkSingle->click();
  d.optDuration->click();
  d.cmbDuration->setEditText("0.5");
  d.cmbPoll->setEditText("10");
  take_choices();
  frmRTGraph& rt = t.forms().get<frmRTGraph>();
  EXPECT_EQ(rt.RTGraph->yAxisMin(), 50);  // no set rate
  EXPECT_EQ(rt.RTGraph->yAxisMax(), 150);
  EXPECT_EQ(rt.GetDataTimer->interval(), 10000);
  EXPECT_TRUE(rt.DurationTimer->isActive());
  EXPECT_EQ(rt.windowTitle(), "REAL TIME DATA  -  Channel A");
  t.forms().unload(rt);
  flush_unloads();

  s.device_record.set_rate_text = "60";
  frmRTGraph& r = t.forms().get<frmRTGraph>();
  EXPECT_EQ(r.RTGraph->yAxisMin(), 30);
  EXPECT_EQ(r.RTGraph->yAxisMax(), 90);

  // Five fields: the last one stands for every later field.
  std::string reply = "A,0,1,5,12.5";
  r.process_RTData(reply);
  EXPECT_EQ(r.seconds, 5);
  EXPECT_EQ(r.flow, 12.5);
  EXPECT_EQ(r.avg_flow, 12.5);
  EXPECT_EQ(r.volume, 12.5);
  EXPECT_EQ(r.back_pressure, 12.5);
  r.display_realtime_data();
  EXPECT_EQ(r.fraRTData->title(), "Single Rate - Low range flow (LOW)");
  EXPECT_EQ(r.lblElapsedTime->text(), "00:01:05");
  EXPECT_EQ(r.lblPres->text(), "12.5");

  auto sample = [&](std::string text) {
    r.process_RTData(text);
    r.display_realtime_data();
    r.graph_realtime_data();
  };
  sample("A, 0, 0, 1, 99.6, 99.6, 0.1, 100");  // the first sample sets the range
  EXPECT_EQ(r.base_flow, 99);
  EXPECT_EQ(r.RTGraph->yAxisMin(), 49);
  EXPECT_EQ(r.RTGraph->yAxisMax(), 148);
  EXPECT_EQ(r.lblPres->text(), "100");
  sample("A, 0, 0, 2, 97.3, 96.0, 0.1, 0");  // a new lowest above the average: no spread
  EXPECT_EQ(r.lowest_flow, 97.3);
  EXPECT_EQ(r.RTGraph->yAxisMin(), 97);
  EXPECT_EQ(r.RTGraph->yAxisMax(), 99);  // also the highest so far: Int(1.3 + 97.3 + 0.5)
  sample("A, 0, 0, 3, 90, 95, 0.1, 0");  // below: the spread to the average widens the range
  EXPECT_EQ(r.RTGraph->yAxisMin(), 85);
  sample("B, 0, 0, 4, 150, 100, 0.1, 0");
  EXPECT_EQ(r.RTGraph->yAxisMax(), 200);
  EXPECT_EQ(r.fraRTData->title(), "Single Rate - high flow range (HI)");
  sample("D, 100, 0, 0, 120, 100, 0.1, 0");  // 100 ml/h or more never becomes the lowest
  EXPECT_EQ(r.lowest_flow, 90);
  EXPECT_EQ(r.fraRTData->title(), "");
  EXPECT_EQ(r.lblElapsedTime->text(), "100:00:00");
  // Each draw adds point 1 of both sets to the running trace.
  // (the graph takes single-precision values)
  EXPECT_EQ(r.RTGraph->trace(1), (std::vector<double>{99.6f, 97.3f, 90, 150, 120}));
  EXPECT_EQ(r.RTGraph->trace(2).size(), 5u);
  EXPECT_FLOAT_EQ(static_cast<float>(r.RTGraph->trace(2)[1]), 96.0f);

  // A value the graph cannot take: told once, the plot skipped, the tick goes on.
  t.ui.expectBox("Bad graph data.", "BAD DATA", MsgAnswer::OK, MsgIcon::Exclamation, MsgButtons::OK);
  sample("A, 0, 0, 5, 1e300, 100, 0.1, 0");
  t.ui.verify();
  EXPECT_EQ(r.RTGraph->trace(1).size(), 5u);
}

TEST_F(LiveTest, RateCountdownOfHalfAMinute) {
  d.chkSingle->click();
  d.optDuration->click();
  d.cmbDuration->setEditText("0.5");
  start_rate_run(false);
  frmRTGraph& rt = *t.forms().loaded<frmRTGraph>();
  EXPECT_EQ(rt.lblTimeLeft->text(), "N/A");
  rt.DurationTimer_Timer();
  EXPECT_EQ(rt.lblTimeLeft->text(), "00:00:29");
  for (int i = 2; i < 30; ++i) rt.DurationTimer_Timer();
  EXPECT_TRUE(s.test_phase_flags.rt_phase);
  rt.DurationTimer_Timer();  // the 30th ends the test
  EXPECT_EQ(port.commands, std::vector<std::string>{"STA\r"});
  EXPECT_TRUE(no_run_left());
}

TEST_F(LiveTest, RateRunLogsEverySampleAndStopClosesTheLog) {
  frmRTGraph& rt = start_golden_rate_run();
  EXPECT_EQ(rt.windowTitle().toStdString(), "RATE TEST  -  " + s.rt_data_file);

  const std::string golden = read_test_data("rate_log_82_rows.log");
  for (int i = 1; i <= 82; ++i) {
    port.reply("GRB\r", rate_reply(golden_rate_row(i)));
    // Error replies in between show their message and log nothing.
    if (i == 30) port.reply("GRB\r", "e\r").reply("GRB\r", "?\r").reply("GRB\r", "");
  }
  t.ui.expectBox(kNotRunning, "ERROR").expectBox(kUnsuccessful, "ERROR");
  for (int poll = 1; poll <= 85; ++poll) {
    rt.GetDataTimer_Timer();
    // Each row is with the operating system the moment it is written: a program killed now
    // loses none of them.
    const std::string now = get(s.rt_data_file);
    ASSERT_EQ(now, golden.substr(0, now.size())) << poll;
  }
  t.ui.verify();
  rt.cmdStop_Click();
  EXPECT_EQ(get(s.rt_data_file), golden);
  EXPECT_EQ(port.commands.back(), "STB\r");
  EXPECT_TRUE(no_run_left());
}

TEST_F(LiveTest, NotConnectedStopsTheRunAndTheDeviceLostKeepsTheRows) {
  start_rate_run(true);
  port.reply("GRA\r", rate_reply(golden_rate_row(1))).reply("GRA\r", "n\r");
  frmRTGraph* rt = t.forms().loaded<frmRTGraph>();
  rt->GetDataTimer_Timer();
  t.ui.expectBox(kNotConnected, "ERROR");
  rt->GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_FALSE(files::exists(s.rt_data_file));  // a stopped run leaves no partial log
  EXPECT_EQ(port.commands.back(), "STA\r");

  // "n" among replies that waited together: the run stops there, and the sample after it is
  // not taken by the window on its way out.
  start_rate_run(true);
  rt = t.forms().loaded<frmRTGraph>();
  port.reply("GRA\r", rate_reply(golden_rate_row(1)) + "n\r\n" + rate_reply(golden_rate_row(2)));
  t.ui.expectBox(kNotConnected, "ERROR");
  rt->GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_EQ(rt->seconds, golden_rate_row(1).seconds);
  EXPECT_EQ(rt->RTGraph->trace(1).size(), 1u);
  EXPECT_TRUE(no_run_left());
  EXPECT_FALSE(files::exists(s.rt_data_file));  // a stopped run leaves no partial log
  EXPECT_EQ(port.commands.back(), "STA\r");

  // The device goes away after three rows: one message, polling stops, the rows stay and the
  // log is closed with its closing lines.
  start_rate_run(true);
  rt = t.forms().loaded<frmRTGraph>();
  for (int i = 1; i <= 3; ++i) port.reply("GRA\r", rate_reply(golden_rate_row(i)));
  for (int i = 1; i <= 3; ++i) rt->GetDataTimer_Timer();
  const std::string rows = get(s.rt_data_file);
  port.vanishOn("GRA\r");
  t.ui.expectBox(GlobalComm::kPortErrorMessage, "ERROR");
  rt->GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  const std::string log = get(s.rt_data_file);
  EXPECT_EQ(log.substr(0, rows.size()), rows);
  EXPECT_NE(log.find("END OF DATA", rows.size()), std::string::npos);
}

// What the port delivered is kept until it is used: replies late for their poll, in pieces (a
// CR and its LF apart included), several waiting together, with noise and an error reply
// between them. Every sample is logged once, in order; the noise is neither shown nor logged.
TEST_F(LiveTest, RepliesInPiecesTogetherOrAmongNoiseAreLoggedOnceInOrder) {
  // Each poll gets the next piece of `stream`, the sizes taken in turn.
  auto feed = [&](const std::string& poll, const std::string& stream, auto tick) {
    const size_t sizes[] = {0, 17, 130, 1, 64, 0, 0, 90, 33, 120, 5, 49};
    for (size_t at = 0, i = 0; at < stream.size(); ++i) {
      const size_t n = std::min(sizes[i % std::size(sizes)], stream.size() - at);
      port.reply(poll, stream.substr(at, n));
      at += n;
      tick();
    }
  };
  frmRTGraph& rt = start_golden_rate_run();
  std::string stream;
  for (int i = 1; i <= 81; ++i) {
    stream += rate_reply(golden_rate_row(i));
    if (i % 10 == 3) stream += "\x7f\x01garbage, 1, 2\r\n";
    if (i % 10 == 6) stream += "A, 0, 0\r\n" + std::string(400, '#') + "\r";
    if (i == 40) stream += "e\r\n";
  }
  t.ui.expectBox(kNotRunning, "ERROR");
  feed("GRB\r", stream, [&] { rt.GetDataTimer_Timer(); });
  t.ui.verify();
  EXPECT_EQ(rt.RTGraph->trace(1).size(), 81u);
  // The answer to the last poll comes after its tick: Stop takes it in before the log closes.
  port.arrive(rate_reply(golden_rate_row(82)));
  rt.cmdStop_Click();
  EXPECT_EQ(get(s.rt_data_file), read_test_data("rate_log_82_rows.log"));

  // The occlusion window the same way.
  s.download_flags.occlusion_selected = s.download_flags.log_ot_data = s.download_flags.show_ot_request = true;
  s.test_phase_flags.ot_phase = true;
  s.ot_data_file = t.path("occl.log");
  DataLogFiles::write_OTfile_header(t.app());
  hand_over();
  frmOTGraph& ot = *t.forms().loaded<frmOTGraph>();
  const size_t header = get(s.ot_data_file).size();
  stream.clear();
  std::string rows;
  for (int i = 1; i <= 20; ++i) {
    const data_log::OcclRow r = golden_occl_row(i);
    stream += (i % 4 ? "RUN, " : "ALARM, ") + vb::to_text(r.minutes) + ", " + vb::to_text(r.seconds) + ", " +
              vb::general(r.psi) + ", " + vb::general(r.mmhg) + "\r\n";
    if (i % 3 == 0) stream += "RUN, 1, 2, noise\r\n\r\n";
    rows += data_log::occl_row_text(r) + "\r\n";
  }
  feed("GRB\r", stream, [&] { ot.GetDataTimer_Timer(); });
  EXPECT_EQ(get(s.ot_data_file).substr(header), rows);
  EXPECT_TRUE(ot.GetDataTimer->isActive());
  // Stop with nothing waiting but the start of a reply: the log closes after the last whole row.
  port.arrive("RUN, 2, ");
  ot.cmdStop_Click();
  const std::string closing = "\r\n         END OF DATA\r\n";
  EXPECT_EQ(get(s.ot_data_file).substr(header, rows.size() + closing.size()), rows + closing);
  EXPECT_TRUE(no_run_left());
}

TEST_F(LiveTest, OcclusionDisplayRangesAndCountdown) {
  d.chkOccl->click();
  d.cmbOccl->setEditText("0.5");
  auto run = [&](QRadioButton* unit, std::vector<std::string> samples) -> frmOTGraph& {
    t.forms().unload<frmOTGraph>();
    flush_unloads();
    unit->click();
    take_choices();
    frmOTGraph& ot = t.forms().get<frmOTGraph>();
    for (std::string& text : samples) {
      ot.process_OTData(text);
      ot.display_realtime_data();
      ot.graph_realtime_data();
    }
    return ot;
  };
  frmOTGraph& psi = run(d.optPSI, {"RUN, 0, 1, 0.5, 26"});
  EXPECT_EQ(psi.OTGraph->leftTitle(), "Pressure(PSI)");
  EXPECT_EQ(psi.OTGraph->yAxisMin(), 0);
  EXPECT_EQ(psi.OTGraph->yAxisMax(), 1);
  EXPECT_EQ(run(d.optPSI, {"RUN, 0, 1, 10, 517"}).OTGraph->yAxisMin(), 5);
  EXPECT_EQ(t.forms().loaded<frmOTGraph>()->OTGraph->yAxisMax(), 15);

  frmOTGraph& mm = run(d.optmmHg, {"RUN, 0, 1, 5.8, 300"});
  EXPECT_EQ(mm.OTGraph->leftTitle(), "Pressure(mmHg)");
  EXPECT_EQ(mm.OTGraph->yAxisMin(), 150);
  EXPECT_EQ(mm.OTGraph->yAxisMax(), 450);
  std::string next = "RUN, 0, 2, 4.8, 250";
  mm.process_OTData(next);
  mm.graph_realtime_data();
  EXPECT_EQ(mm.OTGraph->yAxisMin(), 250);
  next = "RUN, 0, 3, 6.2, 320";
  mm.process_OTData(next);
  mm.graph_realtime_data();
  EXPECT_EQ(mm.OTGraph->yAxisMax(), 321);
  EXPECT_EQ(mm.OTGraph->trace(1), (std::vector<double>{300, 250, 320}));

  frmOTGraph& kpa = run(d.optkPa, {"RUN, 0, 1, 10, 517"});
  EXPECT_EQ(kpa.OTGraph->leftTitle(), "Pressure(kPa)");
  EXPECT_EQ(kpa.lblkPa->text().toStdString(), vb::general(517 / 7.51));
  EXPECT_FLOAT_EQ(static_cast<float>(kpa.OTGraph->trace(1)[0]), static_cast<float>(517 / 7.51));
  std::string three = "S,2,5";
  kpa.process_OTData(three);
  kpa.display_realtime_data();
  EXPECT_EQ(kpa.lblElapsedTime->text(), "02:05");
  EXPECT_EQ(kpa.lblPSI->text(), "5");
  EXPECT_EQ(kpa.lblmmHg->text(), "5");

  // The countdown runs from the load; "0.5" minutes end the test at the 30th tick.
  t.forms().unload<frmOTGraph>();
  flush_unloads();
  s.test_phase_flags.ot_phase = true;
  s.download_flags.occlusion_selected = true;
  s.download_flags.show_ot_request = true;
  hand_over();
  frmOTGraph& ot = *t.forms().loaded<frmOTGraph>();
  EXPECT_TRUE(ot.DurationTimer->isActive());
  ot.DurationTimer_Timer();
  EXPECT_EQ(ot.lblTimeLeft->text(), "00:00:29");
  for (int i = 2; i <= 30; ++i) ot.DurationTimer_Timer();
  EXPECT_TRUE(no_run_left());
}

namespace {

const std::string kRateSummary =
    "\r\n  TEST SUMMARY\r\n  SINGLE RATE TEST\r\n  Average Rate: 100.2 ml/h\r\n\r\n       Technician: ___\x07";

}  // namespace

// Both tests of a run, started as the download start leaves them.
class SequenceTest : public LiveTest {
 protected:
  void start_both(bool logs, bool summaries) {
    d.chkOccl->click();
    s.download_flags.occlusion_selected = true;
    if (logs) {
      s.ot_data_file = t.path("occl.log");
      s.download_flags.log_ot_data = true;
    } else {
      d.chkSaveFile->click();
    }
    if (summaries) {
      s.rt_sum_file = t.path("rate.sum");
      s.ot_sum_file = t.path("occl.sum");
      s.download_flags.save_rt_summary = s.download_flags.save_ot_summary = true;
    }
    start_rate_run(logs);
  }
  frmRTGraph& rt() { return *t.forms().loaded<frmRTGraph>(); }
  frmOTGraph& ot() { return *t.forms().loaded<frmOTGraph>(); }
};

TEST_F(SequenceTest, SummaryToPrinterCapturesNothing) {
  d.optPrinter->setChecked(true);
  start_both(false, false);
  rt().cmdStop_Click();
  flush_unloads();
  ASSERT_NE(t.forms().loaded<frmOTGraph>(), nullptr);
  EXPECT_TRUE(s.test_phase_flags.ot_phase);
  EXPECT_TRUE(s.download_flags.show_ot_request);
  // The occlusion window's close box is refused while its test runs, as the rate window's is.
  t.ui.expectBox(LiveTestWindow::kCloseDuringTest, "TEST RUNNING", MsgAnswer::OK, MsgIcon::Exclamation);
  ot().frame().close();
  flush_unloads();
  t.ui.verify();
  ASSERT_TRUE(t.forms().isLoaded("frmOTGraph"));
  ot().cmdStop_Click();
  EXPECT_EQ(port.commands, (std::vector<std::string>{"STA\r", "PRA1\r", "RTA4\r", "STA\r", "PRA1\r"}));
  EXPECT_FALSE(t.forms().isLoaded("frmSummary"));
  EXPECT_TRUE(no_run_left());
  EXPECT_FALSE(s.download_flags.single_rate_selected || s.download_flags.occlusion_selected);
}

TEST_F(SequenceTest, CancelInTheRateWindowDeletesTheRateLogOnly) {
  start_both(true, true);
  ASSERT_TRUE(files::write_all(s.rt_sum_file, "a summary from before"));
  rt().cmdCancel_Click();
  EXPECT_TRUE(no_run_left());
  EXPECT_FALSE(files::exists(s.rt_data_file));
  EXPECT_FALSE(files::exists(s.ot_data_file));  // not created yet
  EXPECT_EQ(get(s.rt_sum_file), "a summary from before");
  EXPECT_EQ(port.commands, std::vector<std::string>{"STA\r"});
  EXPECT_FALSE(s.download_flags.log_rt_data || s.download_flags.save_rt_summary);
}

TEST_F(SequenceTest, CancelInTheOcclusionTestDeletesWhatTheRunWrote) {
  start_both(true, true);
  const std::string other = t.path("other.sum");
  ASSERT_TRUE(files::write_all(other, "kept"));
  port.reply("DLA1\r", kRateSummary);
  rt().cmdStop_Click();
  EXPECT_TRUE(s.test_phase_flags.rt_summary_phase);
  frmSummary* summary = t.forms().loaded<frmSummary>();
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(summary->windowTitle(), "Single-Rate");
  EXPECT_FALSE(rt().cmdStop->isEnabled());
  EXPECT_FALSE(rt().GetDataTimer->isActive());
  EXPECT_TRUE(rt().GetSumTimer->isActive());
  rt().GetSumTimer_Timer();  // the whole summary in one read
  flush_unloads();
  ASSERT_TRUE(files::exists(s.rt_sum_file));
  EXPECT_TRUE(s.test_phase_flags.ot_phase);
  ASSERT_TRUE(files::exists(s.ot_data_file));  // its header is written at the move
  ot().cmdCancel_Click();
  EXPECT_TRUE(no_run_left());
  for (const std::string& f : {s.rt_data_file, s.rt_sum_file, s.ot_data_file}) EXPECT_FALSE(files::exists(f)) << f;
  EXPECT_EQ(get(other), "kept");
  EXPECT_EQ(port.commands, (std::vector<std::string>{"STA\r", "DLA1\r", "RTA4\r", "STA\r"}));
}

TEST_F(SequenceTest, CancelWhileWritingTheRateSummaryGoesOnWithTheOcclusionTest) {
  start_both(true, true);
  ASSERT_TRUE(files::write_all(s.rt_sum_file, "a summary from before"));
  rt().cmdStop_Click();
  rt().GetSumTimer_Timer();  // nothing has come yet
  t.forms().loaded<frmSummary>()->cmdCancel->click();
  flush_unloads();
  EXPECT_EQ(get(s.rt_sum_file), "a summary from before");  // not written by this run
  EXPECT_FALSE(t.forms().isLoaded("frmSummary"));
  EXPECT_FALSE(t.forms().isLoaded("frmRTGraph"));
  EXPECT_TRUE(s.test_phase_flags.ot_phase);
  EXPECT_TRUE(ot().GetDataTimer->isActive());
  EXPECT_EQ(port.commands.back(), "RTA4\r");
}

TEST_F(SequenceTest, SummaryFileAndItsWriteFailure) {
  start_both(false, true);
  s.rt_sum_file = t.path("no-such-folder/rate.sum");
  port.reply("DLA1\r", "\x05" + kRateSummary);
  rt().cmdStop_Click();
  t.ui.expectBox("Error writing real-time summary", "FILE ACCESS ERROR", MsgAnswer::OK, MsgIcon::Exclamation);
  rt().GetSumTimer_Timer();
  t.ui.verify();
  // The sequence waits; the summary window's Cancel moves it on.
  EXPECT_TRUE(s.test_phase_flags.rt_summary_phase);
  EXPECT_TRUE(rt().GetSumTimer->isActive());
  EXPECT_TRUE(s.new_summary);

  s.rt_sum_file = t.path("rate.sum");
  port.arrive(kRateSummary);  // the summary sent again from the analyser's keys
  rt().GetSumTimer_Timer();
  flush_unloads();
  const std::string blank = "        Technician:______________________ Signature:___________________";
  EXPECT_EQ(get(s.rt_sum_file),
            "\r\n  TEST SUMMARY\r\n  SINGLE RATE TEST\r\n  Average Rate: 100.2 ml/h\r\n\r\n" + blank + "\r\n\r\n");
  EXPECT_TRUE(s.test_phase_flags.ot_phase);
  EXPECT_EQ(s.file_name, s.rt_sum_file);
}

TEST_F(SequenceTest, DeviceLostDuringTheOcclusionTestOrASummaryEndsTheRunAndKeepsTheFiles) {
  start_both(true, true);
  port.reply("GRA\r", rate_reply(golden_rate_row(1)));
  rt().GetDataTimer_Timer();
  rt().cmdStop_Click();
  // Gone while the summary is awaited: no summary is waited for, the finished log stays.
  port.vanish();
  t.ui.expectBox(GlobalComm::kPortErrorMessage, "ERROR");
  rt().GetSumTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_NE(get(s.rt_data_file).find("END OF DATA"), std::string::npos);
  EXPECT_FALSE(files::exists(s.rt_sum_file));

  // Gone during the occlusion test: its log is closed as Stop closes it.
  port.open();
  s.download_flags = DownloadFlags{};
  s.download_flags.occlusion_selected = s.download_flags.log_ot_data = s.download_flags.show_ot_request = true;
  s.test_phase_flags.ot_phase = true;
  DataLogFiles::write_OTfile_header(t.app());
  hand_over();
  port.reply("GRA\r", "RUN, 0, 1, 0.19, 10\r\n");
  ot().GetDataTimer_Timer();
  port.vanishOn("GRA\r");
  t.ui.expectBox(GlobalComm::kPortErrorMessage, "ERROR");
  ot().GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  const std::string log = get(s.ot_data_file);
  EXPECT_NE(log.find("00:01            00.19      010"), std::string::npos);
  EXPECT_NE(log.find("END OF DATA"), std::string::npos);
}

// "n" stops the run in whichever test it has reached: the occlusion test of a two-test run
// stops and its window goes, with every file the run wrote; in the rate test, the rate window
// goes and the occlusion test never starts.
TEST_F(SequenceTest, NotConnectedStopsTheWindowOfTheRunningTest) {
  start_both(true, false);
  rt().cmdStop_Click();
  flush_unloads();
  ASSERT_TRUE(s.test_phase_flags.ot_phase);
  port.reply("GRA\r", "n\r");
  t.ui.expectBox(kNotConnected, "ERROR");
  ot().GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_FALSE(files::exists(s.rt_data_file) || files::exists(s.ot_data_file));
  EXPECT_EQ(port.commands, (std::vector<std::string>{"STA\r", "RTA4\r", "GRA\r", "STA\r"}));

  port.commands.clear();
  s.download_flags = DownloadFlags{};
  start_both(true, false);
  port.reply("GRA\r", "n\r");
  t.ui.expectBox(kNotConnected, "ERROR");
  rt().GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_EQ(port.commands, (std::vector<std::string>{"GRA\r", "STA\r"}));
}

// The stop of a test that the port does not take (the device gone between the last poll and
// Stop): told once, and the run ends there with its log closed; no summary is asked for and the
// occlusion test does not start.
TEST_F(SequenceTest, StopThePortDoesNotTakeEndsTheRun) {
  start_both(true, true);
  port.reply("GRA\r", rate_reply(golden_rate_row(1)));
  rt().GetDataTimer_Timer();
  port.vanishOn("STA\r");
  t.expectPortError();
  rt().cmdStop_Click();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_NE(get(s.rt_data_file).find("END OF DATA"), std::string::npos);
  EXPECT_FALSE(files::exists(s.rt_sum_file) || files::exists(s.ot_data_file));
  EXPECT_EQ(port.commands, (std::vector<std::string>{"GRA\r"}));
}

// The occlusion test's start that cannot go out: told once, the run ends there; the occlusion
// log, which holds its header only, goes, and the finished rate log stays.
TEST_F(SequenceTest, OcclusionStartThatCannotGoOutEndsTheRun) {
  start_both(true, false);
  port.vanishOn("RTA4\r");
  t.ui.expectBox(GlobalComm::kPortErrorMessage, "ERROR");
  rt().cmdStop_Click();
  t.ui.verify();
  EXPECT_TRUE(no_run_left());
  EXPECT_NE(get(s.rt_data_file).find("END OF DATA"), std::string::npos);
  EXPECT_FALSE(files::exists(s.ot_data_file));
}

// A log that stops taking rows (full disk, file-size limit): said once, the run goes on.
TEST_F(LiveTest, RowsTheLogCannotTakeAreToldOnceAndTheRunGoesOn) {
  struct FullDisk : LineSink {
    bool full = true;
    std::string text;
    bool write(std::string_view line) override {
      if (!full) text += line;
      return !full;
    }
    bool flush() override { return !full; }
  };
  s.channel_code = "B";
  start_rate_run(true);
  frmRTGraph& rt = *t.forms().loaded<frmRTGraph>();
  auto disk = std::make_shared<FullDisk>();
  s.rt_log.file = disk;
  for (int i = 1; i <= 3; ++i) port.reply("GRB\r", rate_reply(golden_rate_row(i)));
  t.ui.expectBox(rows_missing(s.rt_data_file), "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  for (int poll = 1; poll <= 4; ++poll) rt.GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(rt.GetDataTimer->isActive());
  EXPECT_EQ(rt.seconds, golden_rate_row(3).seconds);  // every sample still taken
  // Room again: the next row is written, and the rows before it are the gap the message told.
  disk->full = false;
  port.reply("GRB\r", rate_reply(golden_rate_row(4)));
  rt.GetDataTimer_Timer();
  EXPECT_EQ(disk->text, data_log::rate_row_text(golden_rate_row(4)) + "\r\n");
}

// The log's folder deleted under a running test: the rows have nowhere to go, and that is said
// once, as for a full disk.
TEST_F(LiveTest, LogFolderDeletedDuringTheRunIsToldOnce) {
  s.channel_code = "B";
  d.chkSingle->click();
  s.download_flags.single_rate_selected = s.download_flags.show_rt_request = true;
  s.download_flags.log_rt_data = s.test_phase_flags.rt_phase = true;
  const std::string folder = t.path("logs");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  s.rt_data_file = folder + "/rate.log";
  DataLogFiles::write_RTfile_header(t.app());
  hand_over();
  frmRTGraph& rt = *t.forms().loaded<frmRTGraph>();
  for (int i = 1; i <= 3; ++i) port.reply("GRB\r", rate_reply(golden_rate_row(i)));
  const size_t header = get(s.rt_data_file).size();
  rt.GetDataTimer_Timer();
  EXPECT_GT(get(s.rt_data_file).size(), header);
  ASSERT_GT(std::filesystem::remove_all(folder), 0u);
  t.ui.expectBox(rows_missing(s.rt_data_file), "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  rt.GetDataTimer_Timer();
  rt.GetDataTimer_Timer();
  t.ui.verify();
  EXPECT_TRUE(rt.GetDataTimer->isActive());
  EXPECT_EQ(rt.seconds, golden_rate_row(3).seconds);
}

namespace {

struct RunOutcome {
  std::vector<std::string> commands;
  std::string log, summary;
};

// A logged 0.5-minute rate run on channel A with "Summary to File" (rate.log, rate.sum), started
// from the download dialog with the clock and the analyser scripted: the rate window, or nullptr.
frmRTGraph* start_scripted_rate_run(TestApp& t, frmMain& main) {
  main.show();
  t.clock.date = DateTime{2026, 12, 8, 9, 30, 0, 2};
  t.clock.seconds = 9 * 3600 + 30 * 60;
  t.ui.answerSave(t.path("rate.log")).answerSave(t.path("rate.sum"));
  t.ui.onModal("frmHeader", [](FormBase& f) {
    auto& h = dynamic_cast<frmHeader&>(f);
    h.cmbHdr[kFlowRate]->setEditText(QStringLiteral("50"));
    h.cmdContinue->click();
  });
  main.mnuDownload->trigger();
  frmDownload* d = t.forms().loaded<frmDownload>();
  d->optRealTime->click();
  d->chkSingle->click();
  d->optDuration->click();  // 0.5 min
  d->chkReport->click();    // Summary to File
  d->chkTestAuto->click();
  d->CmdOK->click();
  processEvents();
  return t.forms().loaded<frmRTGraph>();
}

// Plays the started run to its own end: six samples, the countdown, the summary. `during_test`
// runs in its 3rd second, `during_summary` while the summary is awaited.
RunOutcome play_scripted_rate_run(TestApp& t, frmRTGraph* rt, const std::function<void()>& during_test = {},
                                  const std::function<void()>& during_summary = {}) {
  EXPECT_NE(rt, nullptr);
  if (!rt) return {};
  ScriptedSerial& port = t.serial();
  for (int second = 1; second <= 30; ++second) {
    if (second <= 6) {
      port.reply("GRA\r", rate_reply(golden_rate_row(second)));
      rt->GetDataTimer_Timer();
    }
    if (second == 3 && during_test) during_test();
    if (second == 30) port.reply("DLA1\r", kRateSummary);
    rt->DurationTimer_Timer();
  }
  EXPECT_TRUE(t.session().test_phase_flags.rt_summary_phase);
  if (during_summary) during_summary();
  if (frmRTGraph* capturing = t.forms().loaded<frmRTGraph>()) capturing->GetSumTimer_Timer();
  processEvents();
  EXPECT_FALSE(TestSequence::running(t.session()));
  EXPECT_FALSE(t.forms().isLoaded("frmRTGraph"));
  return RunOutcome{port.commands, get(t.path("rate.log")), get(t.path("rate.sum"))};
}

// The run as nobody disturbed it.
RunOutcome calm_rate_run() {
  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  return play_scripted_rate_run(t, start_scripted_rate_run(t, main));
}

void expect_same_run(const RunOutcome& disturbed, const RunOutcome& calm) {
  EXPECT_EQ(disturbed.commands, calm.commands);
  EXPECT_EQ(disturbed.log, calm.log);
  EXPECT_EQ(disturbed.summary, calm.summary);
}

}  // namespace

// The download dialog used while a logged rate run with "Summary to File" goes on: a second OK
// (other choices, another channel) is refused with its message, Cancel closes the dialog only,
// and the dialog loaded afresh with its defaults is not the run's either. The run sends the same
// bytes, writes the same log and summary and ends by its own countdown, as one nobody disturbed.
TEST(DownloadDuringARun, SecondOkAndCancelLeaveTheRunAsItWasStarted) {
  const RunOutcome calm = calm_rate_run();
  EXPECT_EQ(calm.commands, (std::vector<std::string>{"RTA1\r", "GRA\r", "GRA\r", "GRA\r", "GRA\r", "GRA\r", "GRA\r",
                                                     "STA\r", "DLA1\r"}));
  EXPECT_NE(calm.log.find("END OF DATA"), std::string::npos);
  EXPECT_NE(calm.summary.find("TEST SUMMARY"), std::string::npos);

  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  Session& s = t.session();
  frmRTGraph* rt = start_scripted_rate_run(t, main);
  expect_same_run(play_scripted_rate_run(t, rt,
                                         [&] {
                                           main.mnuDownload->trigger();
                                           frmDownload* d = t.forms().loaded<frmDownload>();
                                           EXPECT_TRUE(d->optDuration->isChecked());  // shown as the run was started
                                           d->optIndefinite->click();
                                           d->chkSaveFile->click();
                                           d->chkOccl->click();
                                           d->optPrinter->click();
                                           d->optChannelB->click();
                                           t.ui.expectBox(frmDownload::kLiveRunRunning, "DOWNLOAD", MsgAnswer::OK,
                                                          MsgIcon::Exclamation);
                                           d->CmdOK->click();
                                           t.ui.verify();
                                           EXPECT_TRUE(d->isVisible());
                                           EXPECT_EQ(s.channel_code, "A");
                                           d->cmdCancel->click();
                                           processEvents();
                                           EXPECT_FALSE(t.forms().isLoaded("frmDownload"));
                                           // Loaded afresh with its defaults, then cancelled.
                                           main.mnuDownload->trigger();
                                           t.forms().loaded<frmDownload>()->cmdCancel->click();
                                           processEvents();
                                           // The run's request still brings its window back.
                                           main.Form_Activate();
                                           EXPECT_EQ(t.forms().loaded<frmRTGraph>(), rt);
                                         }),
                  calm);
}

// Edit Summary or Data Log and the close boxes of the run's windows, while the test runs and
// while its summary is captured: each is refused with its message, and the run sends, logs and
// writes what the undisturbed run does, ending by itself. Once it has ended, Edit opens the report
// window as always.
TEST(EditAndCloseDuringARun, AreRefusedAndTheRunEndsAsItWould) {
  const RunOutcome calm = calm_rate_run();
  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  frmRTGraph* rt = start_scripted_rate_run(t, main);
  const auto refused = [&](const char* text, const char* title, const std::function<void()>& action) {
    t.ui.expectBox(text, title, MsgAnswer::OK, MsgIcon::Exclamation);
    action();
    processEvents();
    t.ui.verify();
    EXPECT_EQ(t.forms().loaded<frmRTGraph>(), rt);
    EXPECT_FALSE(t.forms().isLoaded("frmReports"));
  };
  const auto edit = [&] { main.mnuEdit->trigger(); };
  const auto close_rate = [&] { rt->frame().close(); };  // the close box of its frame
  expect_same_run(play_scripted_rate_run(
                      t, rt,
                      [&] {
                        refused(frmMain::kEditDuringLiveRun, "EDIT", edit);
                        refused(LiveTestWindow::kCloseDuringTest, "TEST RUNNING", close_rate);
                        EXPECT_TRUE(rt->GetDataTimer->isActive());
                        EXPECT_TRUE(rt->DurationTimer->isActive());
                      },
                      [&] {
                        refused(frmMain::kEditDuringLiveRun, "EDIT", edit);
                        refused(LiveTestWindow::kCloseDuringSummary, "TEST RUNNING", close_rate);
                        frmSummary* summary = t.forms().loaded<frmSummary>();
                        ASSERT_NE(summary, nullptr);
                        refused(frmSummary::kCloseDuringSummary, "TEST RUNNING", [&] { summary->frame().close(); });
                        EXPECT_EQ(t.forms().loaded<frmSummary>(), summary);
                        EXPECT_TRUE(rt->GetSumTimer->isActive());
                      }),
                  calm);

  t.ui.boxes.clear();
  main.mnuEdit->trigger();
  EXPECT_TRUE(t.ui.boxes.empty());
  ASSERT_TRUE(t.forms().isLoaded("frmReports"));
  EXPECT_TRUE(t.forms().loaded<frmReports>()->Visible());
}

// Exit with Yes while a test runs ends the program: its own unloads are not refused.
TEST(ExitDuringARun, YesEndsTheProgram) {
  TestApp t{Port::Scripted};
  frmMain& main = load_main(t);
  frmRTGraph* rt = start_scripted_rate_run(t, main);
  ASSERT_NE(rt, nullptr);
  t.serial().reply("GRA\r", rate_reply(golden_rate_row(1)));
  rt->GetDataTimer_Timer();
  t.ui.expectBox("Are you sure want to quit QTX?", "EXIT QTX", MsgAnswer::Yes);
  main.mnuExit->trigger();
  processEvents();
  t.ui.verify();
  EXPECT_TRUE(t.ended());
  for (const char* name : {"frmRTGraph", "frmDownload", "frmMain"}) EXPECT_FALSE(t.forms().isLoaded(name));
}
