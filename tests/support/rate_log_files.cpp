#include "support/rate_log_files.h"

#include <memory>

#include "core/line_sink.h"
#include "support/golden_log.h"

namespace qtx::test {

data_log::RateRow rate_row(int seconds, double flow, double avg_flow, double volume, double back_pressure) {
  data_log::RateRow r;
  r.hours = static_cast<int16_t>(seconds / 3600);
  r.minutes = static_cast<int16_t>(seconds / 60 % 60);
  r.seconds = static_cast<int16_t>(seconds % 60);
  r.flow = flow;
  r.avg_flow = avg_flow;
  r.volume = volume;
  r.back_pressure = back_pressure;
  return r;
}

std::vector<data_log::RateRow> steady_rows(int count, int step) {
  std::vector<data_log::RateRow> rows;
  for (int i = 1; i <= count; ++i) rows.push_back(rate_row(i * step, 100, 100.2, i * 0.1));
  return rows;
}

std::string rate_log_text(const std::vector<data_log::RateRow>& rows) {
  auto sink = std::make_shared<StringSink>();
  DataLogFile log;
  log.file = sink;
  const DeviceRecord record = golden_record();
  data_log::write_header(log, data_log::LogKind::Rate, record, "A", {2026, 12, 8, 9, 30}, true);
  for (const auto& r : rows) data_log::write_rate_row(log, r);
  data_log::write_closing_lines(log, data_log::LogKind::Rate, record, true);
  return sink->data;
}

}  // namespace qtx::test
