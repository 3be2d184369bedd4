#include "support/recording_printer.h"

namespace qtx::test {

namespace {
constexpr double kDotsPerInch = 24;
constexpr double kLongSide = 10, kShortSide = 7.5;  // inches
double per_unit(ScaleUnit unit) {
  switch (unit) {
    case ScaleUnit::Inches:
      return 1;
    case ScaleUnit::Points:
      return 1.0 / 72;
    case ScaleUnit::Pixels:
      return 1.0 / kDotsPerInch;
    case ScaleUnit::Millimeters:
      return 1.0 / 25.4;
    case ScaleUnit::Centimeters:
      return 1.0 / 2.54;
    case ScaleUnit::Twips:
      break;
  }
  return 1.0 / 1440;
}
}  // namespace

RecordingPrinter::Document& RecordingPrinter::current() {
  if (!open_) {
    documents.emplace_back();
    open_ = true;
  }
  return documents.back();
}

bool RecordingPrinter::setFontName(std::string_view name) {
  if (fail_font) return false;
  font_ = std::string(name);
  return true;
}

bool RecordingPrinter::print(const std::vector<PrintItem>& items, bool end_line) {
  Document& d = current();
  if (failed_ || (fail_from_print >= 0 && prints >= fail_from_print)) {
    ++prints;
    ++failures;
    failed_ = true;
    return false;
  }
  ++prints;
  std::string text;
  for (const PrintItem& item : items) {
    text += item.text;
    if (item.next_zone) text += "|";
  }
  Page& page = d.pages.back();
  if (!end_line) text += "\\";
  page.push_back(Line{text, font_, size_, bold_, italic_, x_});
  if (end_line) {
    x_ = 0;
    y_inches_ += size_ * 1.2 / 72;
  }
  return true;
}

bool RecordingPrinter::newPage() {
  if (failed_) return false;
  current().pages.emplace_back();
  y_inches_ = 0;
  return true;
}

bool RecordingPrinter::endDoc() {
  if (!open_) return !failed_;
  const bool ok = !failed_;
  documents.back().ended = ok;
  open_ = false;
  painter_.reset();
  y_inches_ = 0;
  failed_ = false;
  return ok;
}

void RecordingPrinter::killDoc() {
  open_ = false;
  painter_.reset();
  y_inches_ = 0;
  failed_ = false;
}

double RecordingPrinter::currentY() { return y_inches_ / per_unit(unit_); }

QRectF RecordingPrinter::drawingArea() {
  const bool landscape = orientation_ == PrinterOrientation::Landscape;
  return QRectF(0, 0, (landscape ? kLongSide : kShortSide) * kDotsPerInch,
                (landscape ? kShortSide : kLongSide) * kDotsPerInch);
}

QRectF RecordingPrinter::scaleArea() {
  const QRectF dots = drawingArea();
  const double d = kDotsPerInch * per_unit(unit_);
  return QRectF(0, 0, dots.width() / d, dots.height() / d);
}

QPainter* RecordingPrinter::painter() {
  if (no_painter || failed_) return nullptr;
  current();
  if (!painter_) {
    canvas = QImage(drawingArea().size().toSize(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&canvas);
  }
  return painter_.get();
}

std::vector<std::vector<std::string>> RecordingPrinter::sentPages() const {
  std::vector<std::vector<std::string>> out;
  for (const Document& d : documents) {
    if (!d.ended) continue;
    for (const Page& p : d.pages) {
      std::vector<std::string> lines;
      for (const Line& l : p) lines.push_back(l.text);
      out.push_back(std::move(lines));
    }
  }
  return out;
}

}  // namespace qtx::test
