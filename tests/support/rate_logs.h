// Rate data logs built in memory for the graph and trumpet tests: samples at a fixed spacing
// with the volume summed from a flow profile and the average flow of the run so far, as the
// analyser logs them.
#pragma once

#include <functional>

#include "core/session.h"

namespace qtx::test {

struct FlowLogOptions {
  double minutes = 180;   // time of the last sample
  double every_min = 1;   // spacing of the samples
  bool as_logged = false; // times cut to 2 decimals, averages rounded to 2, volumes to 3 decimals
};

// flow(t) is the flow in ml/h from minute t to the next sample.
LogSamples flow_log(const FlowLogOptions& options, const std::function<double(double)>& flow);

// A log of explicit samples (time in minutes, average flow, volume).
struct Sample {
  double time, avg_flow, volume;
};
LogSamples samples_log(const std::vector<Sample>& samples);

}  // namespace qtx::test
