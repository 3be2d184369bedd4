// The graph control: the plotting surface of the live test windows, the log graph and the
// trumpet graph. The windows set its properties in the order the program relies on (counts,
// then per set the current set, its values and x positions, then the visible points) and then
// draw with a mode. Sets and points are numbered from 1.
//
// One render() path paints the picture on screen, on a printer page and into every image file,
// so all of them show the same graph: axes with ticks and numbers, a grid, the titles, a legend
// of the labelled sets, and the sets as lines. Points with x positions are drawn at them; points
// of a set without x positions are spread evenly over the X axis. Values that are not numbers
// leave a gap in their line; lines are cut at the edges of the plot.
//
// The live mode: each mode 8 draw appends point 1 of every set to that set's running trace, and
// while a trace exists the traces are drawn instead of the points, trace point k at x = k. When
// the trace outgrows the X axis, the axis keeps its width and moves along with the newest point.
// Drawing costs what the shown points cost, however long the trace.
#pragma once

#include <QSize>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/graph_layout.h"

class QPainter;

namespace qtx {

class GraphControl : public QWidget {
  Q_OBJECT

 public:
  // The draw modes the windows use.
  enum DrawMode : int {
    kClear = 1,       // clear to an empty graph
    kDraw = 2,        // draw the data
    kRedraw = 3,      // draw the data after axis and volume changes
    kPrint = 5,       // draw onto the printer page given by setPrintPlacement
    kWriteImage = 6,  // write the image file named by setImageFile
    kLiveSample = 8,  // after each live sample: point 1 of each set extends the running trace
  };

  // The kinds of image file that mode 6 writes. FromName takes the kind from the first three
  // letters of the file name's suffix, in any case: BMP, WMF, JPG or JPE, GIF.
  enum class ImageKind { FromName, Bmp, Wmf, Jpeg, Gif };
  // The kind for a suffix such as "BMP", "WMF", "JPG", "GIF" (any case, only the first three
  // letters count); FromName for any other.
  static ImageKind imageKindForSuffix(std::string_view suffix);

  explicit GraphControl(QWidget* parent = nullptr);
  ~GraphControl() override;

  // Numbers of sets and of points per set. Changing either keeps the values that still fit.
  void setNumSets(int sets);
  int numSets() const { return num_sets_; }
  void setNumPoints(int points);
  int numPoints() const { return num_points_; }

  // The set that value and label writes go to (1-based).
  void setThisSet(int set);
  int thisSet() const { return this_set_; }
  // Value of point i (1-based) of the current set.
  void setGraphData(int point, double value);
  double graphData(int set, int point) const;
  // X position of point i of the current set (minutes in the log graph).
  void setXPosData(int point, double x);
  double xPosData(int set, int point) const;
  // The next point of the current set, taken in order from point 1 (the trumpet graph); the
  // order starts again at point 1 whenever the current set or the counts change.
  void setNextData(double value);

  // The second (right-hand) axis: 2 on, 1 off; its title and its values per point. While it is
  // on, its values are drawn against it with a range fitted to them, at the x positions of the
  // last set (of the first set when the last has none); with two sets or more the last set
  // stands for them (its colour and legend label; its own values are not drawn).
  void setSecondAxis(int on_off);
  int secondAxis() const { return state_.second_axis; }
  void setSecondAxisTitle(const std::string& title);
  void setSecondAxisData(int point, double value);

  // Label of set i in the legend; a single blank hides the set from the legend and from the
  // plot, an empty label leaves it out of the legend only.
  void setLegendText(int set, const std::string& text);
  std::string legendText(int set) const;
  void setGraphTitle(const std::string& title);
  std::string graphTitle() const { return state_.graph_title; }
  void setLeftTitle(const std::string& title);
  std::string leftTitle() const { return state_.left_title; }
  void setBottomTitle(const std::string& title);
  std::string bottomTitle() const { return state_.bottom_title; }

  // Axis ranges, read back as the program set them.
  void setYAxisMax(double v);
  void setYAxisMin(double v);
  double yAxisMax() const { return state_.y_max; }
  double yAxisMin() const { return state_.y_min; }
  void setXAxisMax(double v);
  void setXAxisMin(double v);
  float xAxisMax() const { return static_cast<float>(state_.x_max); }
  float xAxisMin() const { return static_cast<float>(state_.x_min); }

  // The first and last point drawn (1-based; 0 = all).
  void setFirstVisiblePoint(int point);
  void setLastVisiblePoint(int point);
  int firstVisiblePoint() const { return state_.first_visible; }
  int lastVisiblePoint() const { return state_.last_visible; }

  // Text size by kind (0 graph title, 1-4 the other texts), in per cent of the normal size:
  // 1 the left and bottom axis titles, 2 their numbers, 3 the legend, 4 the second axis's title
  // and numbers. The normal size follows the size of the area drawn into.
  void setTextSize(int kind, int percent);
  int textSize(int kind) const { return kind >= 0 && kind < 5 ? state_.text_size[static_cast<size_t>(kind)] : 0; }

  // Printing: the page area (in the painter's device units) that mode 5 draws into, and the
  // print option the windows set before it.
  void setPrintPlacement(QPainter* painter, const QRectF& area);
  void setPrintOption(int option) { print_option_ = option; }
  // The print placement slots 1-11 the windows hand over before mode 5 (the printer's device,
  // the page's drawing area in inches and the layout values); read back as set.
  void setPrintInfo(int slot, int32_t value) {
    if (slot >= 1 && slot < static_cast<int>(sizeof print_info_ / sizeof print_info_[0])) print_info_[slot] = value;
  }
  int32_t printInfo(int slot) const {
    return slot >= 1 && slot < static_cast<int>(sizeof print_info_ / sizeof print_info_[0]) ? print_info_[slot] : 0;
  }
  // The file that mode 6 writes; its suffix picks the kind (BMP, WMF, JPG, GIF).
  void setImageFile(const std::string& path);
  std::string imageFile() const { return image_file_; }
  // The kind that mode 6 writes, whatever the name's suffix (FromName, the default, goes by the
  // suffix); it stays until it is set again.
  void setImageKind(ImageKind kind) { image_kind_ = kind; }
  ImageKind imageKind() const { return image_kind_; }
  // The size of image files in pixels (WMF: in units of 1/96 inch); 640 x 480 unless set.
  void setImageSize(const QSize& size);
  QSize imageSize() const { return image_size_; }
  // True when the last mode 5 or 6 draw succeeded (false for a printer painter that is not
  // active, a file that could not be written or a name of no known kind).
  bool lastOutputOk() const { return last_output_ok_; }

  // Draws with a mode (see DrawMode). Unknown modes do nothing.
  void setDrawMode(int mode);

  // The running trace of the live mode: points appended by mode 8, per set.
  const std::vector<double>& trace(int set) const;

  // Paints the whole graph into the rectangle. Used by the screen, the printer page and the
  // image files alike.
  void render(QPainter& painter, const QRectF& area) const;

  QSize sizeHint() const override { return {480, 320}; }
  QSize minimumSizeHint() const override { return {160, 120}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void resizeSets();
  bool writeImage();
  std::optional<std::string> encodeImage(ImageKind kind) const;
  // render(), with or without smoothing (GIF pictures keep to a few exact colours).
  void paint(QPainter& painter, const QRectF& area, bool smooth) const;

  int num_sets_ = 1;
  int num_points_ = 1;
  int this_set_ = 1;
  int next_point_ = 1;
  graph::GraphState state_;  // what the picture shows
  QPainter* print_painter_ = nullptr;
  QRectF print_area_;
  int print_option_ = 0;
  int32_t print_info_[12] = {};
  std::string image_file_;
  ImageKind image_kind_ = ImageKind::FromName;
  QSize image_size_{640, 480};
  bool last_output_ok_ = false;
};

}  // namespace qtx
