#include "acquisition/data_log_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "shell/frmMain.h"
#include "support/golden_log.h"
#include "support/main_window.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;
using namespace qtx::data_log;

namespace {

std::string get(const std::string& path) { return files::read_all(path).value_or("<missing>"); }

// The record and readings behind the golden logs in tests/data.
void set_up_run(TestApp& t) {
  Session& s = t.session();
  s.device_record = golden_record();
  s.channel_code = "B";
  s.header_entered = true;
  s.download_flags.download_ok = true;
  t.clock.date = DateTime{2026, 12, 8, 0, 0, 0, 2};
  t.clock.seconds = 9 * 3600 + 5 * 60 + 41.5;
}

}  // namespace

TEST(DataLogFiles, RateLogOnDiskDuringAndAfterTheTest) {
  TestApp t;
  load_main_without_ports(t);
  set_up_run(t);
  Session& s = t.session();
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("sums"))));
  s.download_flags.log_rt_data = true;
  s.download_flags.single_rate_selected = true;
  s.rt_data_file = t.path("rate.log");
  ASSERT_TRUE(files::write_all(s.rt_data_file, "an older file of that name"));
  s.file_name = t.path("sums/rate.sum");  // the last name chosen

  DataLogFiles::write_RTfile_header(t.app());
  const std::string golden = read_test_data("rate_log_82_rows.log");
  const std::string header = golden.substr(0, golden.find("         00:00:05"));
  EXPECT_EQ(get(s.rt_data_file), header);
  EXPECT_EQ(s.folders.save_dir, t.path("sums"));
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), t.path("sums"));

  for (int i = 1; i <= 82; ++i) {
    ASSERT_TRUE(DataLogFiles::current_data_to_file(t.app(), golden_rate_row(i)));
    // Each row is in the file the moment it is written.
    std::string now = get(s.rt_data_file);
    ASSERT_EQ(now, golden.substr(0, now.size()));
    ASSERT_EQ(now.substr(now.size() - 2), "\r\n");
    ASSERT_NE(now.find(rate_row_text(golden_rate_row(i))), std::string::npos);
  }
  DataLogFiles::close_data_file(t.app(), LogKind::Rate);
  EXPECT_EQ(get(s.rt_data_file), golden);
  EXPECT_FALSE(s.rt_log.file);
  // Closed: a late row goes nowhere.
  DataLogFiles::current_data_to_file(t.app(), golden_rate_row(1));
  EXPECT_EQ(get(s.rt_data_file), golden);
}

TEST(DataLogFiles, OcclusionLogAndTheStopOfAllTests) {
  TestApp t;
  load_main_without_ports(t);
  set_up_run(t);
  Session& s = t.session();
  s.device_record.pump_type = "Large volume";
  s.device_record.pump_tolerance = "5";
  s.device_record.technician = "J. Smith";
  s.download_flags.log_ot_data = true;
  s.download_flags.occlusion_selected = true;
  s.ot_data_file = t.path("occl.log");
  DataLogFiles::write_OTfile_header(t.app());
  for (int i = 1; i <= 80; ++i) DataLogFiles::write_current_data(t.app(), golden_occl_row(i));
  DataLogFiles::close_data_file(t.app(), LogKind::Occlusion);
  EXPECT_EQ(get(s.ot_data_file), read_test_data("occlusion_log_80_rows.log"));

  // A run that is stopped: the log goes without closing lines.
  s.ot_data_file = t.path("occl2.log");
  DataLogFiles::write_OTfile_header(t.app());
  DataLogFiles::write_current_data(t.app(), golden_occl_row(1));
  EXPECT_TRUE(files::exists(s.ot_data_file));
  DataLogFiles::discard_data_file(t.app(), LogKind::Occlusion);
  EXPECT_FALSE(files::exists(s.ot_data_file));
  EXPECT_FALSE(s.ot_log.file);
  EXPECT_TRUE(files::exists(t.path("occl.log")));
}

TEST(DataLogFiles, HeaderWithoutLoggingOrName) {
  TestApp t;
  load_main_without_ports(t);
  set_up_run(t);
  Session& s = t.session();
  // Not logging: nothing at all.
  s.rt_data_file = t.path("rate.log");
  DataLogFiles::write_RTfile_header(t.app());
  EXPECT_FALSE(files::exists(s.rt_data_file));

  s.download_flags.log_rt_data = true;
  s.download_flags.log_ot_data = true;
  s.rt_data_file.clear();
  t.ui.expectBox("Logging real-time data to file CANCELLED", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation,
                 MsgButtons::OK);
  DataLogFiles::write_RTfile_header(t.app());
  t.ui.expectBox("Logging occlusion data to file CANCELLED", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation,
                 MsgButtons::OK);
  DataLogFiles::write_OTfile_header(t.app());
  EXPECT_TRUE(s.download_flags.download_ok);
}

TEST(DataLogFiles, HeaderThatCannotBeWrittenAsksForAnotherName) {
  TestApp t;
  load_main_without_ports(t);
  set_up_run(t);
  Session& s = t.session();
  s.download_flags.log_rt_data = true;
  s.download_flags.single_rate_selected = true;
  s.file_name = t.path("chosen.log");
  t.app().commonDialog().Filter = "Log Files (*.log)| *.log";
  t.app().commonDialog().Flags = 2062;

  // A folder where the file should be: told, then the save dialog again with an empty name.
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.path("a-folder.log"))));
  s.rt_data_file = t.path("a-folder.log");
  t.ui.expectBox("Bad file name for real-time data", "INVALID FILE NAME", MsgAnswer::OK, MsgIcon::Exclamation,
                 MsgButtons::OK)
      .answerSave(t.path("missing/x.log"))
      .expectBox("Bad file name for real-time data", "INVALID FILE NAME")
      .answerSave(t.path("second.log"));
  DataLogFiles::write_RTfile_header(t.app());
  ASSERT_EQ(t.ui.save_dialogs.size(), 2u);
  EXPECT_EQ(t.ui.save_dialogs[0].FileName, "");
  EXPECT_EQ(t.ui.save_dialogs[0].Filter, "Log Files (*.log)| *.log");
  EXPECT_EQ(t.ui.save_dialogs[0].Flags, 2062);
  EXPECT_EQ(s.rt_data_file, t.path("second.log"));
  EXPECT_TRUE(s.download_flags.download_ok);
  const std::string golden = read_test_data("rate_log_82_rows.log");
  EXPECT_EQ(get(s.rt_data_file), golden.substr(0, golden.find("         00:00:05")));
  EXPECT_TRUE(QDir(QString::fromStdString(t.path("a-folder.log"))).exists());
  DataLogFiles::close_data_file(t.app(), LogKind::Rate);

  // The occlusion log's own texts; a cancel ends the start and leaves no log.
  s.download_flags.log_ot_data = true;
  s.download_flags.occlusion_selected = true;
  s.ot_data_file = t.path("missing/occl.log");
  s.folders.save_dir = t.path("unchanged");
  t.ui.expectBox("Error writing occlusion data", "FILE ACCESS ERROR", MsgAnswer::OK, MsgIcon::Exclamation,
                 MsgButtons::OK)
      .answerSave("");
  DataLogFiles::write_OTfile_header(t.app());
  EXPECT_FALSE(s.download_flags.download_ok);
  EXPECT_EQ(s.ot_data_file, "");
  EXPECT_FALSE(s.ot_log.file);
  EXPECT_EQ(s.folders.save_dir, t.path("unchanged"));
}
