// Splitting what the port delivered into poll replies: 1 kB to 8 MB of 31-byte lines waiting
// together (a flood of CR-ended noise, or replies piled up behind a message box), taken out one
// reply at a time as a live window's tick does. The cost per byte must stay flat as the bytes
// waiting grow.
#include <benchmark/benchmark.h>

#include <string>

#include "core/protocol.h"

using namespace qtx;

namespace {

void BM_SplitPollReplies(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  const std::string line = "A, 0, 0, 1, 5.0, 4.9, 0.001, 2\r";  // 31 bytes
  std::string waiting;
  waiting.reserve(size + line.size());
  while (waiting.size() < size) waiting += line;
  int64_t replies = 0;
  for (auto _ : state) {
    protocol::PollReplies r;
    r.add(waiting);
    std::string reply;
    while (r.next(reply)) {
      benchmark::DoNotOptimize(reply.data());
      ++replies;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(waiting.size()));
  state.counters["replies"] = static_cast<double>(replies) / static_cast<double>(state.iterations());
  state.counters["time_per_byte"] = benchmark::Counter(
      static_cast<double>(waiting.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SplitPollReplies)->RangeMultiplier(8)->Range(1 << 10, 8 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
