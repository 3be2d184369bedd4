// Receiving a download: 10 kB, 1 MB and 10 MB data logs fed to the report receiver in chunks of
// what a 100 ms tick brings at 9600 baud (96 bytes) and in 64 kB chunks, to the end of the
// download and the bytes of tempfile.dat. Reports the time per tick and the throughput.
#include <benchmark/benchmark.h>

#include <string>

#include "core/report_receiver.h"

using namespace qtx;

namespace {

std::string data_log(size_t size) {
  std::string t = "\r\n                                                                   p. 01\r\n";
  t += "         Manufacturer: ______\r\n         Elapsed   Flow  Avg Flow  Volume  B.Pres\r\n";
  for (long i = 0; t.size() < size; ++i) {
    if (i % 50 == 49) t += "\f\r\n\r\n                                                                   p. 02\r\n";
    char row[64];
    std::snprintf(row, sizeof row, "         %02ld:%02ld:%02ld  100.0   100.0    %05.2f     2\r\n", i / 3600 % 100,
                  i / 60 % 60, i % 60, static_cast<double>(i % 10000) / 100);
    t += row;
  }
  t += "END OF DATA\r\n\r\n       Technician: ____ Signature: ____\r\n\a";
  return t;
}

struct NoEvents : report::ReceiveEvents {
  bool error_reply(const std::string&) override { return true; }
  void show_line(const std::string& line) override { benchmark::DoNotOptimize(line.data()); }
};

void BM_ReceiveDownload(benchmark::State& state) {
  const std::string download = data_log(static_cast<size_t>(state.range(0)));
  const size_t chunk = static_cast<size_t>(state.range(1));
  NoEvents events;
  int64_t ticks = 0;
  for (auto _ : state) {
    std::string report;
    bool new_summary = true;
    report::ReportReceiver r;
    r.reset();
    for (size_t i = 0; i < download.size(); i += chunk) {
      ++ticks;
      if (r.tick(std::string_view(download).substr(i, chunk), report, new_summary, events).end_of_download) break;
    }
    r.end_of_download(report, new_summary, report::signoff_lines("", "", ""));
    benchmark::DoNotOptimize(r.tempfile(report));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(download.size()));
  state.counters["time_per_tick"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate |
                                                                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReceiveDownload)
    ->ArgNames({"bytes", "chunk"})
    ->ArgsProduct({{10 << 10, 1 << 20, 10 << 20}, {96, 64 << 10}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
