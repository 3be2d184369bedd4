#include "core/log_reader.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/line_sink.h"
#include "core/trumpet.h"
#include "core/vb.h"
#include "support/golden_log.h"
#include "support/rate_log_files.h"

using namespace qtx;
using namespace qtx::log_reader;
using qtx::test::rate_log_text;
using qtx::test::rate_row;
using qtx::test::steady_rows;

namespace {

// The four header lines the second pass waits for, then the given lines.
std::string hand_made(const std::string& body) {
  return "   KOLVANTA 7400-K\r\n SINGLE RATE TEST\r\n Elapsed   Flow\r\n   Time    (ml/h)\r\n" + body;
}

GraphData read_both(const std::string& text) {
  RefusedKinds kinds;
  RecordCount c = get_num_graph_records(text, kinds);
  EXPECT_TRUE(c.graph_log_ok && c.graph_data_ready);
  return get_graph_data(text, c.graph_last_index);
}

}  // namespace

TEST(LogReader, NeedsFourSampleLines) {
  RefusedKinds kinds;
  RecordCount four = get_num_graph_records(rate_log_text(steady_rows(4, 5)), kinds);
  EXPECT_TRUE(four.graph_log_ok);
  EXPECT_TRUE(four.graph_data_ready);
  EXPECT_EQ(four.graph_last_index, 3);
  EXPECT_EQ(four.notice, Notice::None);

  RecordCount three = get_num_graph_records(rate_log_text(steady_rows(3, 5)), kinds);
  EXPECT_TRUE(three.graph_log_ok);
  EXPECT_FALSE(three.graph_data_ready);
  EXPECT_EQ(three.notice, Notice::InsufficientPoints);
  EXPECT_EQ(notice_text(three.notice).text, "Insufficient number of Graph Points");
  EXPECT_EQ(notice_text(three.notice).title, "Insufficient Points");
}

TEST(LogReader, TimeIsCutToTwoDecimals) {
  EXPECT_DOUBLE_EQ(sample_minutes("02:03:59 "), 123.98);
  EXPECT_DOUBLE_EQ(sample_minutes("00:00:10 "), 0.16);
  EXPECT_DOUBLE_EQ(sample_minutes("00:01:30 "), 1.5);
  GraphData d = read_both(rate_log_text({rate_row(10, 1, 1, 1), rate_row(90, 1, 1, 1), rate_row(7439, 1, 1, 1),
                                         rate_row(7440, 1, 1, 1)}));
  EXPECT_EQ(d.samples.graph_time, (std::vector<double>{0.16, 1.5, 123.98, 124}));
}

// The writer puts the hours of a long test in as many digits as they take ("150:00:00"): those
// rows are samples too, and the graph's totals and the trumpet analysis go on past 99:59:59.
TEST(LogReader, LogsOfAHundredHoursAndMoreReadWhole) {
  std::vector<data_log::RateRow> rows;  // one row every 30 minutes for 150 hours, 100 ml/h
  for (int i = 1; i <= 300; ++i) rows.push_back(rate_row(i * 1800, 100, 100, i * 50.0));
  const std::string text = rate_log_text(rows);
  ASSERT_NE(text.find(std::string(9, ' ') + "150:00:00  100.0   100.0    15000"), std::string::npos);
  GraphData d = read_both(text);
  ASSERT_TRUE(d.graph_data_ready);
  ASSERT_EQ(d.samples.graph_last_index, 299);
  EXPECT_DOUBLE_EQ(d.samples.graph_time[198], 5970);  // 99:30:00
  EXPECT_DOUBLE_EQ(d.samples.graph_time[199], 6000);  // 100:00:00
  EXPECT_DOUBLE_EQ(d.samples.graph_time[299], 9000);
  EXPECT_DOUBLE_EQ(d.samples.graph_volume[299], 15000);
  EXPECT_DOUBLE_EQ(d.results.graph_max_volume, 15000);
  EXPECT_DOUBLE_EQ(sample_minutes("150:30:45 "), 9030.75);
  EXPECT_DOUBLE_EQ(sample_minutes("1000:00:59 "), 60000.98);
  // A 60-minute analysis from minute 8880 resamples the log up to minute 8940 and beyond.
  trumpet::TrumpetWork work;
  trumpet::getInterpolatedData(d.samples, 8880, 8940, 60, work);
  ASSERT_GE(work.interp_count, 61);
  EXPECT_NEAR(work.interp_volume[60], 8940 * 100 / 60.0, 1e-6);
  // Under 100 hours nothing changes: a row is a sample only with its colons where they stand.
  EXPECT_FALSE(is_sample_line("1:00:00 1 1 1 1"));
  EXPECT_FALSE(is_sample_line("12a:00:00 1 1 1 1"));
  EXPECT_TRUE(is_sample_line("ab:cd:ef"));
}

TEST(LogReader, ParsesEveryRowAcrossPageBreaks) {
  // 35 rows: page 1 takes 29, the rest follow a form feed and the continuation heading.
  std::vector<data_log::RateRow> rows;
  for (int i = 1; i <= 35; ++i) rows.push_back(qtx::test::golden_rate_row(i));
  const std::string text = rate_log_text(rows);
  ASSERT_NE(text.find('\f'), std::string::npos);
  GraphData d = read_both(text);
  ASSERT_TRUE(d.graph_data_ready);
  ASSERT_EQ(d.samples.graph_last_index, 34);
  for (int i = 1; i <= 35; ++i) {
    const auto& r = rows[static_cast<size_t>(i - 1)];
    const size_t k = static_cast<size_t>(i - 1);
    // Each value as the row prints it.
    EXPECT_DOUBLE_EQ(d.samples.graph_flow[k], std::stod(data_log::flow_text(r.flow))) << i;
    EXPECT_DOUBLE_EQ(d.samples.graph_avg_flow[k], std::stod(data_log::flow_text(r.avg_flow))) << i;
    EXPECT_DOUBLE_EQ(d.samples.graph_volume[k], std::stod(data_log::flow_text(r.volume))) << i;
    EXPECT_EQ(d.samples.graph_back_pressure[k], vb::CInt(r.back_pressure)) << i;
  }
  EXPECT_DOUBLE_EQ(d.samples.graph_time[34], 2.91);  // 175 s
  EXPECT_DOUBLE_EQ(d.results.graph_max_flow, 1500);
  EXPECT_DOUBLE_EQ(d.results.graph_min_flow, -3.25);
  EXPECT_DOUBLE_EQ(d.results.graph_max_volume, 5);  // 5.254 ml, whole ml
}

TEST(LogReader, OnlySamplesBetweenTheHeadersAndTheEndAreParsed) {
  const std::string text = "01:00:00 9 9 9 9\r\n" +
                           hand_made("00:00:05 10 11 1 2\r\n00:00:10 20 21 2 3\r\n"
                                     "00:00:15 30 31 3 4 and a remark\r\n00:00:20 40 41 4 5\r\n"
                                     "  END OF DATA\r\n00:00:25 50 51 5 6\r\n");
  RefusedKinds kinds;
  RecordCount c = get_num_graph_records(text, kinds);
  EXPECT_EQ(c.graph_last_index, 5);  // all six sample-like lines counted
  GraphData d = get_graph_data(text, c.graph_last_index);
  EXPECT_EQ(d.samples.graph_flow, (std::vector<double>{10, 20, 30, 40, 0, 0}));
  EXPECT_EQ(d.samples.graph_back_pressure, (std::vector<int16_t>{2, 3, 4, 5, 0, 0}));
  // base_rate and the last average come from the ends of the arrays.
  EXPECT_DOUBLE_EQ(d.results.graph_avg_rate, 0);
  EXPECT_DOUBLE_EQ(d.base_rate, 0);
}

TEST(LogReader, BaseRateFromTheNextToLastSampleAndTheFittedAxis) {
  // Flows 95 to 110, last average 100.4: up 9.6 > down 5.4.
  GraphData d = read_both(rate_log_text({rate_row(5, 95, 99, 1), rate_row(10, 110, 99.2, 2),
                                         rate_row(15, 100, 102.5, 3), rate_row(20, 101, 100.4, 4)}));
  EXPECT_DOUBLE_EQ(d.results.graph_avg_rate, 100.4);
  EXPECT_DOUBLE_EQ(d.base_rate, 103);  // Int(102.5 + 0.5)
  EXPECT_EQ(d.results.base_rate_int, 100);
  EXPECT_DOUBLE_EQ(d.results.graph_y_min, 91);
  EXPECT_DOUBLE_EQ(d.results.graph_y_max, 110);
  EXPECT_DOUBLE_EQ(d.results.graph_min_flow, 95);
  EXPECT_DOUBLE_EQ(d.results.graph_max_flow, 110);

  // Below 1 ml/h, down >= up: Int(a + down + 1) and Int(minimum).
  GraphData low = read_both(rate_log_text({rate_row(5, 0.2, 0.5, 1), rate_row(10, 0.6, 0.5, 1),
                                           rate_row(15, 0.5, 0.5, 1), rate_row(20, 0.5, 0.5, 1)}));
  EXPECT_DOUBLE_EQ(low.results.graph_y_max, 1);
  EXPECT_DOUBLE_EQ(low.results.graph_y_min, 0);
}

TEST(LogReader, RefusedKindsStopAtTheirHeader) {
  auto sink = std::make_shared<StringSink>();
  DataLogFile log;
  log.file = sink;
  data_log::write_header(log, data_log::LogKind::Occlusion, qtx::test::golden_record(), "A", {}, true);
  for (int i = 1; i <= 10; ++i) data_log::write_occl_row(log, qtx::test::golden_occl_row(i), true);
  RefusedKinds kinds;
  RecordCount c = get_num_graph_records(sink->data, kinds);
  EXPECT_FALSE(c.graph_log_ok);
  EXPECT_TRUE(kinds.occlusion);
  EXPECT_EQ(c.notice, Notice::Occlusion);
  EXPECT_EQ(notice_text(c.notice).text, "Occlusion Pressure test Graph not implemented");
  EXPECT_EQ(notice_text(c.notice).title, "Occlusion Data");

  RefusedKinds k2;
  EXPECT_EQ(get_num_graph_records("  P.C.A. PUMP TEST\r\n", k2).notice, Notice::Pca);
  EXPECT_EQ(get_num_graph_records("DUAL RATE TEST\r\n", k2).notice, Notice::DualRate);
  EXPECT_TRUE(k2.pca && k2.dual_rate);
}

TEST(LogReader, MoreSampleLinesThanACountHoldsFailTheOpen) {
  std::string body;
  for (int i = 0; i < kMaxSamples; ++i) body += "00:00:01 1 1 1 1\r\n";
  RefusedKinds kinds;
  RecordCount most = get_num_graph_records(hand_made(body), kinds);
  EXPECT_TRUE(most.graph_log_ok);
  EXPECT_EQ(most.graph_last_index, 32766);
  body += "00:00:01 1 1 1 1\r\n";
  RecordCount over = get_num_graph_records(hand_made(body), kinds);
  EXPECT_FALSE(over.graph_log_ok);
  EXPECT_EQ(over.notice, Notice::OpenError);
  EXPECT_EQ(notice_text(Notice::OpenError).text, "Error opening LOG file for graphing, graphing cancelled");
  EXPECT_TRUE(notice_text(Notice::OpenError).critical);
}

TEST(LogReader, ShortLinesAndHugePressuresReadWithoutFailing) {
  GraphData d = read_both(hand_made("00:00:05 10\r\n00:00:10\r\n00:00:15 30 31 3 99999999\r\n"
                                    "00:00:20 40 41 4 -1e300\r\n"));
  EXPECT_EQ(d.samples.graph_flow, (std::vector<double>{10, 0, 30, 40}));
  EXPECT_EQ(d.samples.graph_back_pressure, (std::vector<int16_t>{0, 0, 32767, -32768}));
}
