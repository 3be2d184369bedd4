#include "platform/graph_control.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/graph_layout.h"
#include "core/vb.h"
#include "platform/files.h"
#include "platform/gif_writer.h"
#include "platform/text.h"
#include "platform/wmf_writer.h"

namespace qtx {

namespace {

// Colours of the picture.
constexpr QColor kBackground{255, 255, 255};  // the area behind everything
constexpr QColor kInk{0, 0, 0};               // the frame, ticks and all texts
constexpr QColor kGridColour{220, 220, 220};  // the grid lines, a light grey
// The sets' colours in turn: blue, red, green, purple, teal, orange, grey.
constexpr QColor kSetColours[] = {{0, 0, 200},   {200, 0, 0},   {0, 128, 0}, {160, 0, 160},
                                  {0, 128, 128}, {200, 110, 0}, {90, 90, 90}};

// Pen widths, as the size unit divided by these.
constexpr double kGridPenDivisor = 20;   // grid lines
constexpr double kLinePenDivisor = 7;    // the sets' lines and the legend's samples
constexpr double kFramePenDivisor = 14;  // the frame and the tick marks

// Long lines go to the painter in runs of this many points that share their end points: a
// dense line folds back on itself at every column, and the rasterizer's cost grows with the
// square of the crossings within one run.
constexpr size_t kPointsPerRun = 16;

QColor set_colour(int index) { return kSetColours[static_cast<size_t>(index) % std::size(kSetColours)]; }

QRectF rect_of(const graph::Rect& r) { return QRectF(r.x, r.y, r.w, r.h); }
QPointF point_of(const graph::Point& p) { return QPointF(p.x, p.y); }

// The fonts of the text kinds, sized for the area and measured on the painter's device.
class GraphFonts final : public graph::TextMeasure {
 public:
  GraphFonts(const std::array<int, 5>& pixels, bool smooth, QPaintDevice* device) {
    for (size_t k = 0; k < fonts_.size(); ++k) {
      QFont& f = fonts_[k];
      f.setPixelSize(pixels[k]);
      f.setBold(k == static_cast<size_t>(graph::TextKind::Title));
      if (!smooth) f.setStyleStrategy(QFont::NoAntialias);
      metrics_.emplace_back(f, device);
    }
  }
  const QFont& font(graph::TextKind kind) const { return fonts_[static_cast<size_t>(kind)]; }
  const QFontMetricsF& metrics(graph::TextKind kind) const { return metrics_[static_cast<size_t>(kind)]; }
  QString elided(graph::TextKind kind, const std::string& text, double fit) const {
    return metrics(kind).elidedText(toQ(text), Qt::ElideRight, fit);
  }

  double height(graph::TextKind kind) const override { return metrics(kind).height(); }
  double width(graph::TextKind kind, const std::string& text) const override {
    return metrics(kind).horizontalAdvance(toQ(text));
  }
  double elided_width(graph::TextKind kind, const std::string& text, double fit) const override {
    return metrics(kind).horizontalAdvance(elided(kind, text, fit));
  }

 private:
  std::array<QFont, 5> fonts_;
  std::vector<QFontMetricsF> metrics_;
};

// The drawing steps, in the order they are painted over each other.

void draw_title(QPainter& p, const graph::Layout& l, const GraphFonts& fonts) {
  if (!l.title) return;
  p.setFont(fonts.font(graph::TextKind::Title));
  p.setPen(kInk);
  p.drawText(rect_of(l.title->box), Qt::AlignHCenter | Qt::AlignTop,
             fonts.elided(graph::TextKind::Title, l.title->text, l.title->fit));
}

void draw_grid(QPainter& p, const graph::Layout& l) {
  const QRectF plot = rect_of(l.plot);
  p.setPen(QPen(kGridColour, l.unit / kGridPenDivisor));
  for (double x : l.x_grid) p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  for (double y : l.y_grid) p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
}

void draw_series(QPainter& p, const graph::Layout& l) {
  for (const graph::SeriesPlace& series : l.series) {
    QPen pen(set_colour(series.colour), l.unit / kLinePenDivisor);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    for (const std::vector<graph::Point>& piece : series.pieces) {
      for (size_t from = 0; from + 1 < piece.size(); from += kPointsPerRun - 1) {
        const size_t to = std::min(piece.size(), from + kPointsPerRun);
        QPolygonF poly;
        poly.reserve(static_cast<qsizetype>(to - from));
        for (size_t i = from; i < to; ++i) poly << point_of(piece[i]);
        p.drawPolyline(poly);
      }
    }
  }
}

void draw_ticks(QPainter& p, const std::vector<graph::TickPlace>& ticks, Qt::Alignment align) {
  for (const graph::TickPlace& t : ticks) {
    p.drawLine(point_of(t.mark_from), point_of(t.mark_to));
    p.drawText(rect_of(t.text_box), align, toQ(t.text));
  }
}

void draw_frame_and_ticks(QPainter& p, const graph::Layout& l, const GraphFonts& fonts) {
  p.setPen(QPen(kInk, l.unit / kFramePenDivisor));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect_of(l.plot));
  p.setFont(fonts.font(graph::TextKind::Numbers));
  draw_ticks(p, l.x_ticks, Qt::AlignHCenter | Qt::AlignTop);
  draw_ticks(p, l.y_ticks, Qt::AlignRight | Qt::AlignVCenter);
  if (l.second_axis) {
    p.setFont(fonts.font(graph::TextKind::SecondAxis));
    draw_ticks(p, l.y2_ticks, Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void draw_upright(QPainter& p, const graph::UprightText& t, graph::TextKind kind, const GraphFonts& fonts) {
  p.translate(t.origin.x, t.origin.y);
  p.rotate(t.angle);
  p.drawText(rect_of(t.box), Qt::AlignCenter, fonts.elided(kind, t.text, t.fit));
}

void draw_axis_titles(QPainter& p, const graph::Layout& l, const GraphFonts& fonts) {
  p.setFont(fonts.font(graph::TextKind::AxisTitle));
  if (l.bottom_title) {
    p.drawText(rect_of(l.bottom_title->box), Qt::AlignHCenter | Qt::AlignTop,
               fonts.elided(graph::TextKind::AxisTitle, l.bottom_title->text, l.bottom_title->fit));
  }
  if (l.left_title) {
    p.save();
    draw_upright(p, *l.left_title, graph::TextKind::AxisTitle, fonts);
    p.restore();
  }
  if (l.second_title) {
    p.save();
    p.setFont(fonts.font(graph::TextKind::SecondAxis));
    draw_upright(p, *l.second_title, graph::TextKind::SecondAxis, fonts);
    p.restore();
  }
}

void draw_legend(QPainter& p, const graph::Layout& l, const GraphFonts& fonts) {
  if (l.legend.empty()) return;
  p.setFont(fonts.font(graph::TextKind::Legend));
  for (const graph::LegendPlace& e : l.legend) {
    p.setPen(QPen(set_colour(e.colour), l.unit / kLinePenDivisor));
    p.drawLine(point_of(e.sample_from), point_of(e.sample_to));
    p.setPen(kInk);
    p.drawText(rect_of(e.text_box), Qt::AlignLeft | Qt::AlignVCenter,
               fonts.elided(graph::TextKind::Legend, e.text, e.fit));
  }
}

}  // namespace

GraphControl::GraphControl(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("Graph"));
  // Assistive technology finds the control under its control name.
  connect(this, &QObject::objectNameChanged, this,
          [this](const QString& name) { setAccessibleName(name.isEmpty() ? QStringLiteral("Graph") : name); });
  resizeSets();
}

GraphControl::~GraphControl() = default;

void GraphControl::resizeSets() {
  state_.sets.resize(static_cast<size_t>(std::max(num_sets_, 1)));
  for (graph::SetData& s : state_.sets) {
    s.values.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
    s.x.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
  }
  state_.second_values.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
  this_set_ = std::clamp(this_set_, 1, num_sets_);
  next_point_ = 1;
}

void GraphControl::setNumSets(int sets) {
  num_sets_ = std::max(sets, 1);
  resizeSets();
}

void GraphControl::setNumPoints(int points) {
  num_points_ = std::max(points, 1);
  resizeSets();
}

void GraphControl::setThisSet(int set) {
  this_set_ = std::clamp(set, 1, num_sets_);
  next_point_ = 1;
}

void GraphControl::setGraphData(int point, double value) {
  if (point < 1 || point > num_points_) return;
  state_.sets[static_cast<size_t>(this_set_ - 1)].values[static_cast<size_t>(point - 1)] = value;
}

double GraphControl::graphData(int set, int point) const {
  if (set < 1 || set > num_sets_ || point < 1 || point > num_points_) return 0;
  return state_.sets[static_cast<size_t>(set - 1)].values[static_cast<size_t>(point - 1)];
}

void GraphControl::setXPosData(int point, double x) {
  if (point < 1 || point > num_points_) return;
  graph::SetData& s = state_.sets[static_cast<size_t>(this_set_ - 1)];
  s.x[static_cast<size_t>(point - 1)] = x;
  s.has_x = true;
}

double GraphControl::xPosData(int set, int point) const {
  if (set < 1 || set > num_sets_ || point < 1 || point > num_points_) return 0;
  return state_.sets[static_cast<size_t>(set - 1)].x[static_cast<size_t>(point - 1)];
}

void GraphControl::setNextData(double value) {
  setGraphData(next_point_, value);
  if (next_point_ < num_points_) ++next_point_;
}

void GraphControl::setSecondAxis(int on_off) { state_.second_axis = on_off; }
void GraphControl::setSecondAxisTitle(const std::string& title) { state_.second_title = title; }
void GraphControl::setSecondAxisData(int point, double value) {
  if (point < 1 || point > num_points_) return;
  state_.second_values[static_cast<size_t>(point - 1)] = value;
}

void GraphControl::setLegendText(int set, const std::string& text) {
  if (set < 1 || set > num_sets_) return;
  state_.sets[static_cast<size_t>(set - 1)].label = text;
}

std::string GraphControl::legendText(int set) const {
  if (set < 1 || set > num_sets_) return {};
  return state_.sets[static_cast<size_t>(set - 1)].label;
}

void GraphControl::setGraphTitle(const std::string& title) {
  state_.graph_title = title;
  setAccessibleDescription(toQ(title));
}
void GraphControl::setLeftTitle(const std::string& title) { state_.left_title = title; }
void GraphControl::setBottomTitle(const std::string& title) { state_.bottom_title = title; }
void GraphControl::setYAxisMax(double v) { state_.y_max = v; }
void GraphControl::setYAxisMin(double v) { state_.y_min = v; }
void GraphControl::setXAxisMax(double v) { state_.x_max = v; }
void GraphControl::setXAxisMin(double v) { state_.x_min = v; }
void GraphControl::setFirstVisiblePoint(int point) { state_.first_visible = point; }
void GraphControl::setLastVisiblePoint(int point) { state_.last_visible = point; }

void GraphControl::setTextSize(int kind, int percent) {
  if (kind >= 0 && kind < 5) state_.text_size[static_cast<size_t>(kind)] = percent;
}

void GraphControl::setPrintPlacement(QPainter* painter, const QRectF& area) {
  print_painter_ = painter;
  print_area_ = area;
}

void GraphControl::setImageFile(const std::string& path) { image_file_ = path; }

void GraphControl::setImageSize(const QSize& size) {
  image_size_ = QSize(std::clamp(size.width(), 16, 8000), std::clamp(size.height(), 16, 8000));
}

GraphControl::ImageKind GraphControl::imageKindForSuffix(std::string_view suffix) {
  const std::string s = vb::UCase(suffix.substr(0, 3));
  if (s == "BMP") return ImageKind::Bmp;
  if (s == "WMF") return ImageKind::Wmf;
  if (s == "JPG" || s == "JPE") return ImageKind::Jpeg;
  if (s == "GIF") return ImageKind::Gif;
  return ImageKind::FromName;
}

const std::vector<double>& GraphControl::trace(int set) const {
  static const std::vector<double> none;
  if (set < 1 || set > num_sets_) return none;
  return state_.sets[static_cast<size_t>(set - 1)].trace;
}

void GraphControl::setDrawMode(int mode) {
  switch (mode) {
    case kClear:
      for (graph::SetData& s : state_.sets) s.trace.clear();
      state_.drawn = false;
      update();
      break;
    case kDraw:
    case kRedraw:
      state_.drawn = true;
      update();
      break;
    case kPrint:
      last_output_ok_ = print_painter_ != nullptr && print_painter_->isActive() && print_area_.width() > 0 &&
                        print_area_.height() > 0;
      if (last_output_ok_) render(*print_painter_, print_area_);
      break;
    case kWriteImage:
      last_output_ok_ = writeImage();
      break;
    case kLiveSample:
      for (graph::SetData& s : state_.sets) s.trace.push_back(s.values.empty() ? 0.0 : s.values.front());
      state_.drawn = true;
      update();
      break;
    default:
      break;
  }
}

std::optional<std::string> GraphControl::encodeImage(ImageKind kind) const {
  const QRectF area(0, 0, image_size_.width(), image_size_.height());
  if (kind == ImageKind::Wmf) {
    WmfDevice device(image_size_.width(), image_size_.height());
    QPainter p;
    if (!p.begin(&device)) return std::nullopt;
    render(p, area);
    p.end();
    return device.bytes();
  }
  QImage image(image_size_, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    paint(p, area, kind != ImageKind::Gif);
  }
  if (kind == ImageKind::Gif) return encode_gif(image);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, kind == ImageKind::Jpeg ? "JPEG" : "BMP", kind == ImageKind::Jpeg ? 90 : -1)) {
    return std::nullopt;
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool GraphControl::writeImage() {
  if (image_file_.empty()) return false;
  ImageKind kind = image_kind_;
  if (kind == ImageKind::FromName) {
    const size_t slash = image_file_.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? image_file_ : image_file_.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    kind = imageKindForSuffix(std::string_view(name).substr(dot + 1));
    if (kind == ImageKind::FromName) return false;
  }
  const std::optional<std::string> bytes = encodeImage(kind);
  return bytes && files::write_all(image_file_, *bytes);
}

void GraphControl::render(QPainter& painter, const QRectF& area) const { paint(painter, area, true); }

void GraphControl::paint(QPainter& painter, const QRectF& area, bool smooth) const {
  const graph::Rect box{area.x(), area.y(), area.width(), area.height()};
  if (!graph::drawable(box)) return;
  const GraphFonts fonts(graph::text_pixels(box, state_.text_size), smooth, painter.device());
  const graph::Layout layout = graph::lay_out(state_, box, fonts);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, smooth);
  painter.setRenderHint(QPainter::TextAntialiasing, smooth);
  painter.fillRect(area, kBackground);
  draw_title(painter, layout, fonts);
  if (layout.plot_shown) {
    draw_grid(painter, layout);
    draw_series(painter, layout);
    draw_frame_and_ticks(painter, layout, fonts);
    draw_axis_titles(painter, layout, fonts);
    draw_legend(painter, layout, fonts);
  }
  painter.restore();
}

void GraphControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  render(p, QRectF(rect()));
}

}  // namespace qtx
