// The analyser protocol: the command texts the program sends and the splitting of the two
// real-time sample records it reads back.
//
// A command is two upper-case letters, the channel letter, for some commands one digit, and
// CR alone; it goes out in one write. Replies are plain text: report texts ended by BEL, the
// samples below, and the two-character error replies "?", "e" and "n" followed by CR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qtx::protocol {

// Test digits of the live tests.
inline constexpr int16_t kSingleRateTest = 1;
inline constexpr int16_t kOcclusionTest = 4;

// What the "DL" command downloads.
inline constexpr char kDownloadSummary = '1';
inline constexpr char kDownloadLog = '2';

// The two lines the analyser sends back for the port test; the second ends with the ".".
inline constexpr std::string_view kPortTestLine1 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789";
inline constexpr std::string_view kPortTestLine2 = "abcdefghijklmnopqrstuvwxyz  !#()-_=:.";

// ---- commands --------------------------------------------------------------------------------
// Every other command than the poll is built from its letters, the channel text as it stands
// and its digit; the channel text is not checked.

// "DL" ch "1" CR (test summary) or "DL" ch "2" CR (data log).
std::string download_command(std::string_view channel, char what);
// "RT" ch digit CR: starts the live test on the channel.
std::string start_test_command(std::string_view channel, int16_t test_digit);
// "GR" ch digit CR: sent once at the start of a live run that the user started on the analyser.
std::string begin_test_command(std::string_view channel, int16_t test_digit);
// "GR" ch CR, the poll for the current sample. Only channels "A" to "D" are polled; any other
// channel text gives "" (nothing is sent).
std::string poll_command(std::string_view channel);
// "ST" ch CR: stops the running test or download.
std::string stop_command(std::string_view channel);
// "PR" ch "1" CR: the analyser prints its test summary on its own printer.
std::string print_summary_command(std::string_view channel);
// "DLA3" CR: the port test, always on channel A.
std::string port_test_command();

// ---- poll replies ----------------------------------------------------------------------------

// A poll reply as it is judged: leading and trailing blanks removed (CR and LF stay).
std::string trim_reply(std::string_view reply);
// A trimmed poll reply of 2 characters or fewer (the empty reply included) is an error reply.
bool is_error_reply(std::string_view trimmed_reply);
// The message of an error reply by its first character ("?", "e", "n", case-sensitive); nullptr
// for any other reply.
const char* error_reply_message(std::string_view reply);

// The poll replies as the port delivers them. A reply may arrive in pieces over several reads,
// and several replies may wait together; what arrived is kept until it is used. Each reply is a
// line ended by CR (an LF may follow, in the same read or the next); the text after the last CR
// waits for the rest of its line.
class PollReplies {
 public:
  // No reply is longer than this: a line that grows past it without its CR is noise, and is
  // dropped up to and including the CR that ends it.
  static constexpr size_t kMaxReplyLength = 256;

  // Keeps what a read brought.
  void add(std::string_view bytes);
  // Takes out the oldest complete reply: its text without the CR (and the LF after it), blanks
  // trimmed as the poll judges it. False when no complete reply waits.
  bool next(std::string& reply);
  // Whether a complete reply waits (next() would give one).
  bool ready() const;
  // Forgets everything (a new test starts with empty buffers).
  void clear();
  // What is kept and not taken out yet; once next() gives false, the start of a reply whose
  // end has not arrived.
  std::string_view kept() const { return std::string_view(pending_).substr(start_); }

 private:
  std::string pending_;
  size_t start_ = 0;            // where the replies not taken out yet begin in pending_
  bool lf_may_follow_ = false;  // the last reply ended with its CR: an LF right after belongs to it
  bool dropping_ = false;       // the current line outgrew any reply: dropped up to its CR
};

// Whether a trimmed reply is a sample record of its test: `rate_sample` is a mode letter and 7
// numbers, `occl_sample` a status text and 4 numbers, the fields separated by "," with blanks
// around them. Anything else that is not an error reply is noise on the line.
bool is_rate_sample(std::string_view reply);
bool is_occl_sample(std::string_view reply);

// rate_sample: mode letter, elapsed hours, minutes and seconds, flow, average flow, volume and
// back pressure.
struct RateSample {
  char mode = ' ';  // "A" low flow range, "B" high flow range, "C" pulsatile
  int16_t hours = 0;
  int16_t minutes = 0;
  int16_t seconds = 0;
  double flow = 0;           // ml/h
  double average_flow = 0;   // ml/h
  double volume = 0;         // ml
  double back_pressure = 0;  // mmHg
};

// occl_sample: status text, elapsed minutes and seconds, occlusion pressure in psi and mmHg.
struct OcclSample {
  std::string status;  // kept as received (its field text), not used
  int16_t minutes = 0;
  int16_t seconds = 0;
  double psi = 0;
  double mmhg = 0;
};

// Takes the next field off the front of `rest`: the text up to and including the first comma
// (the rest then starts after that comma, its leading blanks removed). Without a comma the field
// is the rest with its blanks trimmed and the rest stays as it is, so every later field gets the
// same text again.
std::string next_field(std::string& rest);
// A 16-bit field: the leading number of the field text, halves rounded to the even neighbour.
int16_t integer_field(std::string_view field);
// A double field: the leading number of the field text (0 without one).
double number_field(std::string_view field);

// Splits a reply into the eight rate fields, consuming it.
RateSample take_rate_sample(std::string& reply);
RateSample parse_rate_sample(std::string_view reply);
// Splits a reply into the five occlusion fields, consuming it.
OcclSample take_occl_sample(std::string& reply);
OcclSample parse_occl_sample(std::string_view reply);

}  // namespace qtx::protocol
