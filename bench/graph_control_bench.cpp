// The live graph's cost per poll tick: one mode 8 draw (point 1 of both sets appended to the
// running trace) and the whole picture rendered, with a trace of 10, 1 000 and 86 400 points (a
// day at one sample a second). The cost follows the points shown, not the length of the trace.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "platform/graph_control.h"
#include "support/live_rate_graph.h"

using namespace qtx;

namespace {

void sample(GraphControl& g, int i) {
  g.setThisSet(1);
  g.setGraphData(1, 100 + 5 * std::sin(i / 30.0));
  g.setThisSet(2);
  g.setGraphData(1, 100.2);
  g.setDrawMode(GraphControl::kLiveSample);
}

void live_tick(benchmark::State& state, double x_max) {
  GraphControl g;
  test::rate_graph(g, x_max);
  const int length = static_cast<int>(state.range(0));
  for (int i = 0; i < length; ++i) sample(g, i);
  QImage image(640, 480, QImage::Format_RGB32);
  int i = length;
  for (auto _ : state) {
    sample(g, i++);
    QPainter p(&image);
    g.render(p, QRectF(0, 0, 640, 480));
  }
  state.counters["trace"] = static_cast<double>(g.trace(1).size());
}

// The live windows' X axis of 50 points: the trace scrolls.
void BM_LiveTick(benchmark::State& state) { live_tick(state, 50); }
BENCHMARK(BM_LiveTick)->Arg(10)->Arg(1000)->Arg(86400)->Unit(benchmark::kMicrosecond);

// The whole trace on the axis: the line is thinned to what the plot's width can show.
void BM_LiveTickWholeTraceShown(benchmark::State& state) { live_tick(state, 86400); }
BENCHMARK(BM_LiveTickWholeTraceShown)->Arg(86400)->Unit(benchmark::kMicrosecond);

}  // namespace
