#include "core/trumpet.h"

#include <algorithm>
#include <limits>

#include "core/vb.h"

namespace qtx::trumpet {

namespace {

// The resampled series never holds more points than a 16-bit count.
constexpr double kMaxSeries = std::numeric_limits<int16_t>::max();

// The sample's average flow, or 0 for a log without samples.
double avg_flow_at(const LogSamples& log, int index) {
  if (index < 0 || static_cast<size_t>(index) >= log.graph_avg_flow.size()) return 0;
  return log.graph_avg_flow[static_cast<size_t>(index)];
}

// A result stored as a 32-bit float; values beyond its range keep their sign at its largest.
float to_single(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<float>::max();
  if (v < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(v);
}

}  // namespace

double interpolate(double x, double y1, double y2, double x1, double x2) {
  if (x2 - x1 == 0) return y2;
  return y2 + (x - x2) * (y2 - y1) / (x2 - x1);
}

void getInterpolatedData(const LogSamples& log, int16_t start_min, int16_t end_min, double interval,
                         TrumpetWork& work) {
  const int last = log.graph_last_index;
  const double step = interval / 60;

  work.sample_time.assign(static_cast<size_t>(std::max(last + 1, 0)), 0.0);
  for (int i = 0; i <= last; ++i) {
    const size_t u = static_cast<size_t>(i);
    double avg = log.graph_avg_flow[u];
    work.sample_time[u] = avg == 0 ? log.graph_time[u] : log.graph_volume[u] / avg * 60;
  }
  const std::vector<double>& st = work.sample_time;
  const std::vector<double>& vol = log.graph_volume;

  // M + 1 entries, M = sample_time(last) / step + 2; a series beyond a 16-bit count, or one
  // that the times make negative or undefined, is cut to what the count holds.
  double m = last >= 0 && step > 0 ? vb::round_half_even(st[static_cast<size_t>(last)] / step + 2) : -1;
  if (!(m >= -1)) m = -1;
  m = std::min(m, kMaxSeries - 1);
  work.interp_volume.assign(static_cast<size_t>(m + 1), 0.0);
  work.interp_count = 0;

  int f = 0;
  int l = 0;
  if (last >= 1) {
    int j = 1;
    if (start_min > 0) {
      while (st[static_cast<size_t>(j)] < start_min && j < last) ++j;
      f = j;
    }
    if (end_min < st[static_cast<size_t>(last)]) {
      while (st[static_cast<size_t>(j)] < end_min && j < last) ++j;
      l = j < last - 1 ? j + 1 : j;
    } else {
      l = last;
    }

    auto on = [&](double t, int a, int b) {
      const size_t ua = static_cast<size_t>(a), ub = static_cast<size_t>(b);
      return interpolate(t, vol[ua], vol[ub], st[ua], st[ub]);
    };
    const size_t capacity = work.interp_volume.size();
    int k = f;
    int count = 0;
    while (count * step <= end_min && k <= l && static_cast<size_t>(count) < capacity) {
      const double t = start_min + count * step;
      const size_t uk = static_cast<size_t>(k);
      double value;
      if (count == 0 || t < st[uk]) {
        value = k > 0 ? on(t, k - 1, k) : on(t, 0, 1);
      } else if (t == st[uk]) {
        value = vol[uk];
      } else {
        // Later than this sample (or a time that compares with nothing): the next sample.
        ++k;
        continue;
      }
      work.interp_volume[static_cast<size_t>(count)] = value;
      ++count;
    }
    work.interp_count = static_cast<int16_t>(count);
  }

  const int n = l - f;
  work.too_few_points = (interval == 30 && n < 120) || (interval == 60 && n < 60);
}

void calcTrumpetError(const LogSamples& log, double base_rate, double interval, TrumpetWork& work,
                      std::array<TrumpetResult, 6>& results) {
  const double start_rate = avg_flow_at(log, log.graph_last_index);
  for (int w = 0; w <= 4; ++w) {
    work.max_rate[static_cast<size_t>(w)] = start_rate;
    work.min_rate[static_cast<size_t>(w)] = start_rate;
  }

  int per_min = 0;
  if (interval != 0) per_min = vb::CInt(1 / (interval / 60));
  if (per_min < 1) per_min = 1;

  const int count = std::min<int>(work.interp_count, static_cast<int>(work.interp_volume.size()));
  const std::vector<double>& iv = work.interp_volume;
  for (int w = 0; w <= 4; ++w) {
    const size_t uw = static_cast<size_t>(w);
    const int window = kWindows[uw];
    const int span = window * per_min;
    double& max_rate = work.max_rate[uw];
    double& min_rate = work.min_rate[uw];
    for (int j = 0; j + span < count; ++j) {
      double rate = (iv[static_cast<size_t>(j + span)] - iv[static_cast<size_t>(j)]) * 60 / window;
      if (rate > max_rate)
        max_rate = rate;
      else if (rate < min_rate)
        min_rate = rate;
    }
    results[uw + 1].window = static_cast<int16_t>(window);
  }

  for (int w = 0; w <= 4; ++w) {
    const size_t uw = static_cast<size_t>(w);
    TrumpetResult& r = results[uw + 1];
    if (base_rate == 0) {
      r.max_err_pct = r.min_err_pct = r.max_err_rate = r.min_err_rate = 0;
      continue;
    }
    r.max_err_pct = to_single((work.max_rate[uw] - base_rate) / base_rate * 100);
    r.min_err_pct = to_single((work.min_rate[uw] - base_rate) / base_rate * 100);
    r.max_err_rate = to_single(work.max_rate[uw] - base_rate);
    r.min_err_rate = to_single(work.min_rate[uw] - base_rate);
  }
}

TrumpetAverages trumpet_averages(const LogSamples& log, double base_rate) {
  TrumpetAverages a;
  a.avg_rate = avg_flow_at(log, log.graph_last_index - 1);
  a.avg_err_pct = base_rate != 0 ? (a.avg_rate - base_rate) / base_rate * 100 : 0;
  return a;
}

}  // namespace qtx::trumpet
