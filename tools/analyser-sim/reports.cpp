#include "reports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace sim {

namespace {

constexpr int kLogFirstLine = 27;     // line count after the page-1 header of a data log
constexpr int kRateLogLastLine = 56;  // a rate row beyond this line starts a new page
constexpr int kOcclLogLastLine = 55;
constexpr int kSummaryPageLines = 56;

std::string S(int n) { return std::string(static_cast<size_t>(n), ' '); }
std::string U(int n) { return std::string(static_cast<size_t>(n), '_'); }

std::string fmt(const char* pattern, double a) {
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, a);
  return buf;
}

// The analyser prints flow and volume with as many decimals as four digits leave.
std::string four_digits(double v) {
  if (v < 10) return fmt("%.3f", v);
  if (v < 100) return fmt("%05.2f", v);
  if (v < 1000) return fmt("%05.1f", v);
  return fmt("%.0f", v);
}

std::string two(long v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02ld", v);
  return buf;
}

std::string hhmmss(double t) {
  long s = std::lround(t);
  return two(s / 3600) + ":" + two(s / 60 % 60) + ":" + two(s % 60);
}

std::string mmss(double t) {
  long s = std::lround(t);
  return two(s / 60) + ":" + two(s % 60);
}

class Pages {
 public:
  void line(std::string_view s) {
    pages_.back().append(s).append("\r\n");
    size_ += s.size() + 2;
    ++lines_;
  }
  void raw(std::string_view s) {
    pages_.back().append(s);
    size_ += s.size();
  }
  // A new page begins with a line holding only the form feed.
  void form_feed() {
    pages_.emplace_back();
    lines_ = 0;
    line("\f");
  }
  size_t size() const { return size_; }
  int lines() const { return lines_; }
  std::vector<std::string> take() { return std::move(pages_); }

 private:
  std::vector<std::string> pages_{std::string()};
  size_t size_ = 0;
  int lines_ = 0;
};

void header(Pages& p, std::string_view title, int title_indent, char channel, const ReportOptions& o, bool page_line) {
  p.line("");
  p.line("");
  if (page_line) p.line(S(67) + "p. 01");
  p.line("");
  p.line(S(33) + "KOLVANTA 7400-K");
  p.line(S(31) + "Korvane Systems Inc.");
  p.line("");
  p.line(S(title_indent) + std::string(title));
  p.line("");
  p.line(S(9) + "Start of Test - Date: " + o.date);
  p.line(S(23) + "- Time: " + o.time);
  p.line("");
  p.line(S(9) + "Infusion Device Information:");
  p.line("");
  // The blanks the program writes the device record into, each right after its label.
  p.line(S(9) + "Manufacturer: " + U(18) + " Model: " + U(22));
  p.line("");
  p.line(S(9) + "Serial No.: " + U(20) + " Control No.: " + U(16));
  p.line("");
  p.line(S(9) + "Department: " + U(20) + " Location: " + U(19));
  p.line("");
  p.line(S(9) + "Set Rate(s): " + U(13) + " ml/h  VTBI: " + U(22) + " ml");
  p.line("");
  if (o.comment_label) {
    p.line(S(9) + "Comment:  " + U(50));
    p.line("");
  }
  p.line(S(9) + "Channel: " + std::string(1, channel));
  p.line("");
}

// The end of every report: the analyser's own sign-off line and BEL, or BEL right after the last
// text ("END OF DATA" BEL in a data log).
void ending(Pages& p, const ReportOptions& o, std::string_view last_text) {
  if (o.end_style == EndStyle::Bel && !last_text.empty()) {
    p.raw(last_text);
    p.raw("\a");
    return;
  }
  if (!last_text.empty()) {
    p.line(last_text);
    p.line("");
  }
  if (o.end_style == EndStyle::Tech) p.line(S(7) + "Technician: " + U(20) + " Signature: " + U(19));
  p.raw("\a");
}

// ---- data logs ---------------------------------------------------------------------------------

void rate_heading(Pages& p) {
  p.line(S(9) + "Elapsed   Flow  Avg Flow  Volume  B.Pres");
  p.line(S(9) + "  Time    (ml/h)  (ml/h)    (ml)  (mmHg)");
}

void occl_heading(Pages& p) {
  p.line(S(12) + "Elapsed Time       Occlusion Pressure");
  p.line(S(12) + "                     (psi)     (mmHg)");
}

class LogWriter {
 public:
  LogWriter(Pages& p, bool rate) : p_(p), rate_(rate) {}

  void row(std::string_view text) {
    if (++line_ > (rate_ ? kRateLogLastLine : kOcclLogLastLine)) {
      ++page_;
      p_.form_feed();
      p_.line("");
      p_.line(S(67) + "p. " + two(page_));
      p_.line("");
      if (rate_)
        rate_heading(p_);
      else
        occl_heading(p_);
      line_ = 7;
    }
    p_.line(text);
  }

 private:
  Pages& p_;
  bool rate_;
  int line_ = kLogFirstLine;
  long page_ = 1;
};

std::string rate_row(const RateRow& r) {
  return S(9) + hhmmss(r.t) + S(2) + four_digits(r.flow) + S(3) + four_digits(r.average) + S(4) +
         four_digits(r.volume) + S(5) + std::to_string(r.back_pressure);
}

std::string occl_row(const OcclRow& r) {
  return S(16) + mmss(r.t) + S(12) + fmt("%05.2f", r.psi) + S(6) + fmt("%03.0f", r.mmhg);
}

// ---- summaries ---------------------------------------------------------------------------------

// The interval table of a summary and the figures above it, built as the readings stream by.
class RateTable {
 public:
  void add(const RateRow& r) {
    last_ = r;
    ++count_;
    lo_ = std::min(lo_, r.flow);
    hi_ = std::max(hi_, r.flow);
    sum_ += r.flow;
    ++in_interval_;
    if (std::lround(r.t) % 60 == 0) close_interval();
  }
  void finish() {
    if (in_interval_) close_interval();
  }
  size_t bytes() const { return bytes_; }

  void write(Pages& p, const Profile& profile) const {
    p.line(S(9) + "SINGLE RATE TEST");
    p.line("");
    p.line(S(9) + "Test Duration: " + hhmmss(last_.t));
    const char* range = profile.mode_letter() == 'C' ? "Pulsatile" : profile.mode_letter() == 'A' ? "Low" : "High";
    p.line(S(9) + "Flow Range: " + range);
    p.line("");
    // "Average Rate:" then the number, a blank and the unit, right before the line end.
    p.line(S(9) + "Average Rate: " + fmt("%.1f", count_ ? last_.average : 0.0) + " ml/h");
    p.line(S(9) + "Minimum Rate: " + fmt("%.1f", count_ ? lo_ : 0.0) + " ml/h");
    p.line(S(9) + "Maximum Rate: " + fmt("%.1f", count_ ? hi_ : 0.0) + " ml/h");
    p.line(S(9) + "Total Volume: " + fmt("%.2f", last_.volume) + " ml");
    p.line(S(9) + "Back Pressure: " + std::to_string(last_.back_pressure) + " mmHg");
    p.line("");
    table(p, lines_, [](Pages& q) {
      q.line(S(9) + "Interval    Rate     Volume");
      q.line(S(9) + "(hh:mm)    (ml/h)     (ml)");
    });
  }

  static void table(Pages& p, const std::vector<std::string>& lines, void (*heading)(Pages&)) {
    heading(p);
    for (const std::string& l : lines) {
      if (p.lines() >= kSummaryPageLines) {
        p.form_feed();
        p.line("");
        heading(p);
      }
      p.line(l);
    }
  }

 private:
  void close_interval() {
    long s = std::lround(last_.t);
    std::string l = S(9) + "  " + two(s / 3600) + ":" + two(s / 60 % 60) + fmt("%10.1f", sum_ / in_interval_) +
                    fmt("%11.2f", last_.volume);
    bytes_ += l.size() + 2;
    lines_.push_back(std::move(l));
    sum_ = 0;
    in_interval_ = 0;
  }

  RateRow last_;
  size_t count_ = 0;
  double lo_ = std::numeric_limits<double>::max();
  double hi_ = std::numeric_limits<double>::lowest();
  double sum_ = 0;
  int in_interval_ = 0;
  size_t bytes_ = 0;
  std::vector<std::string> lines_;
};

class OcclTable {
 public:
  void add(const OcclRow& r) {
    last_ = r;
    if (r.mmhg > peak_.mmhg || !count_) peak_ = r;
    if (r.alarm && alarm_at_ < 0) alarm_at_ = r.t;
    ++count_;
    pending_ = true;
    if (std::lround(r.t) % 10 == 0) close_interval();
  }
  void finish() {
    if (pending_) close_interval();
  }
  size_t bytes() const { return bytes_; }

  void write(Pages& p) const {
    p.line(S(9) + "OCCLUSION PRESSURE TEST");
    p.line("");
    p.line(S(9) + "Test Duration: " + hhmmss(last_.t));
    p.line(S(9) + "Peak Pressure: " + fmt("%.2f", peak_.psi) + " psi  " + fmt("%.0f", peak_.mmhg) + " mmHg");
    p.line(S(9) + "Alarm: " + (alarm_at_ < 0 ? std::string("No") : "Yes at " + mmss(alarm_at_)));
    p.line("");
    RateTable::table(p, lines_, [](Pages& q) {
      q.line(S(9) + "Interval   Pressure   Pressure");
      q.line(S(9) + "(mm:ss)      (psi)     (mmHg)");
    });
  }

 private:
  void close_interval() {
    std::string l = S(9) + "  " + mmss(last_.t) + fmt("%11.2f", last_.psi) + fmt("%11.0f", last_.mmhg);
    bytes_ += l.size() + 2;
    lines_.push_back(std::move(l));
    pending_ = false;
  }

  OcclRow last_, peak_;
  double alarm_at_ = -1;
  size_t count_ = 0;
  bool pending_ = false;
  size_t bytes_ = 0;
  std::vector<std::string> lines_;
};

// A channel that ran no test, or a report of a given size, describes a made-up test.
bool synthetic(const Channel& ch, size_t size_option) { return ch.last == TestKind::None || size_option > 0; }

const Profile& profile_of(const Channel& ch, const Profile& current) {
  return ch.last == TestKind::None ? current : ch.profile;
}

}  // namespace

std::vector<std::string> summary_pages(char channel, const Channel& ch, const Profile& current,
                                       const ReportOptions& o) {
  Pages p;
  header(p, "TEST SUMMARY", 34, channel, o, false);
  const Profile& profile = profile_of(ch, current);
  bool made_up = synthetic(ch, o.summary_size);
  long least = static_cast<long>(std::max(o.summary_minutes, 1)) * 60;
  if (ch.last == TestKind::Occl) {
    OcclTable table;
    if (made_up) {
      OcclGenerator g(profile);
      for (long t = 1;; ++t) {
        table.add(g.at(static_cast<double>(t)));
        if (t % 10 == 0 && t >= least && table.bytes() >= o.summary_size) break;
      }
    } else {
      for (const OcclRow& r : ch.occl_rows) table.add(r);
    }
    table.finish();
    table.write(p);
  } else {
    RateTable table;
    if (made_up) {
      RateGenerator g(profile);
      for (long t = 1;; ++t) {
        table.add(g.at(static_cast<double>(t)));
        if (t % 60 == 0 && t >= least && table.bytes() >= o.summary_size) break;
      }
    } else {
      for (const RateRow& r : ch.rate_rows) table.add(r);
    }
    table.finish();
    table.write(p, profile);
  }
  p.line("");
  ending(p, o, "");
  return p.take();
}

std::vector<std::string> log_pages(char channel, const Channel& ch, const Profile& current, const ReportOptions& o) {
  Pages p;
  header(p, "DATA LOG", 36, channel, o, true);
  const Profile& profile = profile_of(ch, current);
  bool made_up = synthetic(ch, o.log_size);
  auto enough = [&](long rows) { return rows >= o.log_rows && p.size() >= o.log_size; };
  if (ch.last == TestKind::Occl) {
    p.line(S(9) + "OCCLUSION PRESSURE TEST");
    p.line("");
    occl_heading(p);
    LogWriter log(p, false);
    if (made_up) {
      OcclGenerator g(profile);
      for (long n = 0; !enough(n); ++n) log.row(occl_row(g.at(static_cast<double>(n + 1))));
    } else {
      for (const OcclRow& r : ch.occl_rows) log.row(occl_row(r));
    }
  } else {
    p.line(S(9) + "SINGLE RATE TEST");
    p.line("");
    rate_heading(p);
    LogWriter log(p, true);
    if (made_up) {
      RateGenerator g(profile);
      for (long n = 0; !enough(n); ++n) log.row(rate_row(g.at(static_cast<double>(n + 1))));
    } else {
      for (const RateRow& r : ch.rate_rows) log.row(rate_row(r));
    }
  }
  p.line("");
  ending(p, o, S(9) + "END OF DATA");
  return p.take();
}

std::vector<Segment> report_segments(const std::vector<std::string>& pages, const ReportOptions& o, char channel) {
  std::vector<Segment> out;
  bool at_start = o.enq == Enq::Start || o.enq == Enq::Both;
  bool at_pages = o.enq == Enq::Pages || o.enq == Enq::Both;
  if (at_start) out.push_back(Segment{"\x05", o.enq_pause_ms, channel});
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && at_pages) out.push_back(Segment{"\x05", o.enq_pause_ms, channel});
    out.push_back(Segment{pages[i], 0, channel});
  }
  return out;
}

}  // namespace sim
