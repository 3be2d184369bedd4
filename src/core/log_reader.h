// Reading a saved rate data log back for the log graph, in two passes over the file's bytes:
// the first checks the kind of test and counts the sample lines, the second parses the
// samples, works out the extremes and averages and fits the flow axis about the last average.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/session.h"

namespace qtx::log_reader {

// The test kinds the graph refuses, each remembered once its header line has been met. The
// graph window clears them before each Open.
struct RefusedKinds {
  bool occlusion = false;
  bool pca = false;
  bool dual_rate = false;
  bool any() const { return occlusion || pca || dual_rate; }
};

// What the user is told after a pass.
enum class Notice {
  None,
  Occlusion,           // "Occlusion Pressure test Graph not implemented"
  Pca,                 // "PCA test Graph not implemented"
  DualRate,            // "Dual Rate Test Graph not implemented"
  InsufficientPoints,  // fewer than four sample lines
  OpenError,           // the file could not be read, or holds more sample lines than a count holds
  TooLarge,            // the file is far larger than any log the graph can hold; it is not read
};

struct NoticeText {
  std::string_view text;
  std::string_view title;
  bool critical;  // critical icon; otherwise the exclamation icon
};
NoticeText notice_text(Notice notice);

// A log needs at least this many sample lines; a 16-bit count holds at most the other.
inline constexpr int kMinSamples = 4;
inline constexpr int kMaxSamples = 32767;
// The largest file the graph reads. A log of kMaxSamples rows as the live tests write it, page
// headings included, takes under 2 MB (some 55 bytes a row); a larger file cannot be a log the
// graph holds, and is refused before it is read.
inline constexpr std::uint64_t kMaxLogBytes = 8u << 20;

// A sample line: trimmed of blanks, its 3rd and 6th characters are ":"; or, from hour 100 on,
// three hour digits or more, ":" and again ":" three characters on ("150:00:00").
bool is_sample_line(std::string_view trimmed);

struct RecordCount {
  bool graph_log_ok = false;      // readable and of the single-rate kind
  bool graph_data_ready = false;  // enough sample lines to go on to the second pass
  int16_t graph_last_index = -1;  // sample lines less 1
  Notice notice = Notice::None;
};

// The first pass. Reading stops at the header line of a refused kind (its flag is set). Sample
// lines are counted wherever they stand.
RecordCount get_num_graph_records(std::string_view text, RefusedKinds& kinds);
// The first pass over a file that could not be opened or read.
RecordCount unreadable_log();
// The first pass over a file of more than kMaxLogBytes, which is not read.
RecordCount too_large_log();

struct GraphData {
  bool graph_data_ready = false;  // at least one sample was parsed
  LogSamples samples;             // indexed 0 to graph_last_index; samples not parsed stay 0
  LogGraphResults results;
  double base_rate = 0;  // the next-to-last average flow, rounded half up to a whole number
};

// Elapsed minutes of a "hh:mm:ss" field (or "hhh:mm:ss" and longer from hour 100 on), cut (not
// rounded) to two decimals.
double sample_minutes(std::string_view field);

// The second pass: samples count only after the four header lines of the log ("KOLVANTA",
// "SINGLE RATE TEST", "Elapsed", "Time") and before "END OF DATA" or Chr(7). At most
// graph_last_index + 1 samples are taken. A field that is missing or holds no number gives 0; a
// back pressure beyond the 16-bit range is held at its end.
GraphData get_graph_data(std::string_view text, int16_t graph_last_index);

}  // namespace qtx::log_reader
