#include "core/graph_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qtx::graph {

namespace {

constexpr double kValueLimit = 1e300;
constexpr double kDeviceLimit = 1e9;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double limit(double v, double bound) { return std::clamp(v, -bound, bound); }

}  // namespace

Range Range::safe(double lo, double hi) {
  const bool has_lo = !std::isnan(lo);
  const bool has_hi = !std::isnan(hi);
  if (!has_lo && !has_hi) return {0, 1};
  if (has_lo) lo = limit(lo, kValueLimit);
  if (has_hi) hi = limit(hi, kValueLimit);
  if (!has_lo) lo = hi - 1;
  if (!has_hi) hi = lo + 1;
  if (lo > hi) std::swap(lo, hi);
  if (lo == hi) {
    const double widen = std::max(1.0, std::fabs(lo) * 1e-9);
    lo -= widen;
    hi += widen;
  }
  return {lo, hi};
}

double AxisMap::operator()(double value) const {
  if (!std::isfinite(value)) return kNaN;
  double t = (value - range.lo) / range.span();
  if (!std::isfinite(t)) t = t > 0 ? kDeviceLimit : -kDeviceLimit;
  return limit(from + t * (to - from), kDeviceLimit);
}

Ticks choose_ticks(const Range& range, int max_ticks) {
  max_ticks = std::max(max_ticks, 2);
  const double span = range.span();
  const double raw = span / (max_ticks - 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10 * magnitude;
  for (double m : {1.0, 2.0, 5.0}) {
    if (span / (m * magnitude) <= max_ticks - 1 + 1e-9) {
      step = m * magnitude;
      break;
    }
  }
  Ticks ticks;
  ticks.step = step;
  const double first = std::ceil(range.lo / step - 1e-9);
  const double last = std::floor(range.hi / step + 1e-9);
  // A range far narrower than its distance from zero: the tick numbers cannot be counted in
  // doubles any more, so the ends stand in for the ticks.
  if (!std::isfinite(step) || step <= 0 || first + 1 == first || last - first > max_ticks) {
    ticks.values = {range.lo, range.hi};
    ticks.step = span;
    return ticks;
  }
  for (double k = first; k <= last; k += 1) {
    double v = k * step;
    if (std::fabs(v) < step * 1e-9) v = 0;
    ticks.values.push_back(std::clamp(v, range.lo, range.hi));
  }
  return ticks;
}

std::string tick_text(double value, double step) {
  if (!std::isfinite(value)) return "";
  if (value == 0) return "0";
  char buf[64];
  if (std::fabs(value) >= 1e7 || !(step >= 1e-6)) {
    int digits = 3;
    if (std::isfinite(step) && step > 0) {
      digits = static_cast<int>(std::floor(std::log10(std::fabs(value))) - std::floor(std::log10(step))) + 1;
    }
    std::snprintf(buf, sizeof buf, "%.*g", std::clamp(digits, 1, 15), value);
  } else {
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 15);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  }
  std::string text = buf;
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

TraceWindow trace_window(std::size_t length, double x_min, double x_max) {
  TraceWindow w;
  w.x = Range::safe(x_min, x_max);
  const double n = static_cast<double>(length);
  if (n > w.x.hi) {
    const double width = w.x.span();
    w.x = {n - width, n};
  }
  if (length == 0) return w;
  // One point on either side of the shown range as well, so the line runs to both edges.
  const double first_k = std::clamp(std::ceil(w.x.lo) - 1, 1.0, n);
  const double last_k = std::clamp(std::floor(w.x.hi) + 1, 1.0, n);
  if (last_k < first_k || w.x.hi < 1 || w.x.lo > n) return w;
  w.first = static_cast<std::size_t>(first_k) - 1;
  w.count = static_cast<std::size_t>(last_k - first_k) + 1;
  return w;
}

namespace {

// Liang-Barsky: the part of the segment a-b inside the box, as parameters t0 <= t1 along it.
bool clip_segment(const Point& a, const Point& b, const Box& box, double& t0, double& t1) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  t0 = 0;
  t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  return true;
}

bool is_break(const Point& p) { return std::isnan(p.x) || std::isnan(p.y); }

}  // namespace

std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& line, const Box& box) {
  std::vector<std::vector<Point>> pieces;
  std::vector<Point> piece;
  auto close = [&] {
    if (piece.size() >= 2) pieces.push_back(std::move(piece));
    piece.clear();
  };
  for (std::size_t i = 1; i < line.size(); ++i) {
    const Point& a = line[i - 1];
    const Point& b = line[i];
    double t0 = 0, t1 = 1;
    if (is_break(a) || is_break(b) || !clip_segment(a, b, box, t0, t1)) {
      close();
      continue;
    }
    const Point start{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)};
    const Point end{a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)};
    if (t0 > 0 || piece.empty()) {
      close();
      piece.push_back(start);
    }
    piece.push_back(end);
    if (t1 < 1) close();
  }
  close();
  return pieces;
}

std::vector<Point> thin_polyline(const std::vector<Point>& line, double column) {
  if (!(column > 0) || !std::isfinite(column)) return line;
  std::vector<Point> out;
  out.reserve(std::min<std::size_t>(line.size(), 4096));
  std::size_t i = 0;
  while (i < line.size()) {
    if (is_break(line[i])) {
      out.push_back(line[i++]);
      continue;
    }
    const double col = std::floor(line[i].x / column);
    std::size_t end = i + 1;
    std::size_t lowest = i, highest = i;
    while (end < line.size() && !is_break(line[end]) && std::floor(line[end].x / column) == col) {
      if (line[end].y < line[lowest].y) lowest = end;
      if (line[end].y > line[highest].y) highest = end;
      ++end;
    }
    if (end - i <= 4) {
      out.insert(out.end(), line.begin() + static_cast<std::ptrdiff_t>(i),
                 line.begin() + static_cast<std::ptrdiff_t>(end));
    } else {
      std::size_t keep[4] = {i, std::min(lowest, highest), std::max(lowest, highest), end - 1};
      for (int k = 0; k < 4; ++k) {
        if (k > 0 && keep[k] == keep[k - 1]) continue;
        out.push_back(line[keep[k]]);
      }
    }
    i = end;
  }
  return out;
}

}  // namespace qtx::graph
