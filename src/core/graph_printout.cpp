#include "core/graph_printout.h"

#include <algorithm>

#include "core/vb.h"

namespace qtx::graph_printout {

namespace {

constexpr double kWarningMargin = 0.65;

PageStep size(double points) { return {PageStep::kFontSize, points, {}, {}}; }
PageStep at(double inches) { return {PageStep::kPrintX, inches, {}, {}}; }
PageStep invert_bold() { return {PageStep::kInvertBold, 0, {}, {}}; }
PageStep invert_italic() { return {PageStep::kInvertItalic, 0, {}, {}}; }
PageStep empty_line() { return {PageStep::kPrint, 0, {}, {}}; }
PageStep line(std::vector<PrintItem> items) { return {PageStep::kPrint, 0, std::move(items), {}}; }
PageStep line(std::string text) { return line({PrintItem{std::move(text)}}); }
// A text line at the margin.
void add_line(Page& page, std::vector<PrintItem> items, double x = kMargin) {
  page.push_back(at(x));
  page.push_back(line(std::move(items)));
}
void add_line(Page& page, std::string text, double x = kMargin) { add_line(page, {PrintItem{std::move(text)}}, x); }
// The page's title in bold at the margin, an empty line after it, then the text size again.
void add_title(Page& page, double points, std::string title) {
  page.push_back(size(points));
  page.push_back(at(kMargin));
  page.push_back(invert_bold());
  page.push_back(line(std::move(title)));
  page.push_back(invert_bold());
  page.push_back(empty_line());
  page.push_back(size(12));
}

std::string n(long long v) { return vb::to_text(v); }

// Some blanks, then the value as "00.00": `negative` blanks when the text reads back as a
// negative number, `other` otherwise.
std::string cell(double value, int negative, int other) {
  const std::string text = vb::Format(value, "00.00");
  return vb::Space(vb::Val(text) < 0 ? negative : other) + text;
}

}  // namespace

double fitted_points(double chars, double points, double page_width) {
  const double room = page_width - kMargin;
  const double width = chars * kCharWidth * points / 72;
  // A page narrower than the margin leaves the size as it is: nothing would fit.
  if (room <= 0 || width <= room * (1 + 1e-9)) return points;
  return points * room / width;
}

std::vector<PrintItem> head_line(bool landscape, std::string_view date) {
  std::vector<PrintItem> items{{"Korvane Systems Inc.", true}};
  for (int i = landscape ? 2 : 1; i > 0; --i) items.push_back({"", true});
  items.push_back({std::string(date), false});
  return items;
}

std::optional<LogGraphFigures> log_graph_figures(const LogSamples& log, const LogGraphResults& results,
                                                 std::string file_name, std::string date) {
  const int16_t last = log.graph_last_index;
  if (last < 1 || log.graph_avg_flow.size() <= static_cast<size_t>(last) ||
      log.graph_time.size() <= static_cast<size_t>(last))
    return std::nullopt;
  LogGraphFigures f;
  f.date = std::move(date);
  f.avg_flow = log.graph_avg_flow[static_cast<size_t>(last - 1)];
  f.total_time = log.graph_time[static_cast<size_t>(last)];
  f.last_index = last;
  f.max_flow = results.graph_max_flow;
  f.min_flow = results.graph_min_flow;
  f.file_name = std::move(file_name);
  return f;
}

Page log_graph_page(const LogGraphFigures& f) {
  Page p;
  p.push_back(empty_line());
  p.push_back(empty_line());
  p.push_back(at(kMargin));
  p.push_back(size(12));
  p.push_back({PageStep::kHeadLine, 0, {}, f.date});
  p.push_back(empty_line());
  add_title(p, 18, "Data Log Graph");
  const std::string avg = vb::Left(vb::Trim(vb::general(f.avg_flow)), 5);
  add_line(
      p, {{"Average flow rate:  " + avg + " ml/hr  ", true}, {"Total time:  " + vb::general(f.total_time) + " mins"}});
  add_line(p, {{"Maximum flow rate:  " + vb::Format(f.max_flow, "00.00") + " ml/hr ", true},
               {"Number of Points:  " + n(f.last_index + 1)}});
  add_line(p, "Minimum flow rate:  " + vb::Format(f.min_flow, "00.00") + " ml/hr ");
  add_line(p, {PrintItem{"File name:  "}, path_item(f.file_name)});
  p.push_back(empty_line());
  return p;
}

std::string trumpet_row(const std::array<TrumpetResult, 6>& results, bool max_row) {
  std::string row;
  for (size_t i = 1; i <= 5; ++i) {
    const TrumpetResult& r = results[i];
    row += cell(max_row ? r.max_err_pct : r.min_err_pct, 4, 5);
    row += cell(max_row ? r.max_err_rate : r.min_err_rate, 3, 4);
  }
  return row;
}

Page trumpet_page(const TrumpetFigures& f) {
  Page p;
  p.push_back(size(12));
  p.push_back(empty_line());
  p.push_back(empty_line());
  p.push_back(at(kMargin));
  p.push_back({PageStep::kHeadLine, 0, {}, f.date});
  p.push_back(empty_line());
  p.push_back(empty_line());
  add_title(p, 16, "Trumpet Graph");
  add_line(p, "Base Rate:  " + vb::general(f.base_rate) + " ml/hr");
  add_line(p, "Average Rate:  " + vb::general(f.avg_rate) + " ml/hr");
  add_line(p, "Average % Error:  " + vb::FormatNumber(f.avg_err_pct, 3) + " %");
  add_line(p, "Analysis Period:  " + n(f.calc_window) + " min" + " -  From " + n(f.start_min) + " to " + n(f.end_min) +
                  " min");
  add_line(p, "Data Interpolation Interval: " + n(f.interp_interval) + "sec");
  if (f.too_few_points) {
    p.push_back(invert_italic());
    p.push_back(size(10));
    add_line(p, "Warning: The data used to generate this graph had an insufficient ", kWarningMargin);
    add_line(p, "number of data points to be an accurate representation", kWarningMargin);
    p.push_back(size(12));
    p.push_back(invert_italic());
  }
  add_line(p, {PrintItem{"File name:  "}, path_item(f.file_name)});
  p.push_back(empty_line());
  add_line(p, "Observation Period:");
  std::string windows = vb::Space(12) + "2";
  for (const char* w : {"5", "11", "19", "31"}) windows += vb::Space(17) + w;
  std::string units;
  for (int i = 0; i < 5; ++i) units += vb::Space(7) + "%" + vb::Space(6) + "ml/hr";
  const std::string max_row = trumpet_row(f.results, true), min_row = trumpet_row(f.results, false);
  // Errors far beyond 100 % (a base rate far from the log's rates) make the rows long: the table
  // is then printed smaller, its lines together, rather than past the page's edge.
  const size_t widest = std::max({windows.size(), units.size(), max_row.size(), min_row.size()});
  p.push_back({PageStep::kFitSize, static_cast<double>(widest), {}, {}});
  add_line(p, windows);
  add_line(p, units);
  add_line(p, max_row);
  add_line(p, min_row);
  p.push_back(size(12));
  return p;
}

PrintSlots graph_print_slots(bool landscape, double left, double top, double width, double height, int32_t slot3) {
  PrintSlots s{};
  s[6] = vb::CLng(left);
  s[7] = vb::CLng(top);
  s[8] = vb::CLng(width);
  s[9] = vb::CLng(height);
  s[2] = 1;
  s[3] = slot3;
  s[4] = landscape ? 9 : 6;
  s[5] = 4;
  s[11] = 1;
  return s;
}

std::string image_suffix(std::string_view path) {
  const long long dot = vb::InStr(path, ".");
  return vb::UCase(dot > 0 ? vb::Mid(path, dot + 1, 3) : vb::Left(path, 3));
}

bool image_suffix_accepted(std::string_view suffix) {
  return suffix == "WMF" || suffix == "BMP" || suffix == "JPG" || suffix == "GIF";
}

}  // namespace qtx::graph_printout
