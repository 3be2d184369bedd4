// The longest log the graph takes: 32 767 samples (nine days at one row every 24 s), read in
// both passes and plotted in the first time window, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "core/data_log.h"
#include "core/line_sink.h"
#include "core/log_reader.h"
#include "graphs/frmGraph.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/ui.h"

using namespace qtx;

namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "qtx_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

std::string longest_rate_log() {
  auto sink = std::make_shared<StringSink>();
  DataLogFile log;
  log.file = sink;
  DeviceRecord rec;
  rec.set_rate_text = "100";
  data_log::write_header(log, data_log::LogKind::Rate, rec, "A", {2026, 12, 8, 9, 30}, true);
  for (int i = 1; i <= log_reader::kMaxSamples; ++i) {
    const int t = i * 24;
    data_log::RateRow r;
    r.hours = static_cast<int16_t>(t / 3600 % 100);
    r.minutes = static_cast<int16_t>(t / 60 % 60);
    r.seconds = static_cast<int16_t>(t % 60);
    r.flow = 99.5 + (i % 7) * 0.1;
    r.avg_flow = 100.02;
    r.volume = i / 150.0;
    r.back_pressure = 12;
    data_log::write_rate_row(log, r);
  }
  data_log::write_closing_lines(log, data_log::LogKind::Rate, rec, true);
  return sink->data;
}

void BM_OpenReadAndPlotLongestLog(benchmark::State& state) {
  application();
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
