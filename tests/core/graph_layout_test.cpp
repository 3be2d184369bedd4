#include "core/graph_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace qtx::graph;

namespace {

// Texts 10 high (the title 16), 6 wide per character; cutting keeps whole characters.
struct FixedMeasure : TextMeasure {
  double height(TextKind kind) const override { return kind == TextKind::Title ? 16 : 10; }
  double width(TextKind, const std::string& text) const override { return 6.0 * static_cast<double>(text.size()); }
  double elided_width(TextKind kind, const std::string& text, double fit) const override {
    return std::min(width(kind, text), std::floor(fit / 6) * 6);
  }
};

GraphState state(int sets, int points) {
  GraphState s;
  s.sets.resize(static_cast<size_t>(sets));
  for (SetData& set : s.sets) {
    set.values.assign(static_cast<size_t>(points), 0.0);
    set.x.assign(static_cast<size_t>(points), 0.0);
  }
  s.second_values.assign(static_cast<size_t>(points), 0.0);
  return s;
}

// The live rate graph's setup.
GraphState rate_graph() {
  GraphState s = state(2, 25);
  s.graph_title = "Real Time Rate Test";
  s.left_title = "Flow(ml/hr)";
  s.bottom_title = "Data Points";
  s.sets[0].label = "Instantaneous Flow";
  s.sets[1].label = "Average Flow";
  s.y_min = 50;
  s.y_max = 150;
  s.x_max = 50;
  s.drawn = true;
  return s;
}

bool inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() && inner.bottom() <= outer.bottom();
}
bool inside(const Point& p, const Rect& r) {
  return p.x >= r.x - 1e-9 && p.x <= r.right() + 1e-9 && p.y >= r.y - 1e-9 && p.y <= r.bottom() + 1e-9;
}

}  // namespace

TEST(GraphLayout, PlacesTitlesLegendAndTicksAroundThePlot) {
  const Rect area{10, 20, 720, 360};
  const FixedMeasure m;
  GraphState s = rate_graph();
  for (int i = 0; i < 30; ++i) {
    s.sets[0].trace.push_back(100 + i % 7);
    s.sets[1].trace.push_back(100.5);
  }
  const Layout l = lay_out(s, area, m);
  EXPECT_EQ(l.unit, 10);  // 1/36 of the smaller side
  ASSERT_TRUE(l.plot_shown);
  EXPECT_TRUE(inside(l.plot, area));

  // Top down: title, legend, plot, X numbers, bottom title; the left title left of the plot.
  ASSERT_TRUE(l.title && l.bottom_title && l.left_title);
  EXPECT_FALSE(l.second_title);
  EXPECT_EQ(l.title->box.y, area.y + 6);
  EXPECT_EQ(l.title->box.x - area.x, area.right() - l.title->box.right());  // centred across the area
  ASSERT_EQ(l.legend.size(), 2u);
  EXPECT_GE(l.legend[0].text_box.y, l.title->box.bottom());
  EXPECT_LE(l.legend[0].text_box.bottom(), l.plot.y);
  EXPECT_GE(l.x_ticks[0].text_box.y, l.plot.bottom());
  EXPECT_GE(l.bottom_title->box.y, l.x_ticks[0].text_box.bottom());
  EXPECT_LE(l.bottom_title->box.bottom(), area.bottom());
  EXPECT_LT(l.left_title->origin.x, l.plot.x);
  EXPECT_EQ(l.left_title->angle, -90);
  EXPECT_EQ(l.left_title->origin.y, l.plot.centre_y());

  // Y ticks every 10 from the bottom of the plot to its top, numbers right of the area's edge.
  ASSERT_EQ(l.y_ticks.size(), 11u);
  for (size_t i = 0; i < l.y_ticks.size(); ++i) {
    EXPECT_EQ(l.y_ticks[i].value, 50 + 10.0 * static_cast<double>(i));
    EXPECT_EQ(l.y_ticks[i].text, std::to_string(50 + 10 * i));
    EXPECT_NEAR(l.y_ticks[i].mark_to.y, l.plot.bottom() - l.plot.h * static_cast<double>(i) / 10, 1e-9);
    EXPECT_EQ(l.y_ticks[i].mark_to.x, l.plot.x);
    EXPECT_GE(l.y_ticks[i].text_box.x, area.x);
  }
  EXPECT_EQ(l.y_grid.size(), 9u);  // not over the frame
  EXPECT_TRUE(l.y2_ticks.empty());
  // X from 0 to the axis end: the trace fits.
  EXPECT_EQ(l.x_range.lo, 0);
  EXPECT_EQ(l.x_range.hi, 50);
  EXPECT_EQ(l.x_ticks.front().mark_from.x, l.plot.x);
  EXPECT_NEAR(l.x_ticks.back().mark_from.x, l.plot.right(), 1e-9);
  EXPECT_EQ(l.x_ticks.back().text, "50");

  // Both traces, inside the plot; the legend row centred in the area.
  ASSERT_EQ(l.series.size(), 2u);
  for (const SeriesPlace& series : l.series) {
    ASSERT_FALSE(series.pieces.empty());
    for (const auto& piece : series.pieces)
      for (const Point& p : piece) EXPECT_TRUE(inside(p, l.plot));
  }
  EXPECT_EQ(l.legend[0].colour, 0);
  EXPECT_EQ(l.legend[1].text, "Average Flow");
  EXPECT_LT(l.legend[0].sample_to.x, l.legend[0].text_box.x);
  EXPECT_LT(l.legend[0].text_box.right(), l.legend[1].sample_from.x);
  EXPECT_NEAR(l.legend[0].sample_from.x - area.x, area.right() - (l.legend[1].text_box.right() - 1), 1e-9);
}

TEST(GraphLayout, LegendAndLinesFollowTheLabels) {
  GraphState s = state(4, 5);
  s.sets[0].label = "A";  // set 2 unlabelled: drawn, not in the legend
  s.sets[2].label = " ";  // hidden everywhere
  s.sets[3].label = "D";
  s.drawn = true;
  const Layout l = lay_out(s, {0, 0, 400, 300}, FixedMeasure{});
  ASSERT_EQ(l.legend.size(), 2u);
  EXPECT_EQ(l.legend[0].colour, 0);
  EXPECT_EQ(l.legend[1].colour, 3);
  std::vector<int> colours;
  for (const SeriesPlace& series : l.series) colours.push_back(series.colour);
  EXPECT_EQ(colours, (std::vector<int>{0, 1, 3}));

  // Cleared: axes and legend, no lines.
  s.drawn = false;
  EXPECT_TRUE(lay_out(s, {0, 0, 400, 300}, FixedMeasure{}).series.empty());
}

TEST(GraphLayout, SecondAxisFitsItsValuesAndTheLastSetStandsForThem) {
  GraphState s = state(3, 10);
  for (int i = 0; i < 10; ++i) {
    s.sets[0].values[static_cast<size_t>(i)] = 100;
    s.second_values[static_cast<size_t>(i)] = 0.27 * (i + 1);
  }
  s.sets[2].label = "Volume";
  s.second_axis = 2;
  s.second_title = "Volume (ml)";
  s.drawn = true;
  const Layout l = lay_out(s, {0, 0, 640, 480}, FixedMeasure{});
  ASSERT_TRUE(l.plot_shown && l.second_axis && l.second_title);
  EXPECT_LE(l.y2_range.lo, 0.27);
  EXPECT_GE(l.y2_range.hi, 2.7);
  EXPECT_EQ(l.y2_ticks.front().value, l.y2_range.lo);  // widened to whole ticks
  EXPECT_EQ(l.y2_ticks.back().value, l.y2_range.hi);
  EXPECT_GT(l.y2_ticks[0].text_box.x, l.plot.right());
  EXPECT_GT(l.second_title->origin.x, l.y2_ticks[0].text_box.x);
  EXPECT_EQ(l.second_title->angle, 90);
  std::vector<int> colours;
  for (const SeriesPlace& series : l.series) colours.push_back(series.colour);
  EXPECT_EQ(colours, (std::vector<int>{0, 1, 2}));  // set 3's own values are not drawn
}

TEST(GraphLayout, SmallAndUnusableAreas) {
  GraphState s = rate_graph();
  const Layout l = lay_out(s, {0, 0, 60, 40}, FixedMeasure{});
  EXPECT_TRUE(l.title);
  EXPECT_FALSE(l.plot_shown);
  EXPECT_TRUE(l.legend.empty() && l.series.empty() && l.x_ticks.empty() && !l.bottom_title);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(drawable({0, 0, 1, 1}));
  EXPECT_FALSE(drawable({0, 0, 0, 10}));
  EXPECT_FALSE(drawable({nan, 0, 10, 10}));

  // Text sizes follow the unit (at least 4 device units) and the per cent sizes, limited.
  EXPECT_EQ(text_pixels({0, 0, 720, 360}, {150, 100, 50, 100, 5000}), (std::array<int, 5>{15, 10, 5, 10, 100}));
  EXPECT_EQ(text_pixels({0, 0, 20, 20}, {150, 100, 100, 100, 1}), (std::array<int, 5>{6, 4, 4, 4, 1}));
}
