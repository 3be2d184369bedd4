#include "core/report_receiver.h"

#include <algorithm>

#include "core/fixed_field.h"

namespace qtx::report {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::array<std::string_view, TextMarks::kCount> kMarkText = {"SUMMARY", "Elapsed", "END", "\x07"};

}  // namespace

// ---- cleaning passes ------------------------------------------------------------------------

void blank_control_chars(std::string& text) {
  if (text.empty()) return;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) <= 6) text[i] = ' ';
}

void repair_line_ends(std::string& text) {
  const size_t n = text.size();
  for (size_t i = 0; i + 3 <= n; ++i) {
    if (text[i] != '\r') continue;
    const char b = text[i + 1], c = text[i + 2];
    if ((b == '\n' && c == '\n') || (b == '\r' && c == ' ') || (b == '\n' && c == '\r')) {
      static constexpr char kFour[4] = {'\r', '\n', '\r', '\n'};
      for (size_t k = 0; k < 4 && i + k < n; ++k) text[i + k] = kFour[k];
    }
  }
}

void process_buffer(std::string& text) {
  blank_control_chars(text);
  repair_line_ends(text);
}

void process_tempbuffer(std::string& rx_text, std::string& carry_over_text) {
  process_buffer(rx_text);
  if (rx_text.empty() || rx_text.find(BEL) != std::string::npos) return;
  if (rx_text.size() > 2) {
    carry_over_text = rx_text.substr(rx_text.size() - 2);
    rx_text.resize(rx_text.size() - 2);
  } else {
    carry_over_text = std::move(rx_text);
    rx_text.clear();
  }
}

void strip_control_chars(std::string& text) {
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 32 && c != '\t'; });
}

bool is_error_reply(std::string_view line) {
  return line.size() == 2 && static_cast<unsigned char>(line[1]) < 32 &&
         (line[0] == '?' || line[0] == 'e' || line[0] == 'n');
}

void append_report_part(std::string& report, std::string_view line, bool report_holds_summary) {
  if (line.find(ENQ) != std::string_view::npos) return;
  const size_t bel = line.find(BEL);
  if (bel == std::string_view::npos) {
    report.append(line);
    return;
  }
  if (report_holds_summary) {
    report.append(kCrLf);
    return;
  }
  // The line up to and including its BEL; a closing word is kept up to its "TA" or "A".
  std::string_view cut = line.substr(0, bel + 1);
  if (size_t q = cut.find("TA"); q != std::string_view::npos) {
    report.append(cut.substr(0, q + 2));
    report.append(kCrLf);
  } else if (size_t a = cut.find('A'); a != std::string_view::npos) {
    report.append(cut.substr(0, a + 1));
    report.append(kCrLf);
  } else {
    report.append(cut);
  }
}

// ---- end of download ------------------------------------------------------------------------

void cut_analyser_signoff(std::string& report) {
  const size_t p = report.find("Tech");
  if (p == std::string::npos) return;
  // 1-based position p + 1; the first (p + 1) - 10 characters stay.
  report.resize(p + 1 > 10 ? p + 1 - 10 : 0);
}

std::string signoff_lines(std::string_view technician, std::string_view pump_type, std::string_view pump_tolerance) {
  std::string s = "\r\n        PumpType: ";
  s += underlined_field(pump_type, 23);
  s += " Pump Tolerance(+/- %): ";
  s += underlined_field(pump_tolerance, 6);
  s += "\r\n\r\n        Technician: ";
  s += underlined_field(technician, 21);
  s += " Signature:___________________";
  return s;
}

std::string tempfile_bytes(std::string_view text, const std::vector<std::string>& pages) {
  size_t total = text.size() + 2 * (pages.size() + 2);
  for (const std::string& p : pages) total += p.size();
  std::string out;
  out.reserve(total);
  // The line end after the first "Elapsed" (after the text's start when it holds none).
  const size_t elapsed = text.find("Elapsed");
  const size_t crlf = text.find(kCrLf, elapsed == std::string_view::npos ? 0 : elapsed + 1);
  // Without such a line end the whole text is the first part, so no character is lost.
  out.append(text.substr(0, crlf == std::string_view::npos ? text.size() : crlf));
  out.append(kCrLf);
  for (const std::string& p : pages) {
    out.append(std::string_view(p).substr(0, p.size() >= 2 ? p.size() - 2 : 0));
    out.append(kCrLf);
  }
  if (crlf != std::string_view::npos) out.append(text.substr(crlf + 2));
  out.append(kCrLf);
  return out;
}

// ---- marks ----------------------------------------------------------------------------------

bool TextMarks::holds(const std::string& text, Mark mark) {
  Entry& e = entries_[mark];
  const std::string_view what = kMarkText[mark];
  if (e.pos != std::string::npos) {
    if (e.pos + what.size() <= text.size()) return true;
    e = Entry{};
  }
  if (e.scanned > text.size()) e.scanned = 0;
  // An occurrence may straddle what was scanned and what was added.
  const size_t from = e.scanned >= what.size() ? e.scanned - (what.size() - 1) : 0;
  e.pos = text.find(what, from);
  e.scanned = text.size();
  return e.pos != std::string::npos;
}

void TextMarks::forget() { entries_.fill(Entry{}); }

void TextMarks::truncated(size_t length) {
  for (Entry& e : entries_) {
    if (e.pos != std::string::npos && e.pos >= length) e = Entry{};
    e.scanned = std::min(e.scanned, length);
  }
}

// ---- the receiver ---------------------------------------------------------------------------

std::string ReportReceiver::tempfile(std::string_view report_text) const {
  return tempfile_bytes(report_text, received_pages);
}

void ReportReceiver::reset() {
  carry_over_text.clear();
  rx_text_.clear();
  pending_line.clear();
  report_head.clear();
  line_received = false;
  head_kept = false;
  head_length = 0;
  received_pages.clear();
  marks_.forget();
  size_left_ = 0;
  text_is_head_ = false;
}

void ReportReceiver::keep_head_and_pages(std::string& report, bool& end_flag) {
  if (!head_kept && (marks_.holds(report, TextMarks::kElapsed) || report.size() > kPageLimit)) {
    report_head = report;
    head_length = report.size();
    head_kept = true;
    text_is_head_ = true;
  }
  if (!head_kept) return;
  if (!end_flag && (marks_.holds(report, TextMarks::kBel) || marks_.holds(report, TextMarks::kEnd))) end_flag = true;
  // A page needs text after the head: the line that made the head is not a page of its own.
  if (report.size() > kPageLimit && !end_flag && report.size() > head_length) {
    received_pages.push_back(report.substr(head_length));
    if (text_is_head_) {
      report.resize(head_length);
      marks_.truncated(head_length);
    } else {
      report = report_head;
      marks_.forget();
      text_is_head_ = true;
    }
  }
}

ReportReceiver::TickResult ReportReceiver::tick(std::string_view input, std::string& report, bool& new_summary,
                                                ReceiveEvents& events) {
  TickResult result;
  if (report.size() != size_left_) {
    // Someone else changed the text since the last tick.
    marks_.forget();
    text_is_head_ = false;
  }
  std::string& rx = rx_text_;
  // The characters held back are taken by this tick, once: what it holds back is decided anew
  // (nothing when its text holds BEL), so none of them comes round a second time.
  rx = std::move(carry_over_text);
  carry_over_text.clear();
  rx.append(input);
  result.had_text = !rx.empty();
  process_tempbuffer(rx, carry_over_text);
  if (rx.empty()) {
    size_left_ = report.size();
    return result;
  }

  // tick_text: the pending line and this tick's characters. The pending line holds neither
  // CR LF nor BEL, so only what arrived now is searched for them.
  const size_t old = pending_line.size();
  std::string text = std::move(pending_line);
  pending_line.clear();
  text.append(rx);
  const size_t first_bel = text.find(BEL, old);
  bool end_flag = false;
  std::string shown;
  bool have_shown = false;
  auto flush_shown = [&] {
    if (have_shown) events.show_line(shown);
    have_shown = false;
  };

  size_t start = 0;
  size_t search = old > 0 ? old - 1 : 0;
  while (start < text.size()) {
    const size_t crlf = text.find(kCrLf, std::max(start, search));
    const size_t end = crlf == std::string::npos ? text.size() : crlf + 2;
    const bool last = end == text.size();
    std::string_view line(text.data() + start, end - start);
    // Only the line itself, from the first BEL on, is searched: a search to the end of the text
    // for every line after a BEL would make a long chunk take quadratic time.
    const size_t bel_from = std::max(start, first_bel);
    const bool holds_bel = bel_from < end && line.substr(bel_from - start).find(BEL) != std::string_view::npos;
    const bool error = is_error_reply(line);

    if (last && !holds_bel && !error && !line.ends_with(kCrLf)) {
      rx.assign(line);
      if (start == 0) {
        pending_line = std::move(text);
      } else {
        pending_line.assign(line);
      }
      flush_shown();
      size_left_ = report.size();
      return result;
    }

    pending_line.clear();
    line_received = true;
    if (new_summary) {
      report.clear();
      marks_.forget();
      text_is_head_ = false;
      new_summary = false;
    }
    append_report_part(report, line, marks_.holds(report, TextMarks::kSummary));
    keep_head_and_pages(report, end_flag);

    rx.assign(line);
    if (rx.ends_with(kCrLf)) rx.resize(rx.size() - 2);
    if (rx.size() == 2) {
      flush_shown();
      if (!events.error_reply(rx)) {
        result.stopped = true;
        size_left_ = report.size();
        return result;
      }
    } else {
      strip_control_chars(rx);
      if (!rx.empty()) {
        shown = rx;
        have_shown = true;
      }
    }
    start = end;
    search = end;
  }
  flush_shown();
  result.end_of_download = first_bel != std::string::npos;
  size_left_ = report.size();
  return result;
}

void ReportReceiver::end_of_download(std::string& report, bool& new_summary, std::string_view signoff) {
  process_buffer(report);
  cut_analyser_signoff(report);
  line_received = false;
  new_summary = true;
  report += signoff;
  marks_.forget();
  text_is_head_ = false;
  size_left_ = report.size();
}

void ReportReceiver::clear_after_download(const std::string& report) {
  // The characters held back were part of this download; the head and pages are in the file.
  carry_over_text.clear();
  pending_line.clear();
  head_kept = false;
  report_head.clear();
  head_length = 0;
  received_pages.clear();
  marks_.forget();
  text_is_head_ = false;
  size_left_ = report.size();
}

}  // namespace qtx::report
