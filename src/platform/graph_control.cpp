#include "platform/graph_control.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace qtx {

GraphControl::GraphControl(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("Graph"));
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
  sets_[static_cast<size_t>(this_set_ - 1)].x[static_cast<size_t>(point - 1)] = x;
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

void GraphControl::setGraphTitle(const std::string& title) { graph_title_ = title; }
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
      last_output_ok_ = print_painter_ != nullptr && print_painter_->isActive();
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

bool GraphControl::writeImage() {
  if (image_file_.empty()) return false;
  QImage image(640, 480, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    render(p, QRectF(0, 0, image.width(), image.height()));
  }
  std::string lower = image_file_;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const char* format = lower.find(".jp") != std::string::npos ? "JPG" : "BMP";
  return image.save(QString::fromStdString(image_file_), format);
}

void GraphControl::render(QPainter& painter, const QRectF& area) const {
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setPen(Qt::black);
  const QRectF plot = area.adjusted(area.width() * 0.1, area.height() * 0.1, -area.width() * 0.05,
                                    -area.height() * 0.1);
  painter.drawRect(plot);
  painter.drawText(QRectF(area.left(), area.top(), area.width(), area.height() * 0.1),
                   Qt::AlignCenter, QString::fromLatin1(graph_title_.c_str()));
  const double dy = (y_max_ - y_min_) == 0 ? 1 : (y_max_ - y_min_);
  if (drawn_) {
    for (const Set& s : sets_) {
      const std::vector<double>& ys = s.trace.empty() ? s.values : s.trace;
      if (ys.size() < 2) continue;
      QPolygonF line;
      const double n = static_cast<double>(ys.size() - 1);
      for (size_t i = 0; i < ys.size(); ++i) {
        const double v = ys[i];
        if (!std::isfinite(v)) continue;
        const double fx = static_cast<double>(i) / n;
        const double fy = std::clamp((v - y_min_) / dy, -1.0, 2.0);
        line << QPointF(plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height());
      }
      painter.drawPolyline(line);
    }
  }
  painter.restore();
}

void GraphControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  render(p, QRectF(rect()));
}

}  // namespace qtx
