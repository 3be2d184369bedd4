// The printed pages of the log graph and of the trumpet analysis, as steps on the printer: font
// sizes, bold and italic switched by inverting them, the print position in inches before each
// text line, and the lines themselves with their zone separators. The graph control draws the
// graph below the last line; the placement it is given is here too. Also the suffix rule of the
// image files both windows save.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/print_item.h"
#include "core/session.h"

namespace qtx::graph_printout {

// One step of a page, in order. The page begins once the font name is set.
struct PageStep {
  enum Kind {
    kFontSize,      // value: points
    kPrintX,        // value: the horizontal print position of the next line, inches
    kInvertBold,    // bold := not bold
    kInvertItalic,  // italic := not italic
    kPrint,         // items: one line; no items: an empty line
    kHeadLine,      // the orientation is read back, then head_line() with `text`, the date
    kFitSize,       // value: the characters of the widest line up to the next kFontSize step,
                    // printed from the margin; the size becomes fitted_points() for them
  };
  Kind kind = kPrint;
  double value = 0;
  std::vector<PrintItem> items;
  std::string text;
};
using Page = std::vector<PageStep>;

// The left margin of the page's text, in inches, and the width of a character of its face
// ("courier new", monospaced) in ems.
inline constexpr double kMargin = 0.5;
inline constexpr double kCharWidth = 0.6;

// The font size at which `chars` characters printed from the margin end within a printable
// width of `page_width` inches: `points` itself when they fit at that size.
double fitted_points(double chars, double points, double page_width);

// "Korvane Systems Inc.", three zone separators (two when the printer did not turn the page to
// landscape), the date.
std::vector<PrintItem> head_line(bool landscape, std::string_view date);

// What the log graph page prints of the loaded log.
struct LogGraphFigures {
  std::string date;       // "dddd, mmm d yyyy"
  double avg_flow = 0;    // graph_avg_flow(graph_last_index - 1)
  double total_time = 0;  // graph_time(graph_last_index)
  int16_t last_index = 0;
  double max_flow = 0;
  double min_flow = 0;
  std::string file_name;  // as the file system names it, printed as it stands
};
// The figures of a log of two samples or more; nothing for a shorter one.
std::optional<LogGraphFigures> log_graph_figures(const LogSamples& log, const LogGraphResults& results,
                                                 std::string file_name, std::string date);
Page log_graph_page(const LogGraphFigures& f);

// What the trumpet page prints.
struct TrumpetFigures {
  std::string date;
  double base_rate = 0;
  double avg_rate = 0;
  double avg_err_pct = 0;
  int16_t calc_window = 0;
  int16_t start_min = 0;
  int16_t end_min = 0;
  int interp_interval = 60;  // seconds
  bool too_few_points = false;
  std::string file_name;
  std::array<TrumpetResult, 6> results{};  // 1-5
};
Page trumpet_page(const TrumpetFigures& f);
// The table rows: largest errors (max_row) or smallest, the five windows' percent and ml/h cells.
std::string trumpet_row(const std::array<TrumpetResult, 6>& results, bool max_row);

// The print placement handed to the graph control (slots 1 to 11; [0] unused). Slot 1, the
// printer's device, is the painter itself and stays 0 here; slots 6 to 9 are the drawing area in
// inches, rounded halves to even.
using PrintSlots = std::array<int32_t, 12>;
PrintSlots graph_print_slots(bool landscape, double left, double top, double width, double height, int32_t slot3);

// The image file's suffix: the three characters after the first "." of the whole path,
// upper-cased (fewer at the end of the path; the first three of the path without a ".").
std::string image_suffix(std::string_view path);
// WMF, BMP, JPG and GIF.
bool image_suffix_accepted(std::string_view suffix);

}  // namespace qtx::graph_printout
