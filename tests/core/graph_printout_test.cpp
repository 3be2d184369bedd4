#include "core/graph_printout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace qtx;
using namespace qtx::graph_printout;

namespace {

// The printed lines of a page, zone separators shown as "|", the head line as a landscape
// printer prints it.
std::vector<std::string> lines(const Page& page) {
  std::vector<std::string> out;
  for (const PageStep& s : page) {
    if (s.kind != PageStep::kPrint && s.kind != PageStep::kHeadLine) continue;
    std::string text;
    for (const PrintItem& i : s.kind == PageStep::kPrint ? s.items : head_line(true, s.text))
      text += i.text + (i.next_zone ? "|" : "");
    out.push_back(text);
  }
  return out;
}

LogGraphFigures log_figures(double avg) {
  LogSamples log;
  log.graph_last_index = 99;
  log.graph_avg_flow.assign(100, 0);
  log.graph_time.assign(100, 0);
  log.graph_avg_flow[98] = avg;
  log.graph_time[99] = 99.5;
  LogGraphResults r;
  r.graph_max_flow = 0.5;
  r.graph_min_flow = -3.2;
  return *log_graph_figures(log, r, "/Data/Pump A.LOG", "Wednesday, Dec 9 2026");
}

}  // namespace

TEST(GraphPrintout, LogGraphPageLines) {
  const std::vector<std::string> expected = {
      "",
      "",
      "Korvane Systems Inc.|||Wednesday, Dec 9 2026",
      "",
      "Data Log Graph",
      "",
      "Average flow rate:  7.123 ml/hr  |Total time:  99.5 mins",
      "Maximum flow rate:  00.50 ml/hr |Number of Points:  100",
      "Minimum flow rate:  -03.20 ml/hr ",
      "File name:  /Data/Pump A.LOG",
      "",
  };
  EXPECT_EQ(lines(log_graph_page(log_figures(7.123456))), expected);
  // A name beyond Latin-1 prints as it stands, in its own letter case: an item of its own, in the
  // file system's encoding.
  LogGraphFigures utf8 = log_figures(7.123456);
  utf8.file_name = "/Data/\xD0\x96urnal \xC3\xA9t\xC3\xA9.LOG";
  EXPECT_EQ(lines(log_graph_page(utf8))[9], "File name:  /Data/\xD0\x96urnal \xC3\xA9t\xC3\xA9.LOG");
  const Page utf8_page = log_graph_page(utf8);
  const PageStep& name_line = utf8_page[20];
  ASSERT_EQ(name_line.items.size(), 2u);
  EXPECT_FALSE(name_line.items[0].path);
  EXPECT_TRUE(name_line.items[1].path);
  EXPECT_EQ(lines(log_graph_page(log_figures(1234.5678)))[6],
            "Average flow rate:  1234. ml/hr  |Total time:  99.5 mins");

  // Too short a log has no figures; figures that are not numbers still make a page.
  LogSamples one;
  one.graph_last_index = 0;
  one.graph_avg_flow = one.graph_time = {1};
  EXPECT_FALSE(log_graph_figures(one, {}, "x", "d"));
  LogGraphFigures bad = log_figures(std::numeric_limits<double>::quiet_NaN());
  bad.total_time = std::numeric_limits<double>::infinity();
  bad.max_flow = 1e300;
  bad.min_flow = -std::numeric_limits<double>::infinity();
  bad.file_name = std::string(300, 'N');
  EXPECT_EQ(lines(log_graph_page(bad)).size(), 11u);

  EXPECT_EQ(head_line(false, "d").size(), 3u);  // two separators
  EXPECT_EQ(head_line(true, "d").size(), 4u);
}

TEST(GraphPrintout, TrumpetPageLinesAndTableCells) {
  TrumpetFigures f;
  f.date = "Wednesday, Dec 9 2026";
  f.base_rate = 100;
  f.avg_rate = 101.25;
  f.avg_err_pct = 1.5;
  f.calc_window = 60;
  f.start_min = 30;
  f.end_min = 90;
  f.interp_interval = 60;
  f.file_name = "/Data/PUMP.log";
  const float pct[] = {2.5f, -2.5f, -0.001f, 123.456f, 0};
  const float rate[] = {-0.75f, 1, 0, -10, 0.5f};
  for (size_t i = 1; i <= 5; ++i) {
    f.results[i].max_err_pct = pct[i - 1];
    f.results[i].max_err_rate = rate[i - 1];
    f.results[i].min_err_pct = -pct[i - 1];
    f.results[i].min_err_rate = -rate[i - 1];
  }
  const std::string max_row =
      "     02.50   -00.75    -02.50    01.00     -00.00    00.00     123.46   -10.00     00.00    00.50";
  const std::string min_row =
      "    -02.50    00.75     02.50   -01.00     00.00    00.00    -123.46    10.00     00.00   -00.50";
  std::vector<std::string> expected = {
      "",
      "",
      "Korvane Systems Inc.|||Wednesday, Dec 9 2026",
      "",
      "",
      "Trumpet Graph",
      "",
      "Base Rate:  100 ml/hr",
      "Average Rate:  101.25 ml/hr",
      "Average % Error:  1.500 %",
      "Analysis Period:  60 min -  From 30 to 90 min",
      "Data Interpolation Interval: 60sec",
      "File name:  /Data/PUMP.log",
      "",
      "Observation Period:",
      "            2                 5                 11                 19                 31",
      "       %      ml/hr       %      ml/hr       %      ml/hr       %      ml/hr       %      ml/hr",
      max_row,
      min_row,
  };
  EXPECT_EQ(lines(trumpet_page(f)), expected);

  f.interp_interval = 30;
  f.too_few_points = true;
  expected[11] = "Data Interpolation Interval: 30sec";
  expected.insert(expected.begin() + 12, {"Warning: The data used to generate this graph had an insufficient ",
                                          "number of data points to be an accurate representation"});
  EXPECT_EQ(lines(trumpet_page(f)), expected);

  // The table is sized for its widest line: 12 points while it ends within the page from the
  // half-inch margin (95 characters on a 10-inch page), smaller when it would run past it.
  const Page page = trumpet_page(f);
  const auto fit =
      std::find_if(page.begin(), page.end(), [](const PageStep& p) { return p.kind == PageStep::kFitSize; });
  ASSERT_NE(fit, page.end());
  EXPECT_EQ(fit->value, static_cast<double>(max_row.size()));
  EXPECT_EQ(page.back().kind, PageStep::kFontSize);  // 12 points again after the table
  EXPECT_EQ(fitted_points(95, 12, 10), 12);
  EXPECT_DOUBLE_EQ(fitted_points(190, 12, 10), 6);
  EXPECT_DOUBLE_EQ(fitted_points(120, 12, 11.5), 11);
  EXPECT_EQ(fitted_points(200, 12, 0.4), 12);  // no room at all: left as it is
}

TEST(GraphPrintout, ImageSuffixesAndPrintPlacement) {
  for (auto [path, suffix, accepted] : {std::tuple{"graph.gif", "GIF", true},
                                        {"graph.jpeg", "JPE", false},
                                        {"/tmp/graph.bmpx", "BMP", true},
                                        {"/tmp/data.old/graph.bmp", "OLD", false},
                                        {"graph.wmf", "WMF", true},
                                        {"/tmp/graph.jp", "JP", false},
                                        {"graph", "GRA", false}}) {
    EXPECT_EQ(image_suffix(path), suffix) << path;
    EXPECT_EQ(image_suffix_accepted(image_suffix(path)), accepted) << path;
  }

  const PrintSlots landscape = graph_print_slots(true, 0, 0, 10.5, 7.5, 3);
  EXPECT_EQ(landscape, (PrintSlots{0, 0, 1, 3, 9, 4, 0, 0, 10, 8, 0, 1}));
  const PrintSlots portrait = graph_print_slots(false, 0, 0, 8.2, 10.6, 4);
  EXPECT_EQ(portrait, (PrintSlots{0, 0, 1, 4, 6, 4, 0, 0, 8, 11, 0, 1}));
}
