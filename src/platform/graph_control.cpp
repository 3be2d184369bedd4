#include "platform/graph_control.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "core/graph_axis.h"
#include "core/vb.h"
#include "platform/files.h"
#include "platform/gif_writer.h"
#include "platform/text.h"
#include "platform/wmf_writer.h"

namespace qtx {

namespace {

QColor set_colour(int index) {
  static const QColor colours[] = {{0, 0, 200},   {200, 0, 0},   {0, 128, 0}, {160, 0, 160},
                                   {0, 128, 128}, {200, 110, 0}, {90, 90, 90}};
  return colours[static_cast<size_t>(index) % std::size(colours)];
}

bool is_hidden(const std::string& label) { return label == " "; }
bool in_legend(const std::string& label) { return !label.empty() && !is_hidden(label); }

// A line to draw, in axis values.
struct Line {
  std::vector<graph::Point> points;
  QColor colour;
  bool second_axis = false;
};

void draw_line(QPainter& p, const Line& line, const graph::AxisMap& x, const graph::AxisMap& y, const QRectF& plot) {
  std::vector<graph::Point> device;
  device.reserve(line.points.size());
  for (const graph::Point& pt : line.points) device.push_back({x(pt.x), y(pt.y)});
  device = graph::thin_polyline(device, std::max(plot.width() / 2048, 1.0));
  const graph::Box box{plot.left(), plot.top(), plot.right(), plot.bottom()};
  // Long lines go to the painter in short runs that share their end points: a dense line folds
  // back on itself at every column, and the rasterizer's cost grows with the square of the
  // crossings within one run.
  constexpr size_t kRun = 16;
  for (const std::vector<graph::Point>& piece : graph::clip_polyline(device, box)) {
    for (size_t from = 0; from + 1 < piece.size(); from += kRun - 1) {
      const size_t to = std::min(piece.size(), from + kRun);
      QPolygonF poly;
      poly.reserve(static_cast<qsizetype>(to - from));
      for (size_t i = from; i < to; ++i) poly << QPointF(piece[i].x, piece[i].y);
      p.drawPolyline(poly);
    }
  }
}

// The range of the second axis: its values as drawn, widened to whole ticks.
graph::Range fitted_range(const std::vector<Line>& lines) {
  double lo = NAN, hi = NAN;
  for (const Line& l : lines) {
    if (!l.second_axis) continue;
    for (const graph::Point& pt : l.points) {
      if (!std::isfinite(pt.y)) continue;
      lo = std::isnan(lo) ? pt.y : std::min(lo, pt.y);
      hi = std::isnan(hi) ? pt.y : std::max(hi, pt.y);
    }
  }
  if (std::isnan(lo)) return {0, 1};
  graph::Range r = graph::Range::safe(lo, hi);
  const double step = graph::choose_ticks(r, 6).step;
  const graph::Range whole = graph::Range::safe(std::floor(r.lo / step) * step, std::ceil(r.hi / step) * step);
  return std::isfinite(whole.span()) ? whole : r;
}

// Ticks for an axis of the given length whose labels need `label_size` along it each.
template <typename Measure>
graph::Ticks fitting_ticks(const graph::Range& range, double length, Measure label_size) {
  int most = std::clamp(static_cast<int>(length / std::max(label_size(std::string("0000")), 1.0)), 2, 12);
  graph::Ticks ticks = graph::choose_ticks(range, most);
  for (int tries = 0; tries < 10 && ticks.values.size() > 2; ++tries) {
    double widest = 0;
    for (double v : ticks.values) widest = std::max(widest, label_size(graph::tick_text(v, ticks.step)));
    if (widest * 1.4 * static_cast<double>(ticks.values.size()) <= length) break;
    most = static_cast<int>(ticks.values.size()) - 1;
    ticks = graph::choose_ticks(range, most);
  }
  return ticks;
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
  sets_.resize(static_cast<size_t>(std::max(num_sets_, 1)));
  for (Set& s : sets_) {
    s.values.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
    s.x.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
  }
  second_values_.resize(static_cast<size_t>(std::max(num_points_, 1)), 0.0);
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
  sets_[static_cast<size_t>(this_set_ - 1)].values[static_cast<size_t>(point - 1)] = value;
}

double GraphControl::graphData(int set, int point) const {
  if (set < 1 || set > num_sets_ || point < 1 || point > num_points_) return 0;
  return sets_[static_cast<size_t>(set - 1)].values[static_cast<size_t>(point - 1)];
}

void GraphControl::setXPosData(int point, double x) {
  if (point < 1 || point > num_points_) return;
  Set& s = sets_[static_cast<size_t>(this_set_ - 1)];
  s.x[static_cast<size_t>(point - 1)] = x;
  s.has_x = true;
}

double GraphControl::xPosData(int set, int point) const {
  if (set < 1 || set > num_sets_ || point < 1 || point > num_points_) return 0;
  return sets_[static_cast<size_t>(set - 1)].x[static_cast<size_t>(point - 1)];
}

void GraphControl::setNextData(double value) {
  setGraphData(next_point_, value);
  if (next_point_ < num_points_) ++next_point_;
}

void GraphControl::setSecondAxis(int on_off) { second_axis_ = on_off; }
void GraphControl::setSecondAxisTitle(const std::string& title) { second_title_ = title; }
void GraphControl::setSecondAxisData(int point, double value) {
  if (point < 1 || point > num_points_) return;
  second_values_[static_cast<size_t>(point - 1)] = value;
}

void GraphControl::setLegendText(int set, const std::string& text) {
  if (set < 1 || set > num_sets_) return;
  sets_[static_cast<size_t>(set - 1)].label = text;
}

std::string GraphControl::legendText(int set) const {
  if (set < 1 || set > num_sets_) return {};
  return sets_[static_cast<size_t>(set - 1)].label;
}

void GraphControl::setGraphTitle(const std::string& title) {
  graph_title_ = title;
  setAccessibleDescription(toQ(title));
}
void GraphControl::setLeftTitle(const std::string& title) { left_title_ = title; }
void GraphControl::setBottomTitle(const std::string& title) { bottom_title_ = title; }
void GraphControl::setYAxisMax(double v) { y_max_ = v; }
void GraphControl::setYAxisMin(double v) { y_min_ = v; }
void GraphControl::setXAxisMax(double v) { x_max_ = v; }
void GraphControl::setXAxisMin(double v) { x_min_ = v; }
void GraphControl::setFirstVisiblePoint(int point) { first_visible_ = point; }
void GraphControl::setLastVisiblePoint(int point) { last_visible_ = point; }

void GraphControl::setTextSize(int kind, int percent) {
  if (kind >= 0 && kind < 5) text_size_[kind] = percent;
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
  return sets_[static_cast<size_t>(set - 1)].trace;
}

void GraphControl::setDrawMode(int mode) {
  switch (mode) {
    case kClear:
      for (Set& s : sets_) s.trace.clear();
      drawn_ = false;
      update();
      break;
    case kDraw:
    case kRedraw:
      drawn_ = true;
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
      for (Set& s : sets_) s.trace.push_back(s.values.empty() ? 0.0 : s.values.front());
      drawn_ = true;
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
  if (!(area.width() > 0 && area.height() > 0) ||
      !std::isfinite(area.left() + area.top() + area.width() + area.height())) {
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, smooth);
  painter.setRenderHint(QPainter::TextAntialiasing, smooth);
  painter.fillRect(area, Qt::white);

  // Sizes follow the area, so the screen, a page and an image file look alike.
  const double base = std::clamp(std::min(area.width(), area.height()) / 36.0, 4.0, 2000.0);
  auto font_of = [&](int kind, bool bold) {
    QFont f;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(base * std::clamp(text_size_[kind], 10, 1000) / 100.0))));
    f.setBold(bold);
    if (!smooth) f.setStyleStrategy(QFont::NoAntialias);
    return f;
  };
  const QFont title_font = font_of(0, true), axis_font = font_of(1, false), number_font = font_of(2, false),
              legend_font = font_of(3, false), second_font = font_of(4, false);
  const QFontMetricsF title_fm(title_font, painter.device()), axis_fm(axis_font, painter.device()),
      number_fm(number_font, painter.device()), legend_fm(legend_font, painter.device()),
      second_fm(second_font, painter.device());
  const double margin = base * 0.6;
  const double tick = base * 0.4;

  // The lines, in axis values.
  std::vector<Line> lines;
  graph::Range xr = graph::Range::safe(x_min_, x_max_);
  const bool second_on = second_axis_ == 2;
  int stand_in = 0;  // the set that stands for the second axis's values
  size_t trace_length = 0;
  for (const Set& s : sets_) trace_length = std::max(trace_length, s.trace.size());
  if (drawn_ && trace_length > 0) {
    const graph::TraceWindow w = graph::trace_window(trace_length, x_min_, x_max_);
    xr = w.x;
    for (int i = 0; i < num_sets_; ++i) {
      const Set& s = sets_[static_cast<size_t>(i)];
      if (is_hidden(s.label)) continue;
      Line line{{}, set_colour(i), false};
      const size_t end = std::min(s.trace.size(), w.first + w.count);
      line.points.reserve(end > w.first ? end - w.first : 0);
      for (size_t k = w.first; k < end; ++k) line.points.push_back({static_cast<double>(k + 1), s.trace[k]});
      lines.push_back(std::move(line));
    }
  } else if (drawn_) {
    const int first = std::clamp(first_visible_ >= 1 ? first_visible_ : 1, 1, num_points_);
    const int last = last_visible_ >= 1 && last_visible_ <= num_points_ ? last_visible_ : num_points_;
    auto x_of = [&](const Set* s, int i) {
      if (s != nullptr && s->has_x) return s->x[static_cast<size_t>(i - 1)];
      if (last == first) return (xr.lo + xr.hi) / 2;
      return xr.lo + (i - first) * xr.span() / (last - first);
    };
    if (second_on && num_sets_ >= 2) stand_in = num_sets_;
    for (int i = 0; i < num_sets_; ++i) {
      const Set& s = sets_[static_cast<size_t>(i)];
      if (is_hidden(s.label) || i + 1 == stand_in) continue;
      Line line{{}, set_colour(i), false};
      line.points.reserve(static_cast<size_t>(std::max(last - first + 1, 0)));
      for (int k = first; k <= last; ++k) line.points.push_back({x_of(&s, k), s.values[static_cast<size_t>(k - 1)]});
      lines.push_back(std::move(line));
    }
    if (second_on && !(stand_in > 0 && is_hidden(sets_.back().label))) {
      const Set* xs = sets_.back().has_x ? &sets_.back() : sets_.front().has_x ? &sets_.front() : nullptr;
      Line line{{}, set_colour(num_sets_ - (stand_in > 0 ? 1 : 0)), true};
      for (int k = first; k <= last; ++k)
        line.points.push_back({x_of(xs, k), second_values_[static_cast<size_t>(k - 1)]});
      lines.push_back(std::move(line));
    }
  }
  const graph::Range yr = graph::Range::safe(y_min_, y_max_);
  const graph::Range y2r = fitted_range(lines);

  // The legend: the labelled sets that are shown.
  struct Entry {
    QString text;
    QColor colour;
  };
  std::vector<Entry> legend;
  for (int i = 0; i < num_sets_; ++i) {
    const Set& s = sets_[static_cast<size_t>(i)];
    if (!in_legend(s.label)) continue;
    legend.push_back({toQ(s.label), set_colour(i)});
  }

  // Layout from the outside in.
  const QString title = toQ(graph_title_);
  double top = area.top() + margin;
  QRectF title_box;
  if (!graph_title_.empty()) {
    title_box = QRectF(area.left() + margin, top, area.width() - 2 * margin, title_fm.height());
    top += title_fm.height() + margin * 0.5;
  }
  QRectF legend_box;
  if (!legend.empty()) {
    legend_box = QRectF(area.left() + margin, top, area.width() - 2 * margin, legend_fm.height());
    top += legend_fm.height() + margin * 0.5;
  }
  double bottom = area.bottom() - margin;
  QRectF bottom_title_box;
  if (!bottom_title_.empty()) {
    bottom -= axis_fm.height();
    bottom_title_box = QRectF(area.left(), bottom, area.width(), axis_fm.height());
    bottom -= margin * 0.3;
  }
  bottom -= number_fm.height() + tick;
  const double plot_height = bottom - top;

  auto height_of = [&](const QFontMetricsF& fm) { return [&fm](const std::string&) { return fm.height(); }; };
  const graph::Ticks yticks = fitting_ticks(yr, plot_height, height_of(number_fm));
  const graph::Ticks y2ticks = fitting_ticks(y2r, plot_height, height_of(second_fm));
  auto widest = [](const QFontMetricsF& fm, const graph::Ticks& t) {
    double w = 0;
    for (double v : t.values) w = std::max(w, fm.horizontalAdvance(toQ(graph::tick_text(v, t.step))));
    return w;
  };
  double left = area.left() + margin;
  if (!left_title_.empty()) left += axis_fm.height() + margin * 0.3;
  const double left_title_x = left - margin * 0.3;
  left += widest(number_fm, yticks) + tick + base * 0.2;
  double right = area.right() - margin;
  double second_title_x = right;
  if (second_on) {
    if (!second_title_.empty()) {
      right -= second_fm.height() + margin * 0.3;
      second_title_x = right + margin * 0.3;
    }
    right -= widest(second_fm, y2ticks) + tick + base * 0.2;
  } else {
    right -= number_fm.horizontalAdvance(QStringLiteral("0000")) / 2;
  }
  const QRectF plot(left, top, right - left, bottom - top);

  if (!title_box.isNull()) {
    painter.setFont(title_font);
    painter.setPen(Qt::black);
    painter.drawText(title_box, Qt::AlignHCenter | Qt::AlignTop,
                     title_fm.elidedText(title, Qt::ElideRight, title_box.width()));
  }
  if (plot.width() < base || plot.height() < base) {
    painter.restore();
    return;
  }

  const graph::Ticks xticks =
      fitting_ticks(xr, plot.width(), [&](const std::string& t) { return number_fm.horizontalAdvance(toQ(t)); });
  const graph::AxisMap xmap{xr, plot.left(), plot.right()};
  const graph::AxisMap ymap{yr, plot.bottom(), plot.top()};
  const graph::AxisMap y2map{y2r, plot.bottom(), plot.top()};

  // Grid.
  painter.setPen(QPen(QColor(220, 220, 220), base / 20));
  for (double v : xticks.values) {
    const double x = xmap(v);
    if (x > plot.left() + 0.5 && x < plot.right() - 0.5)
      painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  }
  for (double v : yticks.values) {
    const double y = ymap(v);
    if (y > plot.top() + 0.5 && y < plot.bottom() - 0.5)
      painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }

  // The data.
  for (const Line& line : lines) {
    QPen pen(line.colour, base / 7);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    draw_line(painter, line, xmap, line.second_axis ? y2map : ymap, plot);
  }

  // Frame, ticks and numbers.
  painter.setPen(QPen(Qt::black, base / 14));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  painter.setFont(number_font);
  const double nh = number_fm.height();
  for (double v : xticks.values) {
    const double x = xmap(v);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
    painter.drawText(QRectF(x - plot.width() / 2, plot.bottom() + tick, plot.width(), nh),
                     Qt::AlignHCenter | Qt::AlignTop, toQ(graph::tick_text(v, xticks.step)));
  }
  for (double v : yticks.values) {
    const double y = ymap(v);
    painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
    painter.drawText(QRectF(area.left(), y - nh / 2, plot.left() - tick - base * 0.2 - area.left(), nh),
                     Qt::AlignRight | Qt::AlignVCenter, toQ(graph::tick_text(v, yticks.step)));
  }
  if (second_on) {
    painter.setFont(second_font);
    const double sh = second_fm.height();
    for (double v : y2ticks.values) {
      const double y = y2map(v);
      painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + tick, y));
      painter.drawText(QRectF(plot.right() + tick + base * 0.2, y - sh / 2, area.right() - plot.right(), sh),
                       Qt::AlignLeft | Qt::AlignVCenter, toQ(graph::tick_text(v, y2ticks.step)));
    }
  }

  // Axis titles; the upright ones read from bottom to top (left) and top to bottom (right).
  painter.setFont(axis_font);
  if (!bottom_title_box.isNull()) {
    painter.drawText(bottom_title_box, Qt::AlignHCenter | Qt::AlignTop,
                     axis_fm.elidedText(toQ(bottom_title_), Qt::ElideRight, area.width() - 2 * margin));
  }
  if (!left_title_.empty()) {
    painter.save();
    painter.translate(left_title_x, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -axis_fm.height(), plot.height(), axis_fm.height()), Qt::AlignCenter,
                     axis_fm.elidedText(toQ(left_title_), Qt::ElideRight, plot.height()));
    painter.restore();
  }
  if (second_on && !second_title_.empty()) {
    painter.save();
    painter.setFont(second_font);
    painter.translate(second_title_x, plot.center().y());
    painter.rotate(90);
    painter.drawText(QRectF(-plot.height() / 2, -second_fm.height(), plot.height(), second_fm.height()),
                     Qt::AlignCenter, second_fm.elidedText(toQ(second_title_), Qt::ElideRight, plot.height()));
    painter.restore();
  }

  // Legend: a short line in the set's colour before each label, centred as a row.
  if (!legend.empty()) {
    painter.setFont(legend_font);
    const double sample = base * 2, gap = base * 0.4, spacing = base * 1.2;
    const double share = legend_box.width() / static_cast<double>(legend.size()) - sample - gap - spacing;
    double total = 0;
    std::vector<QString> texts;
    for (const Entry& e : legend) {
      texts.push_back(legend_fm.elidedText(e.text, Qt::ElideRight, std::max(share, base)));
      total += sample + gap + legend_fm.horizontalAdvance(texts.back()) + spacing;
    }
    double x = legend_box.left() + std::max(0.0, (legend_box.width() - total + spacing) / 2);
    const double mid = legend_box.center().y();
    for (size_t i = 0; i < legend.size(); ++i) {
      painter.setPen(QPen(legend[i].colour, base / 7));
      painter.drawLine(QPointF(x, mid), QPointF(x + sample, mid));
      x += sample + gap;
      const double w = legend_fm.horizontalAdvance(texts[i]);
      painter.setPen(Qt::black);
      painter.drawText(QRectF(x, legend_box.top(), w + 1, legend_box.height()), Qt::AlignLeft | Qt::AlignVCenter,
                       texts[i]);
      x += w + spacing;
    }
  }
  painter.restore();
}

void GraphControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  render(p, QRectF(rect()));
}

}  // namespace qtx
