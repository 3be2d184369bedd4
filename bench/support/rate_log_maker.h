// Rate data logs of any length for the benchmarks, written by the program's own log writers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/data_log.h"
#include "core/line_sink.h"

namespace qtx::bench {

struct RateLogShape {
  int rows = 0;
  int first = 0;             // number of the first row; row i is at i * step_seconds
  int step_seconds = 1;
  double volume_divisor = 36;  // row i has delivered i / volume_divisor ml
  bool with_manufacturer = true;
};

inline std::string make_rate_log(const RateLogShape& shape) {
  auto sink = std::make_shared<StringSink>();
  DataLogFile log;
  log.file = sink;
  DeviceRecord rec;
  if (shape.with_manufacturer) rec.manufacturer = "Acme";
  rec.set_rate_text = "100";
  data_log::write_header(log, data_log::LogKind::Rate, rec, "A", {2026, 12, 8, 9, 30}, true);
  for (int i = shape.first; i < shape.first + shape.rows; ++i) {
    const int t = i * shape.step_seconds;
    data_log::RateRow r;
    r.hours = static_cast<int16_t>(t / 3600 % 100);
    r.minutes = static_cast<int16_t>(t / 60 % 60);
    r.seconds = static_cast<int16_t>(t % 60);
    r.flow = 99.5 + (i % 7) * 0.1;
    r.avg_flow = 100.02;
    r.volume = i / shape.volume_divisor;
    r.back_pressure = 12;
    data_log::write_rate_row(log, r);
  }
  data_log::write_closing_lines(log, data_log::LogKind::Rate, rec, true);
  return sink->data;
}

}  // namespace qtx::bench
