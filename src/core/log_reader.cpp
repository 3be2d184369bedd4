#include "core/log_reader.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/text_lines.h"
#include "core/vb.h"

namespace qtx::log_reader {

namespace {

// The next field of a sample line (which ends with a blank): the text up to and including the
// first blank; the rest, from that blank on, loses its leading blanks. A line that has run out
// of fields gives empty ones.
std::string_view next_field(std::string_view& rest) {
  size_t blank = rest.find(' ');
  if (blank == std::string_view::npos) {
    std::string_view field = rest;
    rest = {};
    return field;
  }
  std::string_view field = rest.substr(0, blank + 1);
  rest.remove_prefix(blank);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return field;
}

// The flow axis, symmetric about the last average flow.
void fit_flow_axis(LogGraphResults& r) {
  const double a = r.graph_avg_rate;
  const double up = r.graph_y_max - a;
  const double down = a - r.graph_y_min;
  if (down < up) {
    if (a > 1.0) {
      r.graph_y_min = vb::Int(a - up + 0.5);
      r.graph_y_max = vb::Int(r.graph_y_max + 0.5);
    } else {
      r.graph_y_min = vb::Int(a - up);
      r.graph_y_max = vb::Int(r.graph_y_max + 1.0);
    }
  } else {
    if (a > 1.0) {
      r.graph_y_max = vb::Int(a + down + 0.5);
      r.graph_y_min = vb::Int(r.graph_y_min + 0.5);
    } else {
      r.graph_y_max = vb::Int(a + down + 1.0);
      r.graph_y_min = vb::Int(r.graph_y_min);
    }
  }
}

}  // namespace

NoticeText notice_text(Notice notice) {
  switch (notice) {
    case Notice::Occlusion:
      return {"Occlusion Pressure test Graph not implemented", "Occlusion Data", false};
    case Notice::Pca:
      return {"PCA test Graph not implemented", "PCA Data", false};
    case Notice::DualRate:
      return {"Dual Rate Test Graph not implemented", "Dual Rate Test Data", false};
    case Notice::InsufficientPoints:
      return {"Insufficient number of Graph Points", "Insufficient Points", false};
    case Notice::OpenError:
      return {"Error opening LOG file for graphing, graphing cancelled", "ERROR", true};
    case Notice::TooLarge:
      return {"The file is too large to be a data log for graphing (more than 8 MB), graphing cancelled", "ERROR",
              true};
    case Notice::None:
      break;
  }
  return {"", "", false};
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The hour digits of a time field of a hundred hours or more ("150:00:00"): three digits or
// more, then ":"; 0 for any other field.
size_t long_hour_digits(std::string_view field) {
  size_t k = 0;
  while (k < field.size() && is_digit(field[k])) ++k;
  return k >= 3 && k < field.size() && field[k] == ':' ? k : 0;
}

}  // namespace

bool is_sample_line(std::string_view trimmed) {
  if (trimmed.size() >= 6 && trimmed[2] == ':' && trimmed[5] == ':') return true;
  // The log writes the hours with at least two digits, so from hour 100 on the colons move right.
  const size_t k = long_hour_digits(trimmed);
  return k > 0 && trimmed.size() >= k + 4 && trimmed[k + 3] == ':';
}

RecordCount unreadable_log() {
  RecordCount c;
  c.graph_log_ok = false;
  c.notice = Notice::OpenError;
  return c;
}

RecordCount too_large_log() {
  RecordCount c = unreadable_log();
  c.notice = Notice::TooLarge;
  return c;
}

RecordCount get_num_graph_records(std::string_view text, RefusedKinds& kinds) {
  RecordCount c;
  c.graph_log_ok = true;
  int count = 0;
  LineReader in(text);
  while (!in.eof() && c.graph_log_ok) {
    std::string line = vb::Trim(in.next_view());
    if (line.starts_with("OCCLUSION PRESSURE TEST")) {
      kinds.occlusion = true;
      c.notice = Notice::Occlusion;
    } else if (line.starts_with("P.C.A. PUMP TEST")) {
      kinds.pca = true;
      c.notice = Notice::Pca;
    } else if (line.starts_with("DUAL RATE TEST")) {
      kinds.dual_rate = true;
      c.notice = Notice::DualRate;
    }
    if (kinds.any()) {
      c.graph_log_ok = false;
    } else if (is_sample_line(line)) {
      // The count is a 16-bit number: one sample line more than it holds fails the open.
      if (count == kMaxSamples) return unreadable_log();
      ++count;
    }
  }
  c.graph_last_index = static_cast<int16_t>(count - 1);
  c.graph_data_ready = c.graph_log_ok && count >= kMinSamples;
  if (c.graph_log_ok && count < kMinSamples) c.notice = Notice::InsufficientPoints;
  return c;
}

double sample_minutes(std::string_view field) {
  // "hh:mm:ss", or from hour 100 on as many hour digits as the hours take.
  const size_t k = field.size() >= 3 && field[2] == ':' ? 2 : std::max<size_t>(long_hour_digits(field), 2);
  const auto at = static_cast<long long>(k);
  const double h = vb::Val(vb::Mid(field, 1, at));
  const double m = vb::Val(vb::Mid(field, at + 2, 2));
  const double s = vb::Val(vb::Mid(field, at + 5, 2));
  std::string text = vb::general(h * 60 + m + s / 60);
  // Cut, not rounded, to two decimals.
  if (size_t point = text.find('.'); point != std::string::npos) text.resize(std::min(text.size(), point + 3));
  return vb::Val(text);
}

GraphData get_graph_data(std::string_view text, int16_t graph_last_index) {
  GraphData d;
  const size_t n = graph_last_index >= 0 ? static_cast<size_t>(graph_last_index) + 1 : 0;
  LogSamples& g = d.samples;
  g.graph_last_index = graph_last_index;
  g.graph_volume.assign(n, 0.0);
  g.graph_time.assign(n, 0.0);
  g.graph_avg_flow.assign(n, 0.0);
  g.graph_back_pressure.assign(n, 0);
  g.graph_flow.assign(n, 0.0);
  LogGraphResults& r = d.results;
  r.graph_y_min = 100;
  r.graph_y_max = 0;
  r.graph_avg_rate = 0;
  r.graph_max_volume = 0;

  static constexpr std::array<std::string_view, 4> kHeaders = {"KOLVANTA", "SINGLE RATE TEST", "Elapsed", "Time"};
  std::array<bool, 4> seen{};
  size_t i = 0;
  LineReader in(text);
  while (!in.eof()) {
    std::string_view raw = in.next_view();
    if (raw.find("END OF DATA") != std::string_view::npos || raw.find('\x07') != std::string_view::npos) break;
    std::string line = vb::Trim(raw);
    for (size_t k = 0; k < kHeaders.size(); ++k)
      if (line.starts_with(kHeaders[k])) seen[k] = true;
    if (!std::all_of(seen.begin(), seen.end(), [](bool b) { return b; }) || !is_sample_line(line)) continue;
    if (i >= n) break;  // no more samples than the first pass counted
    line += ' ';
    d.graph_data_ready = true;
    std::string_view rest = line;
    g.graph_time[i] = sample_minutes(next_field(rest));
    g.graph_flow[i] = vb::Val(next_field(rest));
    g.graph_avg_flow[i] = vb::Val(next_field(rest));
    g.graph_volume[i] = vb::Val(next_field(rest));
    g.graph_back_pressure[i] = vb::CInt(vb::Val(next_field(rest)));

    if (g.graph_volume[i] > r.graph_max_volume) r.graph_max_volume = g.graph_volume[i];
    if (g.graph_flow[i] > r.graph_y_max) r.graph_y_max = g.graph_flow[i];
    if (i == 0 || g.graph_flow[i] < r.graph_y_min) r.graph_y_min = g.graph_flow[i];
    ++i;
  }
  if (n < 2) {  // the first pass never lets so few through
    d.graph_data_ready = false;
    return d;
  }

  r.graph_avg_rate = g.graph_avg_flow[n - 1];
  r.graph_max_flow = r.graph_y_max;
  r.graph_min_flow = r.graph_y_min;
  r.graph_max_volume = vb::Int(r.graph_max_volume);
  d.base_rate = vb::Int(g.graph_avg_flow[n - 2] + 0.5);
  fit_flow_axis(r);
  r.base_rate_int = vb::CInt(r.graph_avg_rate);
  return d;
}

}  // namespace qtx::log_reader
