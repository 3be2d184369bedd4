// The analyser's report text as the report window receives it: the cleaning passes every
// chunk goes through, the cutting into lines, the framing markers (BEL, ENQ, "SUMMARY", "TA" and
// "A", "Elapsed", "END", "Tech"), the head and pages that keep a long download near 30000
// characters, the sign-off added at the end of a download and the bytes of tempfile.dat.
//
// The receiver keeps its own state (the characters held back, the pending line, head and pages,
// the text of the last tick) and takes what arrived and the report it builds explicitly; the
// report window moves what other windows share (rx_text, report_text, new_summary) between it
// and the Session. The work of one tick is proportional to what arrived and to the
// 30000-character page, never to the whole download.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qtx::report {

inline constexpr char BEL = '\x07';  // ends a transmission
inline constexpr char ENQ = '\x05';  // a line holding it adds nothing to the report
// report_text is kept near this length while a long download arrives.
inline constexpr size_t kPageLimit = 30000;

// ---- cleaning passes ------------------------------------------------------------------------

// Codes 0 to 6 become blanks; the last character is never examined.
void blank_control_chars(std::string& text);
// CR LF LF, CR CR blank and CR LF CR each become CR LF CR LF, overwriting four characters (only
// those that exist at the end). The text keeps its length.
void repair_line_ends(std::string& text);
// Both passes on report_text (process_buffer).
void process_buffer(std::string& text);
// The hold-back after both passes (Process_tempbuffer): unless the text holds BEL or is empty,
// its last 2 characters (all of it when shorter) wait in carry_over_text for the next tick.
void process_tempbuffer(std::string& rx_text, std::string& carry_over_text);
// Removes every character below Chr(32) other than TAB.
void strip_control_chars(std::string& text);

// A line of 2 characters, the second below Chr(32), the first "?", "e" or "n".
bool is_error_reply(std::string_view line);

// The report part of a complete line by the framing rules, appended to `report`.
// `report_holds_summary`: report_text holds "SUMMARY".
void append_report_part(std::string& report, std::string_view line, bool report_holds_summary);

// ---- end of download ------------------------------------------------------------------------

// The analyser's own sign-off goes: the text keeps only what stands 10 characters before the
// first "Tech" (nothing when "Tech" is within the first 10 characters).
void cut_analyser_signoff(std::string& report);
// CR LF, the pump type and tolerance line, an empty line and the technician line with its
// signature blank (no CR LF after it).
std::string signoff_lines(std::string_view technician, std::string_view pump_type, std::string_view pump_tolerance);

// tempfile.dat: the text up to the line end after its first "Elapsed" (its first line when it
// holds none), each page less its last 2 characters, then the rest of the text; each part
// followed by CR LF.
std::string tempfile_bytes(std::string_view report_text, const std::vector<std::string>& pages);

// ---- the receiver ---------------------------------------------------------------------------

// The window's part in a tick: the analyser's error replies and the status line.
class ReceiveEvents {
 public:
  virtual ~ReceiveEvents() = default;
  // A 2-character line arrived (the analyser's error replies among them). False when it stopped
  // the reception (the tick ends).
  virtual bool error_reply(const std::string& reply) = 0;
  // The last received line, shown in the window.
  virtual void show_line(const std::string& line) = 0;
};

// First positions of the markers the rules look for in report_text. Searching only what was
// added since the last search keeps a tick proportional to what it added.
class TextMarks {
 public:
  enum Mark { kSummary, kElapsed, kEnd, kBel, kCount };
  // True when the text holds the marker.
  bool holds(const std::string& text, Mark mark);
  // The text changed in another way than by appending.
  void forget();
  // The text was cut to its first `length` characters.
  void truncated(size_t length);

 private:
  struct Entry {
    size_t pos = std::string::npos;
    size_t scanned = 0;
  };
  std::array<Entry, kCount> entries_{};
};

class ReportReceiver {
 public:
  struct TickResult {
    bool had_text = false;         // characters were waiting (carried-over ones included)
    bool end_of_download = false;  // BEL arrived and no incomplete line is left
    bool stopped = false;          // an error reply stopped the reception
  };

  // initial_setup's reset of the receiver's own state (the caller starts its report afresh).
  void reset();
  // One receive tick over the characters read from the port. The complete lines go to
  // `report_text`, which the first of them clears while `new_summary` is set (and clears it).
  TickResult tick(std::string_view input, std::string& report_text, bool& new_summary, ReceiveEvents& events);
  // The end of download up to the sign-off: cleaning, the analyser's sign-off cut, then
  // `signoff` (signoff_lines) appended; the next line begins a new report (new_summary).
  void end_of_download(std::string& report_text, bool& new_summary, std::string_view signoff);
  // tempfile.dat of the report text.
  std::string tempfile(std::string_view report_text) const;
  // Once tempfile.dat holds the download, the next reception in this window starts clean.
  void clear_after_download(const std::string& report_text);

  // The text of the last tick (rx_text): the line last taken (less its CR LF and, unless it was
  // a 2-character line, its control characters), or the part of a line that waits.
  const std::string& rx_text() const { return rx_text_; }

  // State (the window's form variables).
  std::string carry_over_text;  // up to 2 characters held back for the next tick, which takes them
  std::string pending_line;
  bool line_received = false;
  bool head_kept = false;
  std::string report_head;
  size_t head_length = 0;
  std::vector<std::string> received_pages;  // page_count = its size
  size_t page_count() const { return received_pages.size(); }

 private:
  // Head and pages after a line was appended.
  void keep_head_and_pages(std::string& report, bool& end_flag);

  std::string rx_text_;
  TextMarks marks_;
  size_t size_left_ = 0;         // report_text's length at the end of the last tick
  bool text_is_head_ = false;    // report_text begins with report_head
};

}  // namespace qtx::report
