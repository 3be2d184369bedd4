// The picture of the graph control as plain values: from what the program set (sets, points,
// axes, titles, text sizes) and the area to draw into, where everything goes: the plot, the axis
// ranges, ticks and their numbers, the grid, the titles, the legend and the sets' lines, already
// in device positions and cut at the edges of the plot. Drawing only follows the layout, so the
// screen, a printer page and every image file show the same picture.
//
// Everything is measured in device units of the area. Sizes follow the area: a unit of 1/36 of
// its smaller side sets the margins, tick lengths and text sizes. Texts are measured by the
// caller's TextMeasure, so the layout needs no fonts of its own.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/graph_axis.h"

namespace qtx::graph {

// One set of the graph as the program wrote it.
struct SetData {
  std::vector<double> values;
  std::vector<double> x;
  bool has_x = false;  // an x position was written
  std::string label;
  std::vector<double> trace;  // the running trace of the live mode
};

// What the graph shows, as the program set it. Every set has the same number of values and x
// positions (at least one), and the second axis has as many values.
struct GraphState {
  std::vector<SetData> sets;
  std::vector<double> second_values;
  int second_axis = 1;  // 2 on, 1 off
  std::string second_title;
  std::string graph_title;
  std::string left_title;
  std::string bottom_title;
  double y_min = 0, y_max = 100;
  double x_min = 0, x_max = 100;
  // The first and last point drawn, 1-based; 0 = all.
  int first_visible = 0, last_visible = 0;
  // Text sizes in per cent, by TextKind.
  std::array<int, 5> text_size = {150, 100, 100, 100, 100};
  // False after a clear until the next data draw.
  bool drawn = false;
};

// The kinds of text, each with its own size (GraphState::text_size).
enum class TextKind { Title = 0, AxisTitle = 1, Numbers = 2, Legend = 3, SecondAxis = 4 };

// Measures texts (bytes, one per character) in the font of their kind.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual double height(TextKind kind) const = 0;
  virtual double width(TextKind kind, const std::string& text) const = 0;
  // The width of the text once cut (with an ellipsis) to fit into `fit`.
  virtual double elided_width(TextKind kind, const std::string& text, double fit) const = 0;
};

// A rectangle in device units, measured as the painter measures one: right and bottom are
// x + w and y + h.
struct Rect {
  double x = 0, y = 0, w = 0, h = 0;
  double right() const { return x + w; }
  double bottom() const { return y + h; }
  double centre_y() const { return y + h / 2; }
};

// True for an area that has a size and finite measures; nothing is drawn into any other.
bool drawable(const Rect& area);
// The unit that margins, ticks and texts follow in the area.
double size_unit(const Rect& area);
// The pixel size of the fonts of each TextKind in the area.
std::array<int, 5> text_pixels(const Rect& area, const std::array<int, 5>& text_size);

// A line of text, cut with an ellipsis to `fit` and drawn into `box`.
struct TextPlace {
  std::string text;
  Rect box;
  double fit = 0;
};

// An upright axis title: drawn turned by `angle` degrees around `origin`, into `box` given in
// the turned coordinates, cut to `fit`.
struct UprightText {
  std::string text;
  Point origin;
  double angle = 0;
  Rect box;
  double fit = 0;
};

// A tick: its value, its mark from the plot's edge outwards, its number and the number's box.
struct TickPlace {
  double value = 0;
  Point mark_from, mark_to;
  std::string text;
  Rect text_box;
};

// A line of the plot: the pieces to draw, in device positions inside the plot, in the colour
// numbered `colour` (the 0-based set; the second axis's own line takes the next one after the
// sets when no set stands for it).
struct SeriesPlace {
  int colour = 0;
  std::vector<std::vector<Point>> pieces;
};

// A legend entry: a short line in the set's colour, then the label cut to `fit`.
struct LegendPlace {
  int colour = 0;
  std::string text;
  double fit = 0;
  Point sample_from, sample_to;
  Rect text_box;
};

struct Layout {
  double unit = 0;  // see size_unit
  std::optional<TextPlace> title;
  // False when the area leaves no room for a plot: then only the title is drawn and the rest
  // below stays empty.
  bool plot_shown = false;
  Rect plot;
  Range x_range, y_range, y2_range;
  bool second_axis = false;
  std::vector<double> x_grid, y_grid;  // device positions of the grid lines inside the plot
  std::vector<SeriesPlace> series;
  std::vector<TickPlace> x_ticks, y_ticks, y2_ticks;  // y2 only while the second axis is on
  std::optional<TextPlace> bottom_title;
  std::optional<UprightText> left_title, second_title;  // read upwards, downwards
  std::vector<LegendPlace> legend;
};

// The layout of the graph in a drawable area (see drawable).
Layout lay_out(const GraphState& state, const Rect& area, const TextMeasure& measure);

}  // namespace qtx::graph
