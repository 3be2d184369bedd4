#include "core/data_log.h"

#include <gtest/gtest.h>

#include "support/golden_log.h"
#include "support/test_data.h"

#include <fstream>
#include <sstream>

#include "core/fixed_field.h"

using namespace qtx;
using namespace qtx::data_log;

namespace {

const Stamp kStamp{2026, 12, 8, 9, 5};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t e = text.find("\r\n", pos);
    out.push_back(text.substr(pos, e - pos));
    pos = e + 2;
  }
  return out;
}

}  // namespace

TEST(FixedField, PadsWithTheBlankOrCutsToItsWidth) {
  EXPECT_EQ(replace_underlined_field("_____", "ABC"), "ABC__");
  EXPECT_EQ(replace_underlined_field("______", ""), "______");
  EXPECT_EQ(replace_underlined_field("_____", "ABCDEFGH"), "ABCDE");
  EXPECT_EQ(replace_underlined_field("_____", "ABCDE"), "ABCDE");
  // The rest of the blank, whatever it holds.
  EXPECT_EQ(replace_underlined_field("ab-de", "X"), "Xab-d");
  EXPECT_EQ(replace_underlined_field("", "X"), "");
  EXPECT_EQ(underlined_field("250", 13), "250__________");
}

TEST(DataLogNumbers, FlowPatternFollowsTheValue) {
  EXPECT_EQ(flow_text(5), "5.000");
  EXPECT_EQ(flow_text(42.5), "42.50");
  EXPECT_EQ(flow_text(250), "250.0");
  EXPECT_EQ(flow_text(1500), "1500");
  EXPECT_EQ(flow_text(-12.5), "-12.500");  // below 10, so three decimals, with its sign
  EXPECT_EQ(flow_text(0), "0.000");
  EXPECT_EQ(flow_text(-0.0004), "-0.000");
  EXPECT_EQ(flow_text(9.9996), "10.000");  // the pattern is chosen before rounding
  EXPECT_EQ(flow_text(99.996), "100.00");
  EXPECT_EQ(flow_text(12345.6), "12346");

  RateRow r{1, 2, 3, 5, 42.5, 250, 12};
  EXPECT_EQ(rate_row_text(r), "         01:02:03  5.000   42.50    250.0     12");
  r.back_pressure = 12.5;
  EXPECT_EQ(rate_row_text(r), "         01:02:03  5.000   42.50    250.0     12.5");
  r.back_pressure = 1.0 / 3;
  EXPECT_EQ(rate_row_text(r).substr(46), "0.333333333333333");

  EXPECT_EQ(occl_row_text(OcclRow{3, 7, 4.567, 236.2}), "                03:07            04.57      236");
  EXPECT_EQ(occl_row_text(OcclRow{0, 0, 0, 5}), "                00:00            00.00      005");
  EXPECT_EQ(occl_row_text(OcclRow{0, 0, -0.001, 0}), "                00:00            -00.00      000");

  EXPECT_EQ(format_date(Stamp{2026, 1, 31, 0, 0}), "Jan 31 2026");
  EXPECT_EQ(format_time(Stamp{2026, 1, 31, 7, 3}), "07:03");
  EXPECT_EQ(format_time(Stamp{2026, 1, 31, 23, 59}), "23:59");
}

TEST(DataLogGolden, RateLogAcrossTwoPageBreaks) {
  DataLogFile log;
  auto sink = std::make_shared<StringSink>();
  log.file = sink;
  DeviceRecord rec = qtx::test::golden_record();
  ASSERT_TRUE(write_header(log, LogKind::Rate, rec, "B", kStamp, true));
  EXPECT_EQ(log.page_num, 1);
  EXPECT_EQ(log.line_num, 27);
  for (int i = 1; i <= 82; ++i) ASSERT_TRUE(write_rate_row(log, qtx::test::golden_rate_row(i)));
  ASSERT_TRUE(write_closing_lines(log, LogKind::Rate, rec, true));
  EXPECT_EQ(sink->data, qtx::test::read_test_data("rate_log_82_rows.log"));
  EXPECT_EQ(log.page_num, 3);
  // Every row is flushed as it is written (and the header and the closing lines).
  EXPECT_EQ(sink->flushes, 84);

  std::vector<std::string> lines = lines_of(sink->data);
  // 31 header lines, then rows 1-29 on page 1; the 30th follows the six page lines.
  EXPECT_EQ(lines[31].substr(9, 8), "00:00:05");
  EXPECT_EQ(lines[59].substr(9, 8), "00:02:25");  // row 29
  EXPECT_EQ(lines[60], "\f");
  EXPECT_EQ(lines[62], std::string(67, ' ') + "p. 02");
  EXPECT_EQ(lines[66].substr(9, 8), "00:02:30");  // row 30
  // Page 2 runs from counter 6 (row 30) to 56: rows 30 to 80; row 81 opens page 3.
  EXPECT_EQ(lines[116].substr(9, 8), "00:06:40");  // row 80
  EXPECT_EQ(lines[117], "\f");
  EXPECT_EQ(lines[119], std::string(67, ' ') + "p. 03");
}

TEST(DataLogGolden, OcclusionLogAcrossTwoPageBreaks) {
  DataLogFile log;
  auto sink = std::make_shared<StringSink>();
  log.file = sink;
  DeviceRecord rec = qtx::test::golden_record();
  rec.pump_type = "Large volume";
  rec.pump_tolerance = "5";
  rec.technician = "J. Smith";
  ASSERT_TRUE(write_header(log, LogKind::Occlusion, rec, "B", kStamp, true));
  for (int i = 1; i <= 80; ++i) ASSERT_TRUE(write_occl_row(log, qtx::test::golden_occl_row(i), true));
  ASSERT_TRUE(write_closing_lines(log, LogKind::Occlusion, rec, true));
  EXPECT_EQ(sink->data, qtx::test::read_test_data("occlusion_log_80_rows.log"));

  std::vector<std::string> lines = lines_of(sink->data);
  EXPECT_EQ(lines[58].substr(16, 5), "02:20");  // row 28, last of page 1
  EXPECT_EQ(lines[59], "\f");
  EXPECT_EQ(lines[65].substr(16, 5), "02:25");   // row 29
  EXPECT_EQ(lines[114].substr(16, 5), "06:30");  // row 78, last of page 2
  EXPECT_EQ(lines[115], "\f");
}

TEST(DataLogHeader, SetRateWithoutVtbiAndUnselectedTest) {
  DeviceRecord rec;
  rec.set_rate_text = "250";
  for (LogKind kind : {LogKind::Rate, LogKind::Occlusion}) {
    std::vector<std::string> lines = header_lines(kind, rec, "A", kStamp, true);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[20], "         Set Rate(s): 250__________ ml/h  VTBI: ____________________ ml");
    EXPECT_EQ(lines[22], "         Comment(s): " + std::string(50, '_'));
    EXPECT_EQ(lines[25], "         Channel: A");
  }
  rec.set_rate_text.clear();
  rec.vtbi_text = "1000";
  EXPECT_EQ(header_lines(LogKind::Rate, rec, "A", kStamp, true)[20],
            "         Set Rate(s): _____________ ml/h  VTBI: 1000________________ ml");

  // A test that is not part of the run: line 28 is empty and nothing follows.
  std::vector<std::string> lines = header_lines(LogKind::Occlusion, rec, "A", kStamp, false);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[27], "");
}

TEST(DataLogClosing, TechnicianAndPumpTypeLines) {
  DeviceRecord rec;
  const std::string fixed_tech = "         Technician:_____________________ Signature:___________________";
  // Nothing entered: the rate log keeps its empty line before the technician line, the
  // occlusion log has none.
  EXPECT_EQ(closing_lines(LogKind::Rate, rec, true),
            (std::vector<std::string>{"", "         END OF DATA", "", "", fixed_tech}));
  EXPECT_EQ(closing_lines(LogKind::Occlusion, rec, true),
            (std::vector<std::string>{"", "         END OF DATA", "", fixed_tech}));
  rec.technician = "A very long technician name";
  rec.pump_type = "Syringe";
  rec.pump_tolerance = "2.5";
  EXPECT_EQ(closing_lines(LogKind::Rate, rec, true),
            (std::vector<std::string>{"", "         END OF DATA", "",
                                      "         PumpType: Syringe_______________ Pump Tolerance(+/- %): 2.5___", "",
                                      "         Technician: A very long technici Signature:___________________"}));
  // Without a device record only the end mark.
  EXPECT_EQ(closing_lines(LogKind::Rate, rec, false), (std::vector<std::string>{"", "         END OF DATA", ""}));
  EXPECT_EQ(closing_lines(LogKind::Occlusion, rec, false), (std::vector<std::string>{"", "         END OF DATA", ""}));
}

TEST(DataLogWriters, WriteFailures) {
  DeviceRecord rec;
  DataLogFile log;
  auto sink = std::make_shared<StringSink>();
  log.file = sink;
  sink->fail_after_writes = 0;  // the header is one write
  EXPECT_FALSE(write_header(log, LogKind::Rate, rec, "A", kStamp, true));
  EXPECT_EQ(sink->data, "");

  // A row and its page break go in one write: refused, it leaves the counters as they were and
  // the page break comes, with the same page number, with the next row.
  sink->fail_after_writes = -1;
  sink->data.clear();
  log.page_num = 1;
  log.line_num = 56;
  sink->fail_after_writes = sink->writes;
  EXPECT_FALSE(write_rate_row(log, qtx::test::golden_rate_row(1)));
  EXPECT_EQ(log.page_num, 1);
  EXPECT_EQ(log.line_num, 56);
  sink->fail_after_writes = -1;
  const int writes = sink->writes;
  EXPECT_TRUE(write_rate_row(log, qtx::test::golden_rate_row(2)));
  EXPECT_EQ(sink->writes, writes + 1);
  EXPECT_EQ(log.page_num, 2);
  EXPECT_EQ(log.line_num, 6);
  std::vector<std::string> expected = page_break_lines(LogKind::Rate, 2);
  expected.push_back(rate_row_text(qtx::test::golden_rate_row(2)));
  EXPECT_EQ(lines_of(sink->data), expected);

  // No file: only the counters move.
  DataLogFile none;
  none.line_num = 55;
  EXPECT_TRUE(write_occl_row(none, qtx::test::golden_occl_row(1), true));
  EXPECT_EQ(none.line_num, 6);
  EXPECT_EQ(none.page_num, 1);

  // An occlusion log without a name gets its page breaks but no rows.
  DataLogFile unnamed;
  auto s2 = std::make_shared<StringSink>();
  unnamed.file = s2;
  unnamed.page_num = 1;
  unnamed.line_num = 54;
  EXPECT_TRUE(write_occl_row(unnamed, qtx::test::golden_occl_row(1), false));
  EXPECT_EQ(s2->data, "");
  EXPECT_TRUE(write_occl_row(unnamed, qtx::test::golden_occl_row(2), false));
  EXPECT_EQ(s2->data.substr(0, 3), "\f\r\n");
  EXPECT_EQ(lines_of(s2->data).size(), 6u);
}
