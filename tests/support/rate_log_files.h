// Rate data log files for the log-graph tests, written by the program's own data-log writers.
#pragma once

#include <string>
#include <vector>

#include "core/data_log.h"

namespace qtx::test {

// A row at `seconds` from the start.
data_log::RateRow rate_row(int seconds, double flow, double avg_flow, double volume, double back_pressure = 12);
// `count` rows one every `step` seconds, the first at `step`: flow 100, average 100.2, volume
// rising by 0.1 ml.
std::vector<data_log::RateRow> steady_rows(int count, int step);
// The whole log as a live test leaves it: header, rows with their page breaks, closing lines.
std::string rate_log_text(const std::vector<data_log::RateRow>& rows);

}  // namespace qtx::test
