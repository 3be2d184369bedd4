#include "core/graph_layout.h"

#include <algorithm>
#include <cmath>

namespace qtx::graph {

namespace {

// Sizes, in units of size_unit unless said otherwise.
constexpr double kUnitPerSide = 36;     // the unit is the area's smaller side divided by this
constexpr double kUnitMin = 4;          // the unit in device units, at least ...
constexpr double kUnitMax = 2000;       // ... and at most
constexpr double kMargin = 0.6;         // around the picture
constexpr double kTickLength = 0.4;     // a tick mark
constexpr double kNumberGap = 0.2;      // between a tick mark and its number
constexpr double kRowGap = 0.5;         // below the title and the legend row, in margins
constexpr double kAxisTitleGap = 0.3;   // beside an axis title, in margins
constexpr double kLegendSample = 2;     // the line in the set's colour before a label
constexpr double kLegendGap = 0.4;      // between that line and the label
constexpr double kLegendSpacing = 1.2;  // between legend entries

// Text sizes, in per cent of the unit.
constexpr int kTextSizeMin = 10;
constexpr int kTextSizeMax = 1000;

// Ticks.
constexpr int kTicksMin = 2;
constexpr int kTicksMax = 12;
constexpr int kTickTries = 10;            // fewer ticks tried at most this often until they fit
constexpr double kNumberSpacing = 1.4;    // room a tick number needs, in its own widths
constexpr int kSecondAxisTicks = 6;       // the second axis's range is widened to ticks of this many
constexpr char kSampleNumber[] = "0000";  // a typical tick number
constexpr double kGridInset = 0.5;        // grid lines nearer the frame (device units) are left out

// A long line keeps at most 4 points per column; the plot's width holds this many columns, of
// 1 device unit at least.
constexpr double kColumnsPerPlot = 2048;

bool is_hidden(const std::string& label) { return label == " "; }
bool in_legend(const std::string& label) { return !label.empty() && !is_hidden(label); }

// A line to draw, in axis values.
struct Line {
  std::vector<Point> points;
  int colour = 0;
  bool second_axis = false;
};

// The lines the state shows and the X axis's range they are drawn against.
std::vector<Line> lines_of(const GraphState& s, Range& xr) {
  std::vector<Line> lines;
  const int num_sets = static_cast<int>(s.sets.size());
  const int num_points = static_cast<int>(s.sets.front().values.size());
  xr = Range::safe(s.x_min, s.x_max);
  const bool second_on = s.second_axis == 2;
  int stand_in = 0;  // the set that stands for the second axis's values
  size_t trace_length = 0;
  for (const SetData& set : s.sets) trace_length = std::max(trace_length, set.trace.size());
  if (s.drawn && trace_length > 0) {
    const TraceWindow w = trace_window(trace_length, s.x_min, s.x_max);
    xr = w.x;
    for (int i = 0; i < num_sets; ++i) {
      const SetData& set = s.sets[static_cast<size_t>(i)];
      if (is_hidden(set.label)) continue;
      Line line{{}, i, false};
      const size_t end = std::min(set.trace.size(), w.first + w.count);
      line.points.reserve(end > w.first ? end - w.first : 0);
      for (size_t k = w.first; k < end; ++k) line.points.push_back({static_cast<double>(k + 1), set.trace[k]});
      lines.push_back(std::move(line));
    }
  } else if (s.drawn) {
    const int first = std::clamp(s.first_visible >= 1 ? s.first_visible : 1, 1, num_points);
    const int last = s.last_visible >= 1 && s.last_visible <= num_points ? s.last_visible : num_points;
    auto x_of = [&](const SetData* set, int i) {
      if (set != nullptr && set->has_x) return set->x[static_cast<size_t>(i - 1)];
      if (last == first) return (xr.lo + xr.hi) / 2;
      return xr.lo + (i - first) * xr.span() / (last - first);
    };
    if (second_on && num_sets >= 2) stand_in = num_sets;
    for (int i = 0; i < num_sets; ++i) {
      const SetData& set = s.sets[static_cast<size_t>(i)];
      if (is_hidden(set.label) || i + 1 == stand_in) continue;
      Line line{{}, i, false};
      line.points.reserve(static_cast<size_t>(std::max(last - first + 1, 0)));
      for (int k = first; k <= last; ++k)
        line.points.push_back({x_of(&set, k), set.values[static_cast<size_t>(k - 1)]});
      lines.push_back(std::move(line));
    }
    if (second_on && !(stand_in > 0 && is_hidden(s.sets.back().label))) {
      const SetData* xs = s.sets.back().has_x ? &s.sets.back() : s.sets.front().has_x ? &s.sets.front() : nullptr;
      Line line{{}, num_sets - (stand_in > 0 ? 1 : 0), true};
      for (int k = first; k <= last; ++k)
        line.points.push_back({x_of(xs, k), s.second_values[static_cast<size_t>(k - 1)]});
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

// The range of the second axis: its values as drawn, widened to whole ticks.
Range fitted_range(const std::vector<Line>& lines) {
  double lo = NAN, hi = NAN;
  for (const Line& l : lines) {
    if (!l.second_axis) continue;
    for (const Point& pt : l.points) {
      if (!std::isfinite(pt.y)) continue;
      lo = std::isnan(lo) ? pt.y : std::min(lo, pt.y);
      hi = std::isnan(hi) ? pt.y : std::max(hi, pt.y);
    }
  }
  if (std::isnan(lo)) return {0, 1};
  Range r = Range::safe(lo, hi);
  const double step = choose_ticks(r, kSecondAxisTicks).step;
  const Range whole = Range::safe(std::floor(r.lo / step) * step, std::ceil(r.hi / step) * step);
  return std::isfinite(whole.span()) ? whole : r;
}

// Ticks for an axis of the given length whose numbers need `label_size` along it each.
template <typename Measure>
Ticks fitting_ticks(const Range& range, double length, Measure label_size) {
  int most = std::clamp(static_cast<int>(length / std::max(label_size(kSampleNumber), 1.0)), kTicksMin, kTicksMax);
  Ticks ticks = choose_ticks(range, most);
  for (int tries = 0; tries < kTickTries && ticks.values.size() > 2; ++tries) {
    double widest = 0;
    for (double v : ticks.values) widest = std::max(widest, label_size(tick_text(v, ticks.step)));
    if (widest * kNumberSpacing * static_cast<double>(ticks.values.size()) <= length) break;
    most = static_cast<int>(ticks.values.size()) - 1;
    ticks = choose_ticks(range, most);
  }
  return ticks;
}

double widest_number(const TextMeasure& m, TextKind kind, const Ticks& t) {
  double w = 0;
  for (double v : t.values) w = std::max(w, m.width(kind, tick_text(v, t.step)));
  return w;
}

// The line in device positions: thinned to what the plot can show and cut at its edges.
SeriesPlace place_line(const Line& line, const AxisMap& x, const AxisMap& y, const Rect& plot) {
  std::vector<Point> device;
  device.reserve(line.points.size());
  for (const Point& pt : line.points) device.push_back({x(pt.x), y(pt.y)});
  device = thin_polyline(device, std::max(plot.w / kColumnsPerPlot, 1.0));
  const Box box{plot.x, plot.y, plot.right(), plot.bottom()};
  return {line.colour, clip_polyline(device, box)};
}

// The legend row in `row`: the entries centred, each label cut to an equal share of the row.
std::vector<LegendPlace> place_legend(const GraphState& s, const Rect& row, double unit, const TextMeasure& m) {
  std::vector<LegendPlace> legend;
  for (int i = 0; i < static_cast<int>(s.sets.size()); ++i) {
    const SetData& set = s.sets[static_cast<size_t>(i)];
    if (in_legend(set.label)) legend.push_back({i, set.label, 0, {}, {}, {}});
  }
  if (legend.empty()) return legend;
  const double sample = unit * kLegendSample, gap = unit * kLegendGap, spacing = unit * kLegendSpacing;
  const double share = row.w / static_cast<double>(legend.size()) - sample - gap - spacing;
  double total = 0;
  std::vector<double> widths;
  for (LegendPlace& e : legend) {
    e.fit = std::max(share, unit);
    widths.push_back(m.elided_width(TextKind::Legend, e.text, e.fit));
    total += sample + gap + widths.back() + spacing;
  }
  double x = row.x + std::max(0.0, (row.w - total + spacing) / 2);
  const double mid = row.centre_y();
  for (size_t i = 0; i < legend.size(); ++i) {
    legend[i].sample_from = {x, mid};
    legend[i].sample_to = {x + sample, mid};
    x += sample + gap;
    legend[i].text_box = {x, row.y, widths[i] + 1, row.h};
    x += widths[i] + spacing;
  }
  return legend;
}

}  // namespace

bool drawable(const Rect& area) { return area.w > 0 && area.h > 0 && std::isfinite(area.x + area.y + area.w + area.h); }

double size_unit(const Rect& area) { return std::clamp(std::min(area.w, area.h) / kUnitPerSide, kUnitMin, kUnitMax); }

std::array<int, 5> text_pixels(const Rect& area, const std::array<int, 5>& text_size) {
  const double unit = size_unit(area);
  std::array<int, 5> pixels{};
  for (size_t k = 0; k < pixels.size(); ++k) {
    pixels[k] =
        std::max(1, static_cast<int>(std::lround(unit * std::clamp(text_size[k], kTextSizeMin, kTextSizeMax) / 100.0)));
  }
  return pixels;
}

Layout lay_out(const GraphState& s, const Rect& area, const TextMeasure& m) {
  Layout L;
  const double unit = L.unit = size_unit(area);
  const double margin = unit * kMargin;
  const double tick = unit * kTickLength;
  const double number_gap = unit * kNumberGap;
  const double title_h = m.height(TextKind::Title), axis_h = m.height(TextKind::AxisTitle),
               number_h = m.height(TextKind::Numbers), legend_h = m.height(TextKind::Legend),
               second_h = m.height(TextKind::SecondAxis);

  const std::vector<Line> lines = lines_of(s, L.x_range);
  L.second_axis = s.second_axis == 2;
  L.y_range = Range::safe(s.y_min, s.y_max);
  L.y2_range = fitted_range(lines);

  // From the outside in: title and legend rows at the top, the bottom axis's title and numbers
  // at the bottom, the left axis's title and numbers at the left, the second axis's at the right.
  double top = area.y + margin;
  if (!s.graph_title.empty()) {
    const Rect box{area.x + margin, top, area.w - 2 * margin, title_h};
    L.title = TextPlace{s.graph_title, box, box.w};
    top += title_h + margin * kRowGap;
  }
  std::optional<Rect> legend_row;
  if (std::any_of(s.sets.begin(), s.sets.end(), [](const SetData& set) { return in_legend(set.label); })) {
    legend_row = Rect{area.x + margin, top, area.w - 2 * margin, legend_h};
    top += legend_h + margin * kRowGap;
  }
  double bottom = area.bottom() - margin;
  std::optional<Rect> bottom_title_box;
  if (!s.bottom_title.empty()) {
    bottom -= axis_h;
    bottom_title_box = Rect{area.x, bottom, area.w, axis_h};
    bottom -= margin * kAxisTitleGap;
  }
  bottom -= number_h + tick;
  const double plot_height = bottom - top;

  const Ticks yticks = fitting_ticks(L.y_range, plot_height, [&](const std::string&) { return number_h; });
  const Ticks y2ticks = fitting_ticks(L.y2_range, plot_height, [&](const std::string&) { return second_h; });
  double left = area.x + margin;
  if (!s.left_title.empty()) left += axis_h + margin * kAxisTitleGap;
  const double left_title_x = left - margin * kAxisTitleGap;
  left += widest_number(m, TextKind::Numbers, yticks) + tick + number_gap;
  double right = area.right() - margin;
  double second_title_x = right;
  if (L.second_axis) {
    if (!s.second_title.empty()) {
      right -= second_h + margin * kAxisTitleGap;
      second_title_x = right + margin * kAxisTitleGap;
    }
    right -= widest_number(m, TextKind::SecondAxis, y2ticks) + tick + number_gap;
  } else {
    right -= m.width(TextKind::Numbers, kSampleNumber) / 2;  // room for half the last X number
  }
  const Rect plot{left, top, right - left, bottom - top};
  L.plot = plot;
  L.plot_shown = !(plot.w < unit || plot.h < unit);
  if (!L.plot_shown) return L;

  const Ticks xticks =
      fitting_ticks(L.x_range, plot.w, [&](const std::string& t) { return m.width(TextKind::Numbers, t); });
  const AxisMap xmap{L.x_range, plot.x, plot.right()};
  const AxisMap ymap{L.y_range, plot.bottom(), plot.y};
  const AxisMap y2map{L.y2_range, plot.bottom(), plot.y};

  for (double v : xticks.values) {
    const double x = xmap(v);
    if (x > plot.x + kGridInset && x < plot.right() - kGridInset) L.x_grid.push_back(x);
  }
  for (double v : yticks.values) {
    const double y = ymap(v);
    if (y > plot.y + kGridInset && y < plot.bottom() - kGridInset) L.y_grid.push_back(y);
  }

  for (const Line& line : lines) L.series.push_back(place_line(line, xmap, line.second_axis ? y2map : ymap, plot));

  for (double v : xticks.values) {
    const double x = xmap(v);
    L.x_ticks.push_back({v,
                         {x, plot.bottom()},
                         {x, plot.bottom() + tick},
                         tick_text(v, xticks.step),
                         {x - plot.w / 2, plot.bottom() + tick, plot.w, number_h}});
  }
  for (double v : yticks.values) {
    const double y = ymap(v);
    L.y_ticks.push_back({v,
                         {plot.x - tick, y},
                         {plot.x, y},
                         tick_text(v, yticks.step),
                         {area.x, y - number_h / 2, plot.x - tick - number_gap - area.x, number_h}});
  }
  if (L.second_axis) {
    for (double v : y2ticks.values) {
      const double y = y2map(v);
      L.y2_ticks.push_back(
          {v,
           {plot.right(), y},
           {plot.right() + tick, y},
           tick_text(v, y2ticks.step),
           {plot.right() + tick + number_gap, y - second_h / 2, area.right() - plot.right(), second_h}});
    }
  }

  if (bottom_title_box) L.bottom_title = TextPlace{s.bottom_title, *bottom_title_box, area.w - 2 * margin};
  if (!s.left_title.empty()) {
    L.left_title =
        UprightText{s.left_title, {left_title_x, plot.centre_y()}, -90, {-plot.h / 2, -axis_h, plot.h, axis_h}, plot.h};
  }
  if (L.second_axis && !s.second_title.empty()) {
    L.second_title = UprightText{
        s.second_title, {second_title_x, plot.centre_y()}, 90, {-plot.h / 2, -second_h, plot.h, second_h}, plot.h};
  }
  if (legend_row) L.legend = place_legend(s, *legend_row, unit, m);
  return L;
}

}  // namespace qtx::graph
