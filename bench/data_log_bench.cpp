// Long runs: writing a day of rate-log rows, turning logs of up to 300 000 rows (15.8 MB) into CSV,
// intact and damaged, and parsing poll replies.
#include <benchmark/benchmark.h>

#include "core/csv_export.h"
#include "core/protocol.h"
#include "support/rate_log_maker.h"

using namespace qtx;

namespace {

std::string day_of_rate_log(int rows) { return bench::make_rate_log({.rows = rows}); }

void BM_WriteRateLog(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(day_of_rate_log(static_cast<int>(state.range(0))));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteRateLog)->Arg(86400);

// The conversion at growing sizes, so its growth shows: linear time, and an output reserved
// once (capacity per input byte near 1, so the whole run holds about twice the log).
void convert(benchmark::State& state, const std::string& log) {
  size_t capacity = 0;
  for (auto _ : state) {
    csv_export::Conversion c = csv_export::convert_log(log);
    capacity = c.output.capacity();
    benchmark::DoNotOptimize(c);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(log.size()));
  state.counters["rows"] = static_cast<double>(state.range(0));
  state.counters["MB"] = static_cast<double>(log.size()) / 1e6;
  state.counters["out_per_in"] = static_cast<double>(capacity) / static_cast<double>(log.size());
}

void BM_ConvertLogToCsv(benchmark::State& state) { convert(state, day_of_rate_log(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_ConvertLogToCsv)->Arg(37500)->Arg(75000)->Arg(150000)->Arg(300000)->Unit(benchmark::kMillisecond);

// A damaged or foreign log: no "(mmHg)" anywhere, so the whole file is read as its header (into
// the reserved output, which is then released: out_per_in near 0, nothing to write).
void BM_ConvertDamagedLogToCsv(benchmark::State& state) {
  std::string log = day_of_rate_log(static_cast<int>(state.range(0)));
  for (size_t at = log.find("(mmHg)"); at != std::string::npos; at = log.find("(mmHg)", at)) log[at + 3] = 'x';
  convert(state, log);
}
BENCHMARK(BM_ConvertDamagedLogToCsv)->Arg(37500)->Arg(75000)->Arg(150000)->Arg(300000)->Unit(benchmark::kMillisecond);

void BM_ParseRateSample(benchmark::State& state) {
  std::string reply = "A, 0, 1, 5, 99.8, 100.2, 1.73, 12";
  for (auto _ : state) benchmark::DoNotOptimize(protocol::parse_rate_sample(reply));
}
BENCHMARK(BM_ParseRateSample);

}  // namespace
