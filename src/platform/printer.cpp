#include "platform/printer.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdlib>

#include "platform/text.h"

namespace qtx {

namespace {

// Faces of the same widths as the ones the printouts name.
struct Substitute {
  const char* name;
  const char* faces[3];
};
constexpr Substitute kSubstitutes[] = {
    {"courier new", {"Liberation Mono", "Cousine", "Courier"}},
    {"times new roman", {"Liberation Serif", "Tinos", "Times"}},
    {"arial", {"Liberation Sans", "Arimo", "Helvetica"}},
};

double inches_per_unit(ScaleUnit unit, double dpi) {
  switch (unit) {
    case ScaleUnit::Twips: return 1.0 / 1440.0;
    case ScaleUnit::Points: return 1.0 / 72.0;
    case ScaleUnit::Pixels: return 1.0 / dpi;
    case ScaleUnit::Inches: return 1.0;
    case ScaleUnit::Millimeters: return 1.0 / 25.4;
    case ScaleUnit::Centimeters: return 1.0 / 2.54;
  }
  return 1.0 / 1440.0;
}

PrinterOrientation orientation_of(const QPrinter& p) {
  return p.pageLayout().orientation() == QPageLayout::Landscape ? PrinterOrientation::Landscape
                                                                 : PrinterOrientation::Portrait;
}

// What is drawn of an item: a file name as it stands, other text as Latin-1; control
// characters draw nothing.
QString drawn(const PrintItem& item) {
  QString s = item.path ? pathToQ(item.text) : toQ(item.text);
  s.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
  return s;
}

class QtPrinter : public Printer {
 public:
  QtPrinter() = default;
  ~QtPrinter() override { killDoc(); }

  void setOrientation(PrinterOrientation orientation) override {
    orientation_ = orientation;
    // A page not yet drawn on takes it at once; otherwise the next document does.
    if (printer_ && !painter_) apply_orientation(*printer_);
  }

  PrinterOrientation orientation() override {
    if (printer_) return orientation_of(*printer_);
    // No document yet: the orientation a new one would get. (A QPrinter is costly to make, so
    // it is made only here.)
    QPrinter probe(QPrinter::HighResolution);
    configure(probe);
    return orientation_of(probe);
  }

  bool setFontName(std::string_view name) override {
    const std::string family = resolve_font_family(name);
    if (family.empty()) return false;
    family_ = QString::fromStdString(family);
    apply_font();
    return !failed_;
  }
  void setFontSize(double points) override {
    if (points > 0) size_ = points;
    apply_font();
  }
  void setFontBold(bool bold) override {
    bold_ = bold;
    apply_font();
  }
  void setFontItalic(bool italic) override {
    italic_ = italic;
    apply_font();
  }

  bool fontBold() const override { return bold_; }
  bool fontItalic() const override { return italic_; }

  void setScaleUnit(ScaleUnit unit) override { unit_ = unit; }
  ScaleUnit scaleUnit() const override { return unit_; }
  void setCurrentX(double x) override { x_inches_ = x * inches_per_unit(unit_, dpi()); }
  double currentX() override { return x_inches_ / inches_per_unit(unit_, dpi()); }
  double currentY() override { return y_ / dpi() / inches_per_unit(unit_, dpi()); }

  bool print(const std::vector<PrintItem>& items, bool end_line) override {
    if (!begin()) return false;
    const QFontMetricsF m(font(), printer_.get());
    const double d = dpi();
    if (y_ + m.lineSpacing() > page_height() && y_ > 0 && !newPage()) return false;
    const double zone = kZoneWidth * m.horizontalAdvance(QLatin1Char('0')) / d;
    for (size_t i = 0; i < items.size(); ++i) {
      const QString text = drawn(items[i]);
      painter_->drawText(QPointF(x_inches_ * d, y_ + m.ascent()), text);
      x_inches_ += m.horizontalAdvance(text) / d;
      if (items[i].next_zone) x_inches_ = (std::floor(x_inches_ / zone + 1e-9) + 1) * zone;
    }
    if (end_line) {
      x_inches_ = 0;
      y_ += m.lineSpacing();
    }
    return !failed_;
  }

  bool newPage() override {
    if (!begin()) return false;
    if (!printer_->newPage()) failed_ = true;
    x_inches_ = 0;
    y_ = 0;
    return !failed_;
  }

  bool endDoc() override {
    if (!painter_) {
      // Nothing was printed: nothing to send, unless the document could not even begin.
      const bool ok = !failed_;
      failed_ = false;
      printer_.reset();
      return ok;
    }
    const bool ok = painter_->end() && !failed_;
    painter_.reset();
    printer_.reset();
    failed_ = false;
    x_inches_ = 0;
    y_ = 0;
    return ok;
  }

  void killDoc() override {
    if (painter_) {
      printer_->abort();
      painter_->end();
    }
    painter_.reset();
    printer_.reset();
    failed_ = false;
    x_inches_ = 0;
    y_ = 0;
  }

  QPainter* painter() override { return begin() ? painter_.get() : nullptr; }
  QRectF scaleArea() override {
    const QRectF area = drawingArea();
    const double per_unit = dpi() * inches_per_unit(unit_, dpi());
    return QRectF(0, 0, area.width() / per_unit, area.height() / per_unit);
  }
  QRectF drawingArea() override {
    if (!begin()) return {};
    return QRectF(QPointF(0, 0), printer_->pageLayout().paintRectPixels(printer_->resolution()).size());
  }

 private:
  void apply_orientation(QPrinter& p) const {
    p.setPageOrientation(orientation_ == PrinterOrientation::Landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
  }

  // The default printer, or the PDF file QTX_PRINT_PDF names. False when there is neither.
  bool configure(QPrinter& p) const {
    const char* pdf = std::getenv("QTX_PRINT_PDF");
    if (pdf && *pdf) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(QFile::decodeName(pdf));
    } else {
      const QPrinterInfo info = QPrinterInfo::defaultPrinter();
      if (info.isNull()) return false;
      p.setPrinterName(info.printerName());
    }
    apply_orientation(p);
    return true;
  }

  bool begin() {
    if (painter_) return !failed_;
    if (failed_) return false;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!configure(*printer_)) {
      failed_ = true;
      return false;
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
      painter_.reset();
      failed_ = true;
      return false;
    }
    painter_->setPen(Qt::black);
    x_inches_ = 0;
    y_ = 0;
    apply_font();
    return true;
  }

  QFont font() {
    // The default face is looked up when the first page needs it: the font list costs the
    // program's start a good part of its time.
    if (family_.isEmpty()) family_ = QString::fromStdString(resolve_font_family("courier new"));
    QFont f(family_);
    f.setPointSizeF(size_);
    f.setBold(bold_);
    f.setItalic(italic_);
    f.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    return f;
  }
  void apply_font() {
    if (painter_) painter_->setFont(font());
  }
  double dpi() const { return printer_ ? printer_->resolution() : 1200.0; }
  double page_height() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).height(); }

  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  bool failed_ = false;
  PrinterOrientation orientation_ = PrinterOrientation::Portrait;
  QString family_;
  double size_ = 10;
  bool bold_ = false;
  bool italic_ = false;
  ScaleUnit unit_ = ScaleUnit::Twips;
  double x_inches_ = 0;
  double y_ = 0;  // device pixels from the top of the printable area
};

}  // namespace

std::string resolve_font_family(std::string_view name) {
  const QString wanted = toQ(name).trimmed();
  const QStringList families = QFontDatabase::families();
  for (const QString& f : families)
    if (f.compare(wanted, Qt::CaseInsensitive) == 0) return f.toStdString();
  for (const Substitute& s : kSubstitutes) {
    if (wanted.compare(QLatin1String(s.name), Qt::CaseInsensitive) != 0) continue;
    for (const char* face : s.faces)
      if (families.contains(QLatin1String(face), Qt::CaseInsensitive)) return face;
    // The system's own monospaced face keeps the columns of a report lined up.
    if (s.name == std::string_view("courier new"))
      return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family().toStdString();
  }
  return QFontInfo(QFont(wanted)).family().toStdString();
}

std::unique_ptr<Printer> make_qt_printer() { return std::make_unique<QtPrinter>(); }

namespace {

class NoPrinter final : public Printer {
 public:
  void setOrientation(PrinterOrientation orientation) override { orientation_ = orientation; }
  PrinterOrientation orientation() override { return orientation_; }
  bool setFontName(std::string_view) override { return false; }
  void setFontSize(double) override {}
  void setFontBold(bool bold) override { bold_ = bold; }
  void setFontItalic(bool italic) override { italic_ = italic; }
  bool fontBold() const override { return bold_; }
  bool fontItalic() const override { return italic_; }
  void setScaleUnit(ScaleUnit unit) override { unit_ = unit; }
  ScaleUnit scaleUnit() const override { return unit_; }
  void setCurrentX(double) override {}
  double currentX() override { return 0; }
  double currentY() override { return 0; }
  bool print(const std::vector<PrintItem>&, bool) override { return false; }
  bool newPage() override { return false; }
  bool endDoc() override { return false; }
  void killDoc() override {}
  QPainter* painter() override { return nullptr; }
  QRectF drawingArea() override { return {}; }
  QRectF scaleArea() override { return {}; }

 private:
  PrinterOrientation orientation_ = PrinterOrientation::Portrait;
  bool bold_ = false;
  bool italic_ = false;
  ScaleUnit unit_ = ScaleUnit::Twips;
};

}  // namespace

Printer& no_printer() {
  static NoPrinter printer;
  return printer;
}

}  // namespace qtx
