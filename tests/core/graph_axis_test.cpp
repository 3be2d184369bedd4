#include "core/graph_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qtx::graph;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

TEST(GraphAxis, RangesAreMendedUntilTheyCanBeDrawn) {
  auto is = [](Range r, double lo, double hi) { return r.lo == lo && r.hi == hi; };
  EXPECT_TRUE(is(Range::safe(50, 150), 50, 150));
  EXPECT_TRUE(is(Range::safe(150, 50), 50, 150));
  EXPECT_TRUE(is(Range::safe(0, 0), -1, 1));  // a base rate of 0 gives 0 to 0
  EXPECT_TRUE(is(Range::safe(kNaN, kNaN), 0, 1));
  EXPECT_TRUE(is(Range::safe(kNaN, 10), 9, 10));
  Range wide = Range::safe(-kInf, kInf);
  EXPECT_TRUE(std::isfinite(wide.span()));
  EXPECT_GT(wide.span(), 0);
  EXPECT_GT(Range::safe(1e300, 1e300).span(), 0);
}

TEST(GraphAxis, MapKeepsEveryPositionFinite) {
  AxisMap y{Range::safe(50, 150), 400, 0};
  EXPECT_DOUBLE_EQ(y(50), 400);
  EXPECT_DOUBLE_EQ(y(100), 200);
  EXPECT_DOUBLE_EQ(y(150), 0);
  EXPECT_TRUE(std::isnan(y(kNaN)));
  EXPECT_TRUE(std::isnan(y(kInf)));
  EXPECT_DOUBLE_EQ(y(1e300), -1e9);
  EXPECT_DOUBLE_EQ(y(-1e300), 1e9);
}

TEST(GraphAxis, TicksAreRoundNumbersWithinTheRange) {
  Ticks t = choose_ticks(Range::safe(50, 150), 6);
  EXPECT_EQ(t.values, (std::vector<double>{60, 80, 100, 120, 140}));
  t = choose_ticks(Range::safe(-15, 15), 7);
  EXPECT_EQ(t.values, (std::vector<double>{-15, -10, -5, 0, 5, 10, 15}));
  t = choose_ticks(Range::safe(0, 1), 3);
  EXPECT_EQ(t.values, (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(tick_text(0.5, t.step), "0.5");
  EXPECT_EQ(tick_text(120, 20), "120");
  EXPECT_EQ(tick_text(-0.04, 0.1), "0.0");  // never "-0.0"
  EXPECT_EQ(tick_text(2.5e8, 5e7), "2.5e+08");

  // Huge, tiny and far-off ranges give a few ticks and no endless loop.
  for (Range r : {Range::safe(-1e300, 1e300), Range::safe(1e-300, 2e-300), Range::safe(1e20, 1e20 + 1e5)}) {
    t = choose_ticks(r, 8);
    EXPECT_GE(t.values.size(), 2u);
    EXPECT_LE(t.values.size(), 8u);
    for (double v : t.values) EXPECT_FALSE(tick_text(v, t.step).empty());
  }
}

TEST(GraphAxis, TraceWindowScrollsOnceTheTraceOutgrowsTheAxis) {
  TraceWindow w = trace_window(10, 0, 50);
  EXPECT_EQ(w.x.lo, 0);
  EXPECT_EQ(w.x.hi, 50);
  EXPECT_EQ(w.first, 0u);
  EXPECT_EQ(w.count, 10u);
  w = trace_window(86400, 0, 50);
  EXPECT_EQ(w.x.lo, 86350);
  EXPECT_EQ(w.x.hi, 86400);
  EXPECT_EQ(w.first, 86348u);  // point 86349, just left of the axis, lets the line reach the edge
  EXPECT_EQ(w.first + w.count, 86400u);
  EXPECT_EQ(trace_window(0, 0, 50).count, 0u);
}

TEST(GraphAxis, LinesAreClippedToThePlotAndBrokenAtGaps) {
  const Box box{0, 0, 100, 100};
  auto pieces = clip_polyline({{-50, 50}, {50, 50}, {150, 50}, {kNaN, 0}, {10, 10}, {20, 20}, {30, 1e9}}, box);
  ASSERT_EQ(pieces.size(), 2u);
  ASSERT_EQ(pieces[0].size(), 3u);
  EXPECT_DOUBLE_EQ(pieces[0][0].x, 0);
  EXPECT_DOUBLE_EQ(pieces[0][2].x, 100);
  ASSERT_EQ(pieces[1].size(), 3u);  // the steep line to a huge value ends at the bottom edge
  EXPECT_DOUBLE_EQ(pieces[1][2].y, 100);
  EXPECT_TRUE(clip_polyline({{200, 200}, {300, 300}}, box).empty());
}

TEST(GraphAxis, LongLinesAreThinnedToFourPointsPerColumn) {
  std::vector<Point> line;
  for (int i = 0; i < 100000; ++i) line.push_back({i / 1000.0, (i % 977 == 5) ? -7.0 : (i % 13)});
  std::vector<Point> thin = thin_polyline(line, 1.0);
  EXPECT_LE(thin.size(), 400u);
  double low = 0, high = 0;
  for (const Point& p : thin) {
    low = std::min(low, p.y);
    high = std::max(high, p.y);
  }
  EXPECT_EQ(low, -7);
  EXPECT_EQ(high, 12);
  EXPECT_EQ(thin.front().x, line.front().x);
  EXPECT_EQ(thin.back().x, line.back().x);
  std::vector<Point> few{{0, 1}, {0.5, 2}, {1, 3}};
  EXPECT_EQ(thin_polyline(few, 1.0).size(), 3u);
}
