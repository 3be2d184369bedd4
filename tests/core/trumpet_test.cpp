#include "core/trumpet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/rate_logs.h"

using namespace qtx;
using namespace qtx::trumpet;
using qtx::test::FlowLogOptions;
using qtx::test::flow_log;
using qtx::test::samples_log;

namespace {

struct Analysis {
  TrumpetWork work;
  std::array<TrumpetResult, 6> results{};
};

Analysis analyse(const LogSamples& log, int16_t start, int16_t end, double interval, double base_rate) {
  Analysis a;
  getInterpolatedData(log, start, end, interval, a.work);
  calcTrumpetError(log, base_rate, interval, a.work, a.results);
  return a;
}

// 100 ml/h up to minute 90, 120 ml/h after it, 180 minutes: the last average is 110 ml/h.
LogSamples step_log() {
  return flow_log({}, [](double t) { return t < 90 ? 100.0 : 120.0; });
}

// Average flow 0 everywhere, so the sample times are the logged minutes exactly; 1 ml a minute.
LogSamples exact_time_log(double last_avg) {
  std::vector<test::Sample> s;
  for (int t = 0; t <= 180; ++t) s.push_back({double(t), 0.0, double(t)});
  s.back().avg_flow = last_avg;
  return samples_log(s);
}

}  // namespace

TEST(TrumpetCalculation, ConstantFlowGivesNoErrorAndEqualRatesChangeNothing) {
  Analysis a = analyse(flow_log({}, [](double) { return 100.0; }), 60, 120, 30, 100);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_NEAR(a.results[i].max_err_pct, 0, 1e-5);
    EXPECT_NEAR(a.results[i].min_err_pct, 0, 1e-5);
  }
  // Every window rate exactly 60 ml/h, the last average 60 too: nothing moves off it.
  Analysis e = analyse(exact_time_log(60), 60, 120, 60, 60);
  for (int w = 0; w <= 4; ++w) EXPECT_TRUE(e.work.max_rate[w] == 60.0 && e.work.min_rate[w] == 60.0) << w;
}

TEST(TrumpetCalculation, OneStepChangeGivesTheRatesWorkedOutByHand) {
  // Minute 60 to 121 at 60 s: every window up to 19 minutes fits in the 100 and in the 120 part;
  // the 31-minute window's slowest placement, 60 to 91, holds one minute at 120.
  Analysis a = analyse(step_log(), 60, 120, 60, 100);
  EXPECT_EQ(a.work.interp_count, 62);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(a.results[i].window, kWindows[i - 1]);
    EXPECT_NEAR(a.results[i].max_err_pct, 20, 1e-4);
    EXPECT_NEAR(a.results[i].max_err_rate, 20, 1e-4);
  }
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(a.results[i].min_err_pct, 0, 1e-4);
  EXPECT_NEAR(a.results[5].min_err_rate, (30 * 100 + 120) / 31.0 - 100, 1e-4);
}

TEST(TrumpetCalculation, BaseRateZeroGivesZeroErrorsWithTheWindowsKept) {
  Analysis a = analyse(step_log(), 60, 120, 60, 0);
  for (int i = 1; i <= 5; ++i) {
    const TrumpetResult& r = a.results[i];
    EXPECT_EQ(r.window, kWindows[i - 1]);
    EXPECT_TRUE(r.max_err_pct == 0 && r.min_err_pct == 0 && r.max_err_rate == 0 && r.min_err_rate == 0) << i;
  }
  EXPECT_EQ(trumpet_averages(step_log(), 0).avg_err_pct, 0.0);
}

TEST(TrumpetCalculation, TheLastAverageFlowStartsBothRates) {
  // Minute 0 to 20 at 30 s: 41 points, too few for the 31-minute window (62 spans), so both of
  // its rates are the last average, 110; the 19-minute window's rates, all 100, lie below it.
  Analysis a = analyse(step_log(), 0, 20, 30, 100);
  EXPECT_EQ(a.work.interp_count, 41);
  EXPECT_NEAR(a.work.max_rate[4], 110, 1e-9);
  EXPECT_NEAR(a.work.min_rate[4], 110, 1e-9);
  EXPECT_NEAR(a.work.max_rate[3], 110, 1e-9);
  EXPECT_NEAR(a.work.min_rate[3], 100, 1e-9);
  EXPECT_NEAR(a.results[5].min_err_pct, 10, 1e-4);

  // 120 ml/h until minute 170, then stopped: every window rate of minutes 0-60 is above the
  // last average, which is reported as the smallest.
  LogSamples log = flow_log({}, [](double t) { return t < 170 ? 120.0 : 0.0; });
  Analysis b = analyse(log, 0, 60, 60, 100);
  double last_avg = 340.0 / 180 * 60;
  for (int i = 1; i <= 5; ++i) {
    EXPECT_NEAR(b.results[i].min_err_rate, last_avg - 100, 1e-4);
    EXPECT_NEAR(b.results[i].max_err_rate, 20, 1e-4);
  }
}

TEST(TrumpetCalculation, ResamplingEnds) {
  // First sample at minute 1: the value at minute 0 lies on the line through the first two.
  std::vector<test::Sample> s;
  for (int t = 1; t <= 70; ++t) s.push_back({double(t), (1.0 + t) / t * 60, 1.0 + t});
  Analysis early = analyse(samples_log(s), 0, 60, 60, 100);
  EXPECT_NEAR(early.work.interp_volume[0], 1.0, 1e-9);

  // Start 60, end 120 at 30 s: minute 60 on in half minutes, past 120 to the sample after it.
  Analysis a = analyse(exact_time_log(0), 60, 120, 30, 100);
  EXPECT_EQ(a.work.interp_count, 123);
  EXPECT_EQ(a.work.interp_volume[0], 60.0);
  EXPECT_EQ(a.work.interp_volume[1], 60.5);
  EXPECT_EQ(a.work.interp_volume[122], 121.0);
  EXPECT_EQ(a.work.sample_time[7], 7.0);  // average flow 0: the logged time
}

TEST(TrumpetCalculation, TooFewPointsByIntervalAndTheAveragesFromTheNextToLastSample) {
  // Start 60, end 159: first sample 60, last the one after 159; l - f = 100.
  LogSamples log = exact_time_log(0);
  EXPECT_TRUE(analyse(log, 60, 159, 30, 100).work.too_few_points);
  EXPECT_FALSE(analyse(log, 60, 159, 60, 100).work.too_few_points);

  LogSamples ends = samples_log({{0, 0, 0}, {1, 100, 1.7}, {2, 99, 3.3}, {3, 101, 5.1}});
  TrumpetAverages avg = trumpet_averages(ends, 100);
  EXPECT_EQ(avg.avg_rate, 99.0);
  EXPECT_DOUBLE_EQ(avg.avg_err_pct, -1.0);
}

TEST(TrumpetCalculation, TimesThatGoBackStopAtTheEndOfTheSeries) {
  // Sample times far beyond the last one's make the series longer than its array: it ends there.
  std::vector<test::Sample> s;
  for (int t = 0; t <= 80; ++t) s.push_back({double(t), 0.0, double(t)});
  s[40].time = 5000;
  s.back().time = 10;
  Analysis a = analyse(samples_log(s), 0, 32000, 30, 100);
  EXPECT_EQ(static_cast<size_t>(a.work.interp_count), a.work.interp_volume.size());
}

// ---- cross-check against a plain reading of the same rules ------------------------------------

namespace {

struct Plain {
  std::vector<double> series;
  bool too_few = false;
  std::array<TrumpetResult, 6> results{};
};

Plain plain_trumpet(const LogSamples& log, int start, int end, double interval, double base) {
  const auto& vol = log.graph_volume;
  int last = log.graph_last_index;
  std::vector<double> time;
  for (int i = 0; i <= last; ++i)
    time.push_back(log.graph_avg_flow[i] == 0 ? log.graph_time[i] : vol[i] / log.graph_avg_flow[i] * 60);
  double step = interval / 60;
  size_t room = static_cast<size_t>(std::nearbyint(time[last] / step + 2)) + 1;

  int cursor = 1, first = 0, final_sample = last;
  if (start > 0) {
    while (cursor < last && time[cursor] < start) cursor++;
    first = cursor;
  }
  if (end < time[last]) {
    while (cursor < last && time[cursor] < end) cursor++;
    final_sample = cursor < last - 1 ? cursor + 1 : cursor;
  }
  auto line = [&](double t, int a, int b) {
    if (time[b] == time[a]) return vol[b];
    return vol[b] + (t - time[b]) * (vol[b] - vol[a]) / (time[b] - time[a]);
  };
  Plain p;
  int k = first;
  while (k <= final_sample && p.series.size() * step <= end && p.series.size() < room) {
    double t = start + p.series.size() * step;
    int a = k > 0 ? k - 1 : 0, b = k > 0 ? k : 1;
    if (p.series.empty() || t < time[k])
      p.series.push_back(line(t, a, b));
    else if (t == time[k])
      p.series.push_back(vol[k]);
    else
      k++;
  }
  int spanned = final_sample - first;
  p.too_few = (interval == 30 && spanned < 120) || (interval == 60 && spanned < 60);

  int per_min = std::max(1, static_cast<int>(std::nearbyint(60 / interval)));
  for (int w = 0; w < 5; ++w) {
    int minutes = kWindows[w];
    std::vector<double> rates;
    for (size_t j = 0; j + static_cast<size_t>(minutes * per_min) < p.series.size(); ++j)
      rates.push_back((p.series[j + static_cast<size_t>(minutes * per_min)] - p.series[j]) * 60 / minutes);
    double hi = log.graph_avg_flow[last], lo = hi;
    for (double r : rates) {
      if (r > hi) hi = r;
      if (r < lo) lo = r;
    }
    TrumpetResult& r = p.results[w + 1];
    r.window = static_cast<int16_t>(minutes);
    if (base != 0) {
      r.max_err_pct = static_cast<float>((hi - base) / base * 100);
      r.min_err_pct = static_cast<float>((lo - base) / base * 100);
      r.max_err_rate = static_cast<float>(hi - base);
      r.min_err_rate = static_cast<float>(lo - base);
    }
  }
  return p;
}

}  // namespace

TEST(TrumpetCalculation, AgreesWithAPlainReadingOnRandomLogs) {
  std::mt19937 rng(20261209);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int run = 0; run < 200; ++run) {
    FlowLogOptions o;
    o.minutes = std::floor(uniform(60, 600));
    o.every_min = run % 3 == 0 ? 0.5 : (run % 3 == 1 ? 1.0 : 1.0 / 6);
    o.as_logged = run % 2 == 0;
    double rate = uniform(1, 500), noise = run % 4 < 2 ? uniform(0, 0.2) : 0;
    double step_at = uniform(0, o.minutes), step_by = run % 5 == 0 ? uniform(0.5, 1.5) : 1;
    double pause_from = uniform(0, o.minutes), pause_len = run % 7 == 0 ? uniform(0, 30) : 0;
    LogSamples log = flow_log(o, [&](double t) {
      if (t >= pause_from && t < pause_from + pause_len) return 0.0;
      return rate * (t >= step_at ? step_by : 1) * (1 + uniform(-noise, noise));
    });
    double length = log.graph_time[log.graph_last_index];
    int calc_window = 60 * static_cast<int>(uniform(1, length / 60));
    int start = 30 * static_cast<int>(uniform(0, std::max(1.0, (length - calc_window) / 30)));
    double interval = run % 2 ? 30 : 60;
    double base = run % 9 == 0 ? 0 : std::round(rate);
    SCOPED_TRACE("run " + std::to_string(run));

    Analysis a = analyse(log, static_cast<int16_t>(start), static_cast<int16_t>(start + calc_window), interval, base);
    Plain p = plain_trumpet(log, start, start + calc_window, interval, base);
    ASSERT_EQ(a.work.interp_count, static_cast<int>(p.series.size()));
    for (size_t i = 0; i < p.series.size(); ++i) ASSERT_EQ(a.work.interp_volume[i], p.series[i]) << i;
    EXPECT_EQ(a.work.too_few_points, p.too_few);
    for (int i = 1; i <= 5; ++i) {
      const TrumpetResult &x = a.results[i], &y = p.results[i];
      EXPECT_TRUE(x.window == y.window && x.max_err_pct == y.max_err_pct && x.min_err_pct == y.min_err_pct &&
                  x.max_err_rate == y.max_err_rate && x.min_err_rate == y.min_err_rate)
          << "window " << i;
    }
  }
}
