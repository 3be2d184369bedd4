// The Qt printer into a PDF file (QTX_PRINT_PDF), read back with pdftotext.
#include "platform/printer.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "platform/app.h"
#include "platform/files.h"
#include "support/test_app.h"

using namespace qtx;

namespace {

std::string run(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out;
}

// pdftotext -layout of the file: pages separated by form feeds.
std::string pdf_text(const std::string& pdf) { return run("pdftotext -layout '" + pdf + "' - 2>/dev/null"); }

// The left edge of a word on the page, in points.
double word_x(const std::string& pdf, const std::string& word) {
  const std::string html = run("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
  const size_t w = html.find(">" + word + "</word>");
  if (w == std::string::npos) return -1;
  const size_t x = html.rfind("xMin=\"", w);
  return std::atof(html.c_str() + x + 6);
}

struct PdfPrinter {
  QTemporaryDir dir;
  std::string pdf = dir.filePath(QStringLiteral("out.pdf")).toStdString();
  PdfPrinter() { ::setenv("QTX_PRINT_PDF", pdf.c_str(), 1); }
  ~PdfPrinter() { ::unsetenv("QTX_PRINT_PDF"); }
};

}  // namespace

TEST(Printer, CourierNewResolvesToAMonospacedFace) {
  const std::string family = resolve_font_family("courier new");
  EXPECT_FALSE(family.empty());
  EXPECT_TRUE(QFontInfo(QFont(QString::fromStdString(family))).fixedPitch()) << family;
  EXPECT_EQ(resolve_font_family("Times New Roman").empty(), false);
}

TEST(Printer, PrintsLinesZonesAndPagesIntoThePdf) {
  PdfPrinter env;
  auto printer = make_qt_printer();
  printer->setOrientation(PrinterOrientation::Landscape);
  EXPECT_EQ(printer->orientation(), PrinterOrientation::Landscape);
  ASSERT_TRUE(printer->setFontName("courier new"));
  ASSERT_TRUE(printer->printLine("first page\f"));
  ASSERT_TRUE(printer->print({{"Zone1", true}, {"Zone2", false}}));
  printer->setScaleUnit(ScaleUnit::Inches);
  printer->setCurrentX(2.0);
  EXPECT_NEAR(printer->currentX(), 2.0, 1e-9);
  printer->setFontBold(true);
  ASSERT_TRUE(printer->printLine("indented"));
  ASSERT_TRUE(printer->newPage());
  ASSERT_NE(printer->painter(), nullptr);
  EXPECT_GT(printer->drawingArea().width(), printer->drawingArea().height());  // landscape
  ASSERT_TRUE(printer->printLine("second page"));
  ASSERT_TRUE(printer->endDoc());

  const std::string text = pdf_text(env.pdf);
  const size_t ff = text.find('\f');
  ASSERT_NE(ff, std::string::npos) << text;
  EXPECT_NE(text.substr(0, ff).find("first page"), std::string::npos);
  // The second item starts at the next zone of 14 characters (6 points each at 10 points), the
  // indented line 2 inches in.
  const double left = word_x(env.pdf, "Zone1");
  EXPECT_NEAR(word_x(env.pdf, "Zone2") - left, 14 * 6.0, 0.5);
  EXPECT_NEAR(word_x(env.pdf, "indented") - left, 144.0, 0.5);
  EXPECT_NE(text.substr(ff).find("second page"), std::string::npos);

  // A second document replaces the file.
  ASSERT_TRUE(printer->printLine("again"));
  ASSERT_TRUE(printer->endDoc());
  EXPECT_EQ(pdf_text(env.pdf).find("second page"), std::string::npos);
}

// A file name prints as the file system spells it, not as Latin-1 with "?" for the rest.
TEST(Printer, PrintsFileNamesAsTheyStand) {
  PdfPrinter env;
  auto printer = make_qt_printer();
  ASSERT_TRUE(printer->setFontName("courier new"));
  const std::string name = "/data/\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD1\x8B/caf\xC3\xA9.LOG";
  ASSERT_TRUE(printer->print({PrintItem{"File name:  caf\xE9 "}, path_item(name)}));
  ASSERT_TRUE(printer->endDoc());
  const std::string text = pdf_text(env.pdf);
  EXPECT_NE(text.find("caf\xC3\xA9 " + name), std::string::npos) << text;  // the Latin-1 text, then the name
}

TEST(Printer, WithoutAnyPrinterEveryDocumentFails) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
  ::unsetenv("QTX_PRINT_PDF");
  auto printer = make_qt_printer();
  EXPECT_FALSE(printer->printLine("x"));
  EXPECT_FALSE(printer->newPage());
  EXPECT_FALSE(printer->endDoc());
  printer->killDoc();
  EXPECT_EQ(printer->painter(), nullptr);
}

// A program given no printer prints on one where every document fails.
TEST(Printer, AProgramGivenNoPrinterFailsEveryDocument) {
  test::TestApp t;
  App bare(t.settings(), t.comm(), t.ui, t.clock);
  EXPECT_FALSE(bare.printer().setFontName("courier new"));
  EXPECT_FALSE(bare.printer().printLine("x"));
  EXPECT_FALSE(bare.printer().endDoc());
  EXPECT_EQ(bare.printer().painter(), nullptr);
}
