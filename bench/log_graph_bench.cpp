// The longest log the graph takes: 32 767 samples (nine days at one row every 24 s), read in
// both passes and plotted in the first time window, offscreen.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "core/log_reader.h"
#include "graphs/frmGraph.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"
#include "support/rate_log_maker.h"

using namespace qtx;

namespace {

std::string longest_rate_log() {
  return bench::make_rate_log({.rows = log_reader::kMaxSamples, .first = 1, .step_seconds = 24,
                               .volume_divisor = 150, .with_manufacturer = false});
}

void BM_OpenReadAndPlotLongestLog(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("longest.log")).toStdString();
  files::write_all(path, longest_rate_log());
  MemorySettingsStore settings;
  auto comm = make_qt_serial_port(settings);
  QtUi ui;  // no box is expected on this road
  SystemClock clock;
  App app(settings, *comm, ui, clock);
  frmGraph& graph = app.forms().get<frmGraph>();
  for (auto _ : state) {
    app.session().file_name = path;
    graph.get_num_graph_records();
    graph.get_graph_data();
    graph.graph_data4();
    if (!graph.graph_data_ready || graph.plot_failed) state.SkipWithError("the log was not plotted");
  }
  state.SetItemsProcessed(state.iterations() * log_reader::kMaxSamples);
}
BENCHMARK(BM_OpenReadAndPlotLongestLog)->Unit(benchmark::kMillisecond);

}  // namespace
