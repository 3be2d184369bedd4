// The data logs of the live tests: the rate log (single-rate flow test) and the occlusion log
// (occlusion pressure test). Each reads like a printed page: a page-1 header with the device
// record, one row per sample, a continuation heading at each page break, and closing lines with
// the technician's sign-off. Every line ends with CR LF.
//
// The writers work on a DataLogFile (the open file and its page and line counters) and send the
// lines to its LineSink; every row is flushed as soon as it is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"

namespace qtx::data_log {

enum class LogKind { Rate, Occlusion };

// The moment a test starts, as the header prints it.
struct Stamp {
  int year = 2000, month = 1, day = 1;  // month 1-12
  int hour = 0, minute = 0;
};

// "mmm d yyyy" ("Dec 8 2026") and "hh:mm" (24-hour).
std::string format_date(const Stamp& stamp);
std::string format_time(const Stamp& stamp);

// One reading of the single-rate test.
struct RateRow {
  int16_t hours = 0, minutes = 0, seconds = 0;
  double flow = 0;           // ml/h
  double avg_flow = 0;       // ml/h
  double volume = 0;         // ml
  double back_pressure = 0;  // mmHg
};

// One reading of the occlusion test.
struct OcclRow {
  int16_t minutes = 0, seconds = 0;
  double psi = 0;
  double mmhg = 0;
};

// The last row of page 1: the line counter starts at 27 after the header, and a row that takes
// it past the limit starts a new page (which then sets the counter to 6 for that row).
inline constexpr int16_t kHeaderLineCount = 27;
inline constexpr int16_t kRateLinesPerPage = 56;
inline constexpr int16_t kOcclLinesPerPage = 55;
inline constexpr int16_t kLineAfterPageBreak = 6;

// A flow, average flow or volume: below 10 "0.000", below 100 "00.00", below 1000 "000.0",
// else "0000" (the pattern is chosen on the value before rounding).
std::string flow_text(double value);

// The text of a row, without its line end.
std::string rate_row_text(const RateRow& row);
std::string occl_row_text(const OcclRow& row);

// The lines (without line ends) of the page-1 header. `test_selected` is False when the log's
// test is not part of the run: line 28 is then empty and nothing follows it.
std::vector<std::string> header_lines(LogKind kind, const DeviceRecord& record, std::string_view channel_code,
                                      const Stamp& stamp, bool test_selected);
// The six lines that start page `page` (a form feed line first).
std::vector<std::string> page_break_lines(LogKind kind, int16_t page);
// The closing lines after the last row.
std::vector<std::string> closing_lines(LogKind kind, const DeviceRecord& record, bool header_entered);

// The writers. Each returns False when its lines could not be written to the log's file; with
// no file open they only keep the counters. Each puts its lines in one write, which the log's
// file takes whole or not at all, so a row and the page break before it are in the file
// together or not at all. The counters follow what the file holds: a row that was not written
// leaves them as they were, and its page break goes with the next row.

// Page 1 from its first line: page 1, line counter 27.
bool write_header(DataLogFile& log, LogKind kind, const DeviceRecord& record, std::string_view channel_code,
                  const Stamp& stamp, bool test_selected);
// One rate row, after the page break it may need.
bool write_rate_row(DataLogFile& log, const RateRow& row);
// One occlusion row, after the page break it may need. The page break is written whenever a
// file is open; the row itself only when `row_wanted` (the log has a name).
bool write_occl_row(DataLogFile& log, const OcclRow& row, bool row_wanted);
// The closing lines; the file stays open (the caller closes it).
bool write_closing_lines(DataLogFile& log, LogKind kind, const DeviceRecord& record, bool header_entered);

}  // namespace qtx::data_log
