// The live rate graph as its window sets it up, for the graph control's tests and benchmarks.
#pragma once

#include "platform/graph_control.h"

namespace qtx::test {

// x_max is the axis end: 50 in the window, larger to keep a long trace in view.
inline void rate_graph(GraphControl& g, double x_max = 50) {
  g.setGraphTitle("Real Time Rate Test");
  g.setLeftTitle("Flow(ml/hr)");
  g.setBottomTitle("Data Points");
  g.setNumSets(2);
  g.setNumPoints(25);
  g.setYAxisMax(150);
  g.setYAxisMin(50);
  g.setXAxisMax(x_max);
  g.setLegendText(1, "Instantaneous Flow");
  g.setLegendText(2, "Average Flow");
  g.setDrawMode(GraphControl::kRedraw);
}

}  // namespace qtx::test
