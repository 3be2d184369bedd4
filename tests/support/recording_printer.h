// A printer that records what the program printed, document by document, and can be made to
// fail from a given line on. Its page is a small picture (24 dots an inch, 10 x 7.5 inches of
// printable area in landscape) that the graph control can draw into.
#pragma once

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace qtx::test {

class RecordingPrinter : public Printer {
 public:
  // One printed line: the items joined (a zone step shown as "|"), and the font it was printed in.
  struct Line {
    std::string text;
    std::string font;
    double size = 0;
    bool bold = false;
    bool italic = false;
    double x = 0;  // the print position the line began at, in the scale unit
  };
  using Page = std::vector<Line>;
  struct Document {
    std::vector<Page> pages{Page{}};
    bool ended = false;  // sent by endDoc (false: dropped by killDoc)
  };

  void setOrientation(PrinterOrientation o) override {
    if (!keeps_portrait) orientation_ = o;
  }
  PrinterOrientation orientation() override { return orientation_; }
  bool setFontName(std::string_view name) override;
  void setFontSize(double points) override { size_ = points; }
  void setFontBold(bool bold) override { bold_ = bold; }
  void setFontItalic(bool italic) override { italic_ = italic; }
  bool fontBold() const override { return bold_; }
  bool fontItalic() const override { return italic_; }
  void setScaleUnit(ScaleUnit unit) override { unit_ = unit; }
  ScaleUnit scaleUnit() const override { return unit_; }
  void setCurrentX(double x) override { x_ = x; }
  double currentX() override { return x_; }
  double currentY() override;
  bool print(const std::vector<PrintItem>& items, bool end_line = true) override;
  bool newPage() override;
  bool endDoc() override;
  void killDoc() override;
  QPainter* painter() override;
  QRectF drawingArea() override;
  QRectF scaleArea() override;

  // The lines of each page of the documents sent, as text.
  std::vector<std::vector<std::string>> sentPages() const;

  std::vector<Document> documents;
  int fail_from_print = -1;  // the n-th print (from 0) and every later one fails; -1 never
  bool fail_font = false;
  bool keeps_portrait = false;  // the page does not turn to landscape
  bool no_painter = false;      // nothing can draw on the page
  QImage canvas;                // the last page drawn on
  int prints = 0;
  int failures = 0;

 private:
  Document& current();
  bool open_ = false;
  bool failed_ = false;
  PrinterOrientation orientation_ = PrinterOrientation::Portrait;
  std::string font_ = "courier new";
  double size_ = 10;
  bool bold_ = false;
  bool italic_ = false;
  ScaleUnit unit_ = ScaleUnit::Twips;
  double x_ = 0;
  double y_inches_ = 0;
  std::unique_ptr<QPainter> painter_;
};

}  // namespace qtx::test
