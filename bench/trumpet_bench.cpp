// The trumpet analysis of the longest log the reader takes: 32 767 samples, 10 s apart, the
// whole log at a 30-second interval.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/trumpet.h"

using namespace qtx;

namespace {

LogSamples longest_log() {
  LogSamples log;
  double volume = 0;
  for (int i = 0; i < 32767; ++i) {
    double t = i / 6.0;
    double flow = 100 + 2 * std::sin(i * 0.01);
    if (i > 0) volume += flow / 360;
    log.graph_time.push_back(std::trunc(t * 100) / 100);
    log.graph_flow.push_back(flow);
    log.graph_avg_flow.push_back(t > 0 ? std::round(volume / t * 6000) / 100 : 0);
    log.graph_volume.push_back(std::round(volume * 1000) / 1000);
    log.graph_back_pressure.push_back(12);
  }
  log.graph_last_index = 32766;
  return log;
}

void BM_TrumpetAnalysis(benchmark::State& state) {
  LogSamples log = longest_log();
  const auto end = static_cast<int16_t>(std::lround(log.graph_time.back()));
  trumpet::TrumpetWork work;
  std::array<TrumpetResult, 6> results{};
  for (auto _ : state) {
    trumpet::getInterpolatedData(log, 0, end, 30, work);
    trumpet::calcTrumpetError(log, 100, 30, work, results);
    benchmark::DoNotOptimize(trumpet::trumpet_averages(log, 100));
    benchmark::DoNotOptimize(results);
  }
  state.SetItemsProcessed(state.iterations() * (log.graph_last_index + 1));
}
BENCHMARK(BM_TrumpetAnalysis)->Unit(benchmark::kMillisecond);

}  // namespace
