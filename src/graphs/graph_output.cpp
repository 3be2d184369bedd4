#include "graphs/graph_output.h"

#include <QDate>
#include <QLocale>

#include "common/global_save_open.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/graph_control.h"
#include "platform/printer.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace qtx::graph_output {

namespace {

using graph_printout::PageStep;

constexpr const char* kImageFilter =
    "BMP - Bitmap (*.bmp)|*.bmp"
    "|WMF - Metafile (*.wmf)|*.wmf"
    "|JPG - JPEG (*.jpg)|*.jpg";

bool landscape(Printer& printer) { return printer.orientation() == PrinterOrientation::Landscape; }

// The graph below the last printed line, over the page's whole width, and the end of the
// document. False when the graph cannot be drawn or the document cannot be sent.
bool place_graph(Printer& printer, GraphControl& graph, int32_t slot3) {
  printer.setScaleUnit(ScaleUnit::Inches);
  QPainter* painter = printer.painter();
  if (!painter) return false;
  const QRectF inches = printer.scaleArea();
  const graph_printout::PrintSlots placement = graph_printout::graph_print_slots(
      landscape(printer), inches.left(), inches.top(), inches.width(), inches.height(), slot3);
  for (int slot = 2; slot <= 11; ++slot) graph.setPrintInfo(slot, placement[static_cast<size_t>(slot)]);
  const QRectF page = printer.drawingArea();
  const double text = inches.height() > 0 ? printer.currentY() / inches.height() * page.height() : page.height();
  graph.setPrintPlacement(painter, QRectF(page.left(), page.top() + text, page.width(), page.height() - text));
  graph.setPrintOption(1);
  graph.setDrawMode(GraphControl::kPrint);
  return graph.lastOutputOk() && printer.endDoc();
}

bool print_page(Printer& printer, GraphControl& graph, const graph_printout::Page& page, int32_t slot3) {
  printer.setOrientation(PrinterOrientation::Landscape);
  if (!printer.setFontName("courier new")) return false;
  printer.setScaleUnit(ScaleUnit::Inches);  // the print positions are in inches
  double points = 12;
  for (const PageStep& step : page) {
    switch (step.kind) {
      case PageStep::kFontSize:
        points = step.value;
        printer.setFontSize(step.value);
        break;
      case PageStep::kFitSize:
        printer.setFontSize(graph_printout::fitted_points(step.value, points, printer.scaleArea().width()));
        break;
      case PageStep::kPrintX:
        printer.setCurrentX(step.value);
        break;
      case PageStep::kInvertBold:
        printer.setFontBold(!printer.fontBold());
        break;
      case PageStep::kInvertItalic:
        printer.setFontItalic(!printer.fontItalic());
        break;
      case PageStep::kPrint:
        if (!printer.print(step.items)) return false;
        break;
      case PageStep::kHeadLine:
        if (!printer.print(graph_printout::head_line(landscape(printer), step.text))) return false;
        break;
    }
  }
  return place_graph(printer, graph, slot3);
}

}  // namespace

std::string page_date(App& app) {
  const DateTime now = app.clock().now();
  return fromQ(QLocale::system().toString(QDate(now.year, now.month, now.day), QStringLiteral("dddd, MMM d yyyy")));
}

void print_graph_page(App& app, GraphControl& graph, const std::optional<graph_printout::Page>& page, int32_t slot3) {
  Ui& ui = app.ui();
  if (ui.msgbox("Are you sure want to print the graph?", MsgButtons::YesNo, MsgIcon::Question, "PRINTING GRAPH", 2) !=
      MsgAnswer::Yes) {
    ui.msgbox("Printing graph cancelled", MsgButtons::OK, MsgIcon::Exclamation, "CANCEL");
    return;
  }
  Printer& printer = app.printer();
  const bool bold = printer.fontBold(), italic = printer.fontItalic();
  if (page && print_page(printer, graph, *page, slot3)) return;
  // Nothing more of a failed page goes to the printer; a page broken off between its two
  // inversions leaves the next page's bold and italic as they were.
  printer.killDoc();
  printer.setFontBold(bold);
  printer.setFontItalic(italic);
  ui.msgbox("Error Printing, please refer to your Windows Manual", MsgButtons::OK, MsgIcon::Critical, "ERROR");
}

void save_graph_image(App& app, GraphControl& graph, const ImageSaveTexts& texts) {
  Session& s = app.session();
  Ui& ui = app.ui();
  CommonDialog& dialog = app.commonDialog();
  dialog.InitDir = s.folders.save_dir;
  dialog.DefaultExt = "BMP";
  dialog.DialogTitle = "SAVE GRAPH AS AN IMAGE";
  dialog.Filter = kImageFilter;
  dialog.FileName.clear();
  dialog.Flags = CommonDialog::kSaveFlags;
  ui.showSave(dialog);
  s.file_name = dialog.FileName;
  if (s.file_name.empty()) {
    ui.msgbox("Image conversion cancelled", MsgButtons::OK, MsgIcon::Exclamation, "CANCEL");
    return;
  }
  const std::string suffix = graph_printout::image_suffix(s.file_name);
  if (!graph_printout::image_suffix_accepted(suffix)) {
    ui.msgbox(texts.bad_suffix, MsgButtons::OK, MsgIcon::Exclamation, "INVALID SUFFIX");
    return;
  }
  GlobalSaveOpen::remember_save_dir(app, s.file_name);
  graph.setDrawMode(suffix == "WMF" ? GraphControl::kDraw : GraphControl::kRedraw);
  // Only the writing can fail; after a name that cannot be written the user names another
  // file, which is written instead.
  for (;;) {
    graph.setImageFile(s.file_name);
    // The file is of the kind the program accepted (a name ending in ".bmpx" is a bitmap); a
    // later name of no accepted suffix goes by its own.
    graph.setImageKind(GraphControl::imageKindForSuffix(graph_printout::image_suffix(s.file_name)));
    graph.setDrawMode(GraphControl::kWriteImage);
    if (graph.lastOutputOk()) return;
    ui.msgbox(texts.bad_file, MsgButtons::OK, MsgIcon::Exclamation, "INVALID FILE NAME");
    dialog.FileName.clear();
    ui.showSave(dialog);
    s.file_name = dialog.FileName;
    if (s.file_name.empty()) {
      if (texts.retry_cancelled)
        ui.msgbox(texts.retry_cancelled, MsgButtons::OK, MsgIcon::Exclamation, "SAVE CANCELLED");
      return;
    }
  }
}

}  // namespace qtx::graph_output
