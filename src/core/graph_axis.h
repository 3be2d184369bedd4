// The arithmetic of a plotted graph, without any drawing: axis ranges made safe to draw, the map
// from values to device positions, the choice of tick values and their texts, the window of a
// running trace, clipping of lines to the plot and thinning of long lines to what the device
// can show.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qtx::graph {

// An axis range that can always be drawn: finite, low below high, a span that is neither zero
// nor too large for double arithmetic. Anything else is mended: values that are not finite or
// lie beyond +/-1E300 are limited (a missing end takes the other end's neighbourhood), equal
// ends are widened by 1 on each side, ends given the wrong way round are swapped.
struct Range {
  double lo = 0;
  double hi = 1;
  static Range safe(double lo, double hi);
  double span() const { return hi - lo; }
};

// Linear map of an axis range onto device positions: lo goes to `from`, hi to `to` (for a
// Y axis `from` is the bottom of the plot, so `to` is smaller). Values that are not finite map
// to NaN; finite values map to finite positions (limited to +/-1E9 device units, far outside
// any plot, so that a huge value still draws as a steep line leaving the plot).
struct AxisMap {
  Range range;
  double from = 0;
  double to = 1;
  double operator()(double value) const;
};

// The tick values for a range: multiples of 1, 2 or 5 times a power of ten, at most
// `max_ticks` of them (at least 2 are allowed), all within the range. `step` is the distance
// between ticks; it decides the number of decimals in tick_text.
struct Ticks {
  std::vector<double> values;
  double step = 1;
};
Ticks choose_ticks(const Range& range, int max_ticks);

// A tick value as text: as many decimals as the step needs, no "-0"; values of 1E7 and more (or
// steps below 1E-6) in short exponent form.
std::string tick_text(double value, double step);

// The part of a running trace that the X axis shows. Trace point k (from 1) lies at x = k. While
// the trace fits into [x_min, x_max] the axis stays as set; once it is longer the axis keeps its
// width and moves along so that the newest point is at its right end. `first` and `count` are
// the 0-based index and number of the points inside the shown range.
struct TraceWindow {
  Range x;
  std::size_t first = 0;
  std::size_t count = 0;
};
TraceWindow trace_window(std::size_t length, double x_min, double x_max);

struct Point {
  double x = 0;
  double y = 0;
};
struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// Cuts a line into the pieces that lie inside the box. Points that are NaN break the line. Each
// piece has at least 2 points; pieces follow the line's order.
std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& line, const Box& box);

// Thins a long line to what a device can show: a run of more than 4 consecutive points that
// fall into the same device column of width `column` is replaced by its first, lowest, highest
// and last point (in their order along the line), so the drawn shape stays the same while the
// line keeps at most 4 points per column. NaN points (breaks) are kept.
std::vector<Point> thin_polyline(const std::vector<Point>& line, double column);

}  // namespace qtx::graph
