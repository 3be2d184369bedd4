#include "support/rate_logs.h"

#include <cmath>

namespace qtx::test {

LogSamples flow_log(const FlowLogOptions& o, const std::function<double(double)>& flow) {
  std::vector<Sample> samples;
  double volume = 0;
  int n = static_cast<int>(std::lround(o.minutes / o.every_min));
  for (int i = 0; i <= n; ++i) {
    double t = i * o.every_min;
    if (i > 0) volume += flow(t - o.every_min) * o.every_min / 60;
    double avg = t > 0 ? volume / t * 60 : 0;
    double time = t, vol = volume;
    if (o.as_logged) {
      time = std::trunc(t * 100 + 1e-9) / 100;
      avg = std::round(avg * 100) / 100;
      vol = std::round(vol * 1000) / 1000;
    }
    samples.push_back({time, avg, vol});
  }
  LogSamples log = samples_log(samples);
  for (int i = 0; i <= n; ++i) log.graph_flow[static_cast<size_t>(i)] = flow(i * o.every_min);
  return log;
}

LogSamples samples_log(const std::vector<Sample>& samples) {
  LogSamples log;
  for (const Sample& s : samples) {
    log.graph_time.push_back(s.time);
    log.graph_avg_flow.push_back(s.avg_flow);
    log.graph_volume.push_back(s.volume);
    log.graph_flow.push_back(s.avg_flow);
    log.graph_back_pressure.push_back(0);
  }
  log.graph_last_index = static_cast<int16_t>(samples.size()) - 1;
  return log;
}

}  // namespace qtx::test
