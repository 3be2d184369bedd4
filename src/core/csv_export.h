// Turning a saved data log into comma-separated text that a spreadsheet opens: the log's header
// as one block, two column-title rows, each data row with its fields split by commas, no page
// headings, and the log's closing lines after the data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qtx::csv_export {

inline constexpr std::string_view kTitleLine1 = ",,Elasped,,Flow,Avg Flow,Volume,B.Pres";
inline constexpr std::string_view kTitleLine2 = ",,Time,,(ml/h),(ml/h),(ml),(mmHg)";
// The header block ends where the accumulated header first holds this; its last 110
// characters (the column titles of the log, the empty line before them and the end of the
// test-name line) are cut off.
inline constexpr std::string_view kHeaderEnd = "(mmHg)";
inline constexpr size_t kHeaderCut = 110;
inline constexpr std::string_view kEndOfData = "END OF DATA";
// A page break line and the page heading lines after it.
inline constexpr char kFormFeed = '\f';
inline constexpr int kPageHeadingLines = 5;

// Each ":" becomes ","; the first blank of each run of blanks becomes ","; the others stay. The
// line keeps its length. The conversion is left in `line` and returned.
std::string line_to_csv(std::string& line);

// The largest log converted. The conversion holds the log and its output in memory (about
// twice the log); a live test polled every second writes some 200 kB an hour, so this takes
// logs of two weeks. A larger file is refused before it is read.
inline constexpr std::uint64_t kMaxLogBytes = 64u << 20;

// True when the name ends in ".log", in any case (".LOG" of the live tests' logs too).
bool has_log_extension(std::string_view name);
// The output file of a log: the name less its last four characters, then ".CSV" (whatever the
// case of the log's extension).
std::string csv_name(std::string_view log_name);

enum class Outcome {
  Success,      // the whole log converted
  NoEndOfData,  // the log ended before "END OF DATA"; the output holds what was converted
  FileError,    // a header under 110 characters, or a page break with fewer than five lines after it
};

struct Conversion {
  Outcome outcome = Outcome::FileError;
  std::string output;  // the bytes of the output file, as far as the conversion got
};

Conversion convert_log(std::string_view log_text);

}  // namespace qtx::csv_export
