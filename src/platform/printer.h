// The system printer as the program prints on it: one document at a time, built from lines of
// text at the current position in the current font, new pages and the end of the document, and a
// drawing area the graph control paints its picture into.
//
// A document begins with the first output after the last end (or at the start) and is sent to
// the printer by endDoc(). Operations that fail return false; once an operation of a document
// has failed, the document is lost and killDoc() drops what is left of it.
//
// The Qt printer prints on the system's default printer, or into a PDF file when the
// environment variable QTX_PRINT_PDF names one (each document replaces the file). With neither,
// every document fails.
#pragma once

#include <QRectF>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/print_item.h"

class QPainter;

namespace qtx {

enum class PrinterOrientation { Portrait = 1, Landscape = 2 };

// The unit of the horizontal position and of the drawing area's measures.
enum class ScaleUnit { Twips = 1, Points = 2, Pixels = 3, Inches = 5, Millimeters = 6, Centimeters = 7 };

class Printer {
 public:
  static constexpr int kZoneWidth = 14;  // characters

  virtual ~Printer() = default;

  // The orientation asked for the next document (a printer that cannot turn the page keeps its
  // own); orientation() reads back what the printer uses.
  virtual void setOrientation(PrinterOrientation orientation) = 0;
  virtual PrinterOrientation orientation() = 0;

  // Font of the following output. A face name the system lacks resolves to an installed face of
  // the same metrics ("courier new" prints in a monospaced face of Courier New's widths).
  virtual bool setFontName(std::string_view name) = 0;
  virtual void setFontSize(double points) = 0;
  virtual void setFontBold(bool bold) = 0;
  virtual void setFontItalic(bool italic) = 0;
  virtual bool fontBold() const = 0;
  virtual bool fontItalic() const = 0;

  virtual void setScaleUnit(ScaleUnit unit) = 0;
  virtual ScaleUnit scaleUnit() const = 0;
  // CurrentX: the horizontal position of the next output, in the scale unit, from the left edge
  // of the printable area.
  virtual void setCurrentX(double x) = 0;
  virtual double currentX() = 0;
  // CurrentY: the top of the next line, in the scale unit, from the top of the printable area.
  virtual double currentY() = 0;

  // Prints the items at the current position. With `end_line` the position then goes to the
  // start of the next line (on a new page when the page is full); otherwise it stays after the
  // last item. Control characters (a form feed, for one) draw nothing.
  virtual bool print(const std::vector<PrintItem>& items, bool end_line = true) = 0;
  bool printLine(std::string_view text) { return print({PrintItem{std::string(text)}}); }

  virtual bool newPage() = 0;
  // Sends the document to the printer.
  virtual bool endDoc() = 0;
  // Drops the document (nothing more of it is printed).
  virtual void killDoc() = 0;

  // For the graph control: the painter of the current page (the document begins if it has not)
  // and the printable area in its coordinates; nullptr when the printer cannot print.
  virtual QPainter* painter() = 0;
  virtual QRectF drawingArea() = 0;
  // The printable area in the scale unit: left and top 0, its width and height.
  virtual QRectF scaleArea() = 0;
};

// The Qt printer (QPrinter).
std::unique_ptr<Printer> make_qt_printer();

// A printer on which every document fails, as on a system without any printer: what a program
// that was given none prints on.
Printer& no_printer();

// The installed face that prints a face name ("courier new" -> a metric-compatible monospaced
// face when Courier New itself is not installed).
std::string resolve_font_family(std::string_view name);

}  // namespace qtx
