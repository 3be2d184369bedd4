// The printed pages and image files of the log graph and the trumpet window.
#include <gtest/gtest.h>

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <sstream>

#include "graphs/frmGraph.h"
#include "graphs/frmTrumpSet.h"
#include "graphs/frmTrumpetGraph.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/text.h"
#include "shell/frmMain.h"
#include "support/main_window.h"
#include "support/rate_log_files.h"
#include "support/rate_logs.h"
#include "support/test_app.h"

using namespace qtx;
using namespace qtx::test;

namespace {

const char* const kDate = "Tuesday, Dec 8 2026";  // the fake clock's day

// A printed line as "size [B][I] x text".
std::string describe(const RecordingPrinter::Line& l) {
  std::ostringstream o;
  o << l.size << " " << (l.bold ? "B" : "") << (l.italic ? "I" : "") << (l.bold || l.italic ? " " : "") << l.x << " "
    << l.text;
  return o.str();
}
std::vector<std::string> page(const RecordingPrinter& p) {
  std::vector<std::string> out;
  for (const auto& l : p.documents.back().pages.at(0)) out.push_back(describe(l));
  return out;
}

// Pixels that are not white in rows [from, to) of the page.
int inked(const QImage& image, int from, int to) {
  int n = 0;
  for (int y = from; y < std::min(to, image.height()); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
  return n;
}

// The log graph window with a log of 12 samples open; the trumpet window on request.
struct GraphOutput : ::testing::Test {
  TestApp t;
  Session& s = t.session();
  frmGraph* g = nullptr;
  void SetUp() override {
    load_main_without_ports(t);
    t.forms().get<frmMain>().mnuGraphLog->trigger();
    g = t.forms().loaded<frmGraph>();
    auto rows = steady_rows(12, 5);
    rows[10].avg_flow = 99.8765;
    ASSERT_TRUE(files::write_all(t.path("Pump.LOG"), rate_log_text(rows)));
    t.ui.answerOpen(t.path("Pump.LOG"));
    g->mnuOpen->trigger();
  }
  frmTrumpetGraph* trumpet() {
    s.log_samples = flow_log({.minutes = 120}, [](double) { return 100.0; });
    s.base_rate = 100;
    t.ui.onModal("frmTrumpSet", [](FormBase& f) { dynamic_cast<frmTrumpSet&>(f).CmdOK->click(); });
    g->mnuTrumpetGraph_Click();
    processEvents();
    return t.forms().loaded<frmTrumpetGraph>();
  }
  void confirm() {
    t.ui.expectBox("Are you sure want to print the graph?", "PRINTING GRAPH", MsgAnswer::Yes, MsgIcon::Question,
                   MsgButtons::YesNo);
  }
  void expect_print_error() {
    t.ui.expectBox("Error Printing, please refer to your Windows Manual", "ERROR", MsgAnswer::OK, MsgIcon::Critical);
  }
  // The log's path as it stands: letter case tells files apart.
  std::string log_path() const { return t.path("Pump.LOG"); }
};

}  // namespace

TEST_F(GraphOutput, LogGraphPageLandscapeAndPortrait) {
  confirm();
  g->mnuPrintGraph_Click();
  t.ui.verify();
  ASSERT_EQ(t.printer.documents.size(), 1u);
  EXPECT_TRUE(t.printer.documents[0].ended);
  EXPECT_EQ(t.printer.documents[0].pages.size(), 1u);
  const std::vector<std::string> expected = {
      "10 0 ",
      "10 0 ",
      std::string("12 0.5 Korvane Systems Inc.|||") + kDate,
      "12 0 ",
      "18 B 0.5 Data Log Graph",
      "18 0 ",
      "12 0.5 Average flow rate:  99.88 ml/hr  |Total time:  1 mins",
      "12 0.5 Maximum flow rate:  100.00 ml/hr |Number of Points:  12",
      "12 0.5 Minimum flow rate:  100.00 ml/hr ",
      "12 0.5 File name:  " + log_path(),
      "12 0 ",
  };
  EXPECT_EQ(page(t.printer), expected);
  for (const auto& l : t.printer.documents[0].pages[0]) EXPECT_EQ(l.font, "courier new");
  EXPECT_EQ(t.printer.scaleUnit(), ScaleUnit::Inches);
  // The graph below the text (about 2.3 inches of it), in the page's measures.
  EXPECT_EQ(inked(t.printer.canvas, 0, 54), 0);
  EXPECT_GT(inked(t.printer.canvas, 60, t.printer.canvas.height()), 500);
  EXPECT_EQ(g->DGraph->printInfo(3), 3);
  EXPECT_EQ(g->DGraph->printInfo(4), 9);
  EXPECT_EQ(g->DGraph->printInfo(8), 10);
  EXPECT_EQ(g->DGraph->printInfo(9), 8);  // 7.5 inches, rounded to even

  t.printer.setOrientation(PrinterOrientation::Portrait);
  t.printer.keeps_portrait = true;
  confirm();
  g->mnuPrintGraph->trigger();
  EXPECT_EQ(page(t.printer)[2], std::string("12 0.5 Korvane Systems Inc.||") + kDate);
  EXPECT_EQ(page(t.printer).size(), expected.size());
  EXPECT_EQ(g->DGraph->printInfo(4), 6);
  EXPECT_EQ(g->DGraph->printInfo(8), 8);  // 7.5 wide
}

TEST_F(GraphOutput, CancelAndFailuresOfThePrintedPage) {
  t.ui.expectBox("Are you sure want to print the graph?", "PRINTING GRAPH", MsgAnswer::No);
  t.ui.expectBox("Printing graph cancelled", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation);
  g->mnuPrintGraph_Click();
  EXPECT_TRUE(t.printer.documents.empty());

  // A printer failing at the title: nothing more is printed, the page is dropped, and the next
  // page has its title in bold again.
  t.printer.fail_from_print = 4;
  confirm();
  expect_print_error();
  g->mnuPrintGraph_Click();
  t.ui.verify();
  EXPECT_EQ(t.printer.prints, 5);
  EXPECT_TRUE(t.printer.sentPages().empty());
  t.printer.fail_from_print = -1;
  confirm();
  g->mnuPrintGraph_Click();
  EXPECT_EQ(page(t.printer)[4], "18 B 0.5 Data Log Graph");
  EXPECT_FALSE(t.printer.fontBold());

  // A page the graph cannot be drawn on.
  t.printer.fail_from_print = -1;
  t.printer.no_painter = true;
  confirm();
  expect_print_error();
  frmTrumpetGraph* w = trumpet();
  ASSERT_NE(w, nullptr);
  w->cmdPrint_Click();
  t.ui.verify();
  EXPECT_FALSE(t.printer.documents.back().ended);
  EXPECT_EQ(t.printer.sentPages().size(), 1u);  // the log graph's page before it
}

TEST_F(GraphOutput, TrumpetPageWithAndWithoutTheWarning) {
  frmTrumpetGraph* w = trumpet();
  ASSERT_NE(w, nullptr);
  for (bool warning : {false, true}) {
    w->work.too_few_points = warning;
    confirm();
    w->cmdPrint->click();
    const std::vector<std::string> lines = page(t.printer);
    ASSERT_EQ(lines.size(), warning ? 21u : 19u);
    EXPECT_EQ(lines[5], "16 B 0.5 Trumpet Graph");
    EXPECT_EQ(lines[10], "12 0.5 Analysis Period:  60 min -  From 30 to 90 min");
    if (warning) {
      EXPECT_EQ(lines[12], "10 I 0.65 Warning: The data used to generate this graph had an insufficient ");
      EXPECT_EQ(lines[13], "10 I 0.65 number of data points to be an accurate representation");
    }
    EXPECT_EQ(lines[warning ? 14 : 12], "12 0.5 File name:  " + log_path());
    EXPECT_EQ(w->TGraph->printInfo(3), 4);
    EXPECT_GT(inked(t.printer.canvas, 0, t.printer.canvas.height()), 500);
  }
  EXPECT_FALSE(t.printer.fontItalic() || t.printer.fontBold());
}

// The pages on the Qt printer into a PDF file, read back by poppler's tools.
TEST_F(GraphOutput, PagesPrintIntoALandscapePdf) {
  std::unique_ptr<Printer> qt = make_qt_printer();
  t.app().setPrinter(*qt);
  auto run = [](const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    // Runs of blanks as one: the PDF keeps the columns, not the blanks.
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
  };
  const std::string pdf = t.path("page.pdf");
  ::setenv("QTX_PRINT_PDF", pdf.c_str(), 1);
  confirm();
  g->mnuPrintGraph_Click();
  QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), toQ(pdf), QStringLiteral("-")});
  for (const std::string& expected :
       {std::string("Korvane Systems Inc."), std::string(kDate), std::string("Data Log Graph"),
        std::string("Average flow rate:  99.88 ml/hr"), std::string("Number of Points:  12"),
        "File name:  " + log_path(), std::string("Time (minutes)")})
    EXPECT_TRUE(text.contains(toQ(expected).simplified())) << expected << "\n" << fromQ(text);
  // The printed graph of a plotted log carries no prompt to open one.
  EXPECT_FALSE(text.contains(QStringLiteral("for display"))) << fromQ(text);
  const QString info = run(QStringLiteral("pdfinfo"), {toQ(pdf)});
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
  ASSERT_TRUE(size.hasMatch()) << fromQ(info);
  EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));

  frmTrumpetGraph* w = trumpet();
  ASSERT_NE(w, nullptr);
  confirm();
  w->cmdPrint_Click();
  text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), toQ(pdf), QStringLiteral("-")});
  for (const char* expected : {"Trumpet Graph", "Base Rate:  100 ml/hr", "Observation Period:", "ml/hr       %",
                               "Data Interpolation Interval: 60sec", "Error(%)"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(expected).simplified())) << expected << "\n" << fromQ(text);
  ::unsetenv("QTX_PRINT_PDF");
  t.app().setPrinter(t.printer);
}

TEST_F(GraphOutput, ImagesBySuffixAndTheCancelRoads) {
  const std::string saved = s.folders.save_dir;
  t.ui.answerSave("");
  t.ui.expectBox("Image conversion cancelled", "CANCEL", MsgAnswer::OK, MsgIcon::Exclamation);
  g->mnuBMP_Click();
  const CommonDialog& d = t.ui.save_dialogs.back();
  EXPECT_EQ(d.DialogTitle, "SAVE GRAPH AS AN IMAGE");
  EXPECT_EQ(d.Filter, "BMP - Bitmap (*.bmp)|*.bmp|WMF - Metafile (*.wmf)|*.wmf|JPG - JPEG (*.jpg)|*.jpg");
  EXPECT_EQ(d.DefaultExt, "BMP");
  EXPECT_EQ(d.Flags, 2062);
  EXPECT_EQ(d.InitDir, saved);
  EXPECT_EQ(s.file_name, "");

  QDir().mkpath(toQ(t.path("img")));
  QDir().mkpath(toQ(t.path("data.old")));
  for (const char* refused : {"img/graph.jpeg", "data.old/graph.bmp"}) {
    t.ui.answerSave(t.path(refused));
    t.ui.expectBox("Bad Graph File Name Suffix", "INVALID SUFFIX", MsgAnswer::OK, MsgIcon::Exclamation);
    g->mnuBMP_Click();
    EXPECT_FALSE(files::exists(t.path(refused))) << refused;
    EXPECT_EQ(t.settings().get("Startup", "savedir", ""), saved);
  }
  t.ui.verify();

  struct Case {
    const char* name;
    const char* starts;
  } cases[] = {{"img/graph.gif", "GIF8"},
               {"img/graph.bmpx", "BM"},
               {"img/graph.wmf", "\xD7\xCD\xC6\x9A"},
               {"img/graph.JPG", "\xFF\xD8"},
               {"graph.bmp", "BM"}};
  for (const Case& c : cases) {
    t.ui.answerSave(t.path(c.name));
    g->mnuBMP->trigger();
    const std::optional<std::string> bytes = files::read_all(t.path(c.name));
    ASSERT_TRUE(bytes) << c.name;
    EXPECT_EQ(bytes->substr(0, std::string_view(c.starts).size()), c.starts) << c.name;
  }
  EXPECT_EQ(QImageReader(toQ(t.path("img/graph.bmpx"))).read().size(), QSize(640, 480));
  // The metafile keeps the graph's texts: the axis titles, and no prompt to open a log.
  const std::string wmf = *files::read_all(t.path("img/graph.wmf"));
  EXPECT_NE(wmf.find("Time (minutes)"), std::string::npos);
  EXPECT_EQ(wmf.find("Open a file"), std::string::npos);
  EXPECT_EQ(t.settings().get("Startup", "savedir", ""), t.folder());
  EXPECT_EQ(s.folders.save_dir, t.folder());
}

TEST_F(GraphOutput, AFileThatCannotBeWrittenAsksForAnother) {
  QDir().mkpath(toQ(t.path("taken.bmp")));  // a folder: no file can be written there
  t.ui.answerSave(t.path("taken.bmp"));
  t.ui.expectBox("Error in graph file name", "INVALID FILE NAME", MsgAnswer::OK, MsgIcon::Exclamation);
  t.ui.answerSave(t.path("second.wmf"));
  g->mnuBMP_Click();
  t.ui.verify();
  ASSERT_EQ(t.ui.save_dialogs.size(), 2u);
  EXPECT_EQ(t.ui.save_dialogs[1].FileName, "");
  EXPECT_EQ(t.ui.save_dialogs[1].DialogTitle, "SAVE GRAPH AS AN IMAGE");
  EXPECT_EQ(files::read_all(t.path("second.wmf"))->substr(0, 4), "\xD7\xCD\xC6\x9A");

  // Cancelling the second dialog: silent for the log graph, told by the trumpet window.
  t.ui.answerSave(t.path("taken.bmp"));
  t.ui.expectBox("Error in graph file name", "INVALID FILE NAME");
  t.ui.answerSave("");
  g->mnuBMP_Click();
  t.ui.verify();
  EXPECT_EQ(s.file_name, "");

  frmTrumpetGraph* w = trumpet();
  ASSERT_NE(w, nullptr);
  t.ui.answerSave(t.path("trumpet.jpeg"));
  t.ui.expectBox("Bad Trumpet Graph File Name Suffix", "INVALID SUFFIX", MsgAnswer::OK, MsgIcon::Exclamation);
  w->cmdSave->click();
  t.ui.answerSave(t.path("taken.bmp"));
  t.ui.expectBox("Error in trumpet graph file name", "INVALID FILE NAME", MsgAnswer::OK, MsgIcon::Exclamation);
  t.ui.answerSave("");
  t.ui.expectBox("Trumpet graph save cancelled", "SAVE CANCELLED", MsgAnswer::OK, MsgIcon::Exclamation);
  w->cmdSave->click();
  t.ui.verify();
  t.ui.answerSave(t.path("trumpet.gif"));
  w->cmdSave_Click();
  EXPECT_EQ(files::read_all(t.path("trumpet.gif"))->substr(0, 4), "GIF8");
}
