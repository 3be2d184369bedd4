#include "platform/graph_control.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "platform/files.h"
#include "platform/text.h"
#include "support/live_rate_graph.h"

using namespace qtx;
using qtx::test::rate_graph;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void live_sample(GraphControl& g, double flow, double avg) {
  g.setThisSet(1);
  g.setGraphData(1, flow);
  g.setThisSet(2);
  g.setGraphData(1, avg);
  g.setDrawMode(GraphControl::kLiveSample);
}

// The log graph: flow, average flow and volume on the second axis against minutes.
void log_graph(GraphControl& g, int points) {
  g.setGraphTitle("Data Log Graph");
  g.setLeftTitle("Flow (ml/hr)");
  g.setBottomTitle("Time (minutes)");
  g.setYAxisMax(120);
  g.setYAxisMin(80);
  g.setNumSets(3);
  g.setLegendText(1, "Flow");
  g.setLegendText(2, "Avg Flow");
  g.setLegendText(3, "Volume");
  g.setNumPoints(points);
  for (int set = 1; set <= 2; ++set) {
    g.setThisSet(set);
    for (int i = 1; i <= points; ++i) {
      g.setGraphData(i, 100 + (set == 1 ? 10 * std::sin(i / 5.0) : 0.5));
      g.setXPosData(i, i / 6.0);
    }
  }
  g.setSecondAxis(2);
  g.setSecondAxisTitle("Volume (ml)");
  for (int i = 1; i <= points; ++i) g.setSecondAxisData(i, i * 0.27);
  g.setFirstVisiblePoint(1);
  g.setLastVisiblePoint(points);
  g.setXAxisMin(0);
  g.setXAxisMax(10);
  g.setDrawMode(GraphControl::kDraw);
}

QImage picture(const GraphControl& g, QSize size = {400, 300}) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  g.render(p, QRectF(0, 0, size.width(), size.height()));
  return image;
}

int pixels_not_white(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
  return n;
}

// Pixels of a set's colour: blue (set 1), red (set 2) or green (set 3), antialiased shades
// included.
enum Tint { kBlue, kRed, kGreen };
int pixels_like(const QImage& image, Tint tint) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      const int r = p.red(), g = p.green(), b = p.blue();
      n += tint == kBlue  ? b > r + 50 && b > g + 50
           : tint == kRed ? r > g + 50 && r > b + 50
                          : g > r + 40 && g > b + 40;
    }
  }
  return n;
}

struct Folder {
  QTemporaryDir dir;
  std::string path(const std::string& name) const { return fromQ(dir.path()) + "/" + name; }
};

// Reads a metafile with libwmf's converter; the SVG text, or nothing when it fails. The
// converter measures texts with the standard PostScript fonts; where those are not installed,
// a TrueType font of the system stands in for them under their file names.
std::optional<QString> wmf_to_svg(const std::string& wmf, const std::string& svg) {
  const QString fonts = QFileInfo(toQ(svg)).absolutePath() + QStringLiteral("/wmf-fonts");
  QDir().mkpath(fonts);
  QDirIterator ttf(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                   QDirIterator::Subdirectories);
  const QString font = ttf.hasNext() ? ttf.next() : QString();
  for (const char* family : {"NimbusSans", "NimbusRoman", "NimbusMonoPS"}) {
    for (const char* style : {"Regular", "Bold", "Italic", "BoldItalic"}) {
      QFile::link(font, QStringLiteral("%1/%2-%3.t1").arg(fonts, QLatin1String(family), QLatin1String(style)));
    }
  }
  QProcess p;
  p.start(QStringLiteral("wmf2svg"),
          {QStringLiteral("--wmf-fontdir=") + fonts, QStringLiteral("-o"), toQ(svg), toQ(wmf)});
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
  const QByteArray errors = p.readAllStandardError();
  if (!errors.isEmpty()) return std::nullopt;
  std::optional<std::string> text = files::read_all(svg);
  if (!text) return std::nullopt;
  return QString::fromStdString(*text);
}

}  // namespace

TEST(GraphControl, LiveSamplesExtendTheTraceAndTheRangeReadsBackAsSet) {
  GraphControl g;
  rate_graph(g);
  for (int i = 0; i < 60; ++i) live_sample(g, 100 + i % 7, 100.5);
  ASSERT_EQ(g.trace(1).size(), 60u);
  ASSERT_EQ(g.trace(2).size(), 60u);
  EXPECT_EQ(g.trace(1)[59], 100 + 59 % 7);
  EXPECT_EQ(g.trace(2)[0], 100.5);
  EXPECT_EQ(g.yAxisMax(), 150);
  EXPECT_EQ(g.yAxisMin(), 50);
  EXPECT_EQ(g.xAxisMax(), 50.0f);  // scrolling moves the view, not the range the window set

  // Both traces are on the picture once it has scrolled past the axis.
  const QImage live = picture(g);
  EXPECT_GT(pixels_like(live, kBlue), 100);
  EXPECT_GT(pixels_like(live, kRed), 100);

  g.setDrawMode(GraphControl::kClear);
  EXPECT_TRUE(g.trace(1).empty());
  EXPECT_LT(pixels_like(picture(g), kRed), 40);  // only the legend sample is left
}

TEST(GraphControl, DrawsWithoutDataAfterClearAndTheSamePictureTwice) {
  GraphControl fresh;
  const QImage empty = picture(fresh);
  EXPECT_GT(pixels_not_white(empty), 100);  // axes and numbers
  EXPECT_EQ(empty, picture(fresh));
  fresh.setDrawMode(GraphControl::kDraw);
  EXPECT_GT(pixels_not_white(picture(fresh)), 100);

  GraphControl g;
  log_graph(g, 300);
  const QImage drawn = picture(g);
  EXPECT_EQ(drawn, picture(g));
  EXPECT_GT(pixels_like(drawn, kBlue), 200);   // flow
  EXPECT_GT(pixels_like(drawn, kGreen), 100);  // volume on the second axis

  // Flow off: a single blank label hides set 1.
  g.setLegendText(1, " ");
  g.setDrawMode(GraphControl::kRedraw);
  EXPECT_LT(pixels_like(picture(g), kBlue), 20);

  g.setDrawMode(GraphControl::kClear);
  EXPECT_NE(picture(g), drawn);
  EXPECT_LT(pixels_like(picture(g), kRed), 40);
}

TEST(GraphControl, WritesBitmapJpegAndGifImages) {
  Folder f;
  GraphControl g;
  log_graph(g, 200);
  for (const char* name : {"graph.bmp", "graph.JPG", "graph.bmpx"}) {
    g.setImageFile(f.path(name));
    g.setDrawMode(GraphControl::kWriteImage);
    ASSERT_TRUE(g.lastOutputOk()) << name;
    QImageReader reader(toQ(f.path(name)));
    EXPECT_EQ(reader.format(), std::string(name).find("JPG") != std::string::npos ? "jpeg" : "bmp") << name;
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), QSize(640, 480)) << name;
    EXPECT_GT(pixels_like(image, kBlue), 200) << name;
  }

  // The kind can be given whatever the suffix.
  g.setImageFile(f.path("graph.dat"));
  g.setImageKind(GraphControl::imageKindForSuffix("jpg"));
  g.setDrawMode(GraphControl::kWriteImage);
  ASSERT_TRUE(g.lastOutputOk());
  EXPECT_EQ(QImageReader(toQ(f.path("graph.dat"))).format(), "jpeg");

  g.setImageKind(GraphControl::ImageKind::FromName);
  g.setImageSize({300, 200});
  g.setImageFile(f.path("graph.gif"));
  g.setDrawMode(GraphControl::kWriteImage);
  ASSERT_TRUE(g.lastOutputOk());
  int error = 0;
  GifFileType* gif = DGifOpenFileName(f.path("graph.gif").c_str(), &error);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 300);
  EXPECT_EQ(gif->SHeight, 200);
  ASSERT_EQ(gif->ImageCount, 1);
  const ColorMapObject* map = gif->SColorMap;
  ASSERT_NE(map, nullptr);
  int blue = 0;
  const GifByteType* raster = gif->SavedImages[0].RasterBits;
  for (int i = 0; i < 300 * 200; ++i) {
    const GifColorType c = map->Colors[raster[i]];
    blue += c.Blue > c.Red + 50 && c.Blue > c.Green + 50;
  }
  EXPECT_GT(blue, 200);  // the flow line
  DGifCloseFile(gif, &error);
}

TEST(GraphControl, WritesAMetafileThatAWmfReaderReads) {
  Folder f;
  GraphControl g;
  log_graph(g, 100);
  g.setImageFile(f.path("graph.wmf"));
  g.setDrawMode(GraphControl::kWriteImage);
  ASSERT_TRUE(g.lastOutputOk());
  const std::string bytes = *files::read_all(f.path("graph.wmf"));
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));  // placeable
  const std::optional<QString> svg = wmf_to_svg(f.path("graph.wmf"), f.path("graph.svg"));
  ASSERT_TRUE(svg);
  for (const char* text : {"Data Log Graph", "Flow (ml/hr)", "Time (minutes)", "Volume (ml)", "Avg Flow", "120"}) {
    EXPECT_TRUE(svg->contains(QLatin1String(text))) << text;
  }
  EXPECT_TRUE(svg->contains(QLatin1String("polyline")));
}

TEST(GraphControl, BadValuesAndLabelsDrawEverywhere) {
  Folder f;
  GraphControl g;
  log_graph(g, 50);
  g.setThisSet(1);
  g.setGraphData(3, kNaN);
  g.setGraphData(4, kInf);
  g.setGraphData(5, -1e300);
  g.setXPosData(6, kNaN);
  g.setThisSet(2);
  g.setGraphData(7, 1e308);
  g.setSecondAxisData(8, -kInf);
  g.setSecondAxisData(9, 1e300);
  g.setLegendText(2, "");
  g.setLegendText(3, std::string(300, 'V'));
  g.setGraphTitle(std::string(300, 'T'));
  g.setLeftTitle("");
  g.setYAxisMax(kNaN);
  g.setYAxisMin(kInf);
  g.setXAxisMax(1e300);
  g.setDrawMode(GraphControl::kRedraw);
  EXPECT_GT(pixels_not_white(picture(g)), 100);
  EXPECT_GT(pixels_not_white(picture(g, {30, 20})), 0);  // too small for a plot: only the title

  QImage page(800, 600, QImage::Format_RGB32);
  QPainter painter(&page);
  g.setPrintPlacement(&painter, QRectF(50, 200, 700, 380));
  g.setPrintOption(1);
  g.setDrawMode(GraphControl::kPrint);
  EXPECT_TRUE(g.lastOutputOk());
  painter.end();

  for (const char* name : {"bad.bmp", "bad.jpg", "bad.gif", "bad.wmf"}) {
    g.setImageFile(f.path(name));
    g.setDrawMode(GraphControl::kWriteImage);
    EXPECT_TRUE(g.lastOutputOk()) << name;
  }
  const std::optional<QString> svg = wmf_to_svg(f.path("bad.wmf"), f.path("bad.svg"));
  ASSERT_TRUE(svg);
  EXPECT_TRUE(svg->contains(QLatin1String("Volume (ml)")));

  // Live samples that are not numbers.
  GraphControl live;
  rate_graph(live);
  live_sample(live, kNaN, kInf);
  live_sample(live, 1e300, -1e300);
  live_sample(live, 100, 100);
  EXPECT_GT(pixels_not_white(picture(live)), 100);
}

TEST(GraphControl, OutputThatCannotBeMadeIsReported) {
  Folder f;
  GraphControl g;
  rate_graph(g);
  for (const std::string& name :
       {f.path("no-such-folder/graph.bmp"), fromQ(f.dir.path()), f.path("graph"), f.path("graph.png"), std::string()}) {
    g.setImageFile(name);
    g.setDrawMode(GraphControl::kWriteImage);
    EXPECT_FALSE(g.lastOutputOk()) << name;
  }
  g.setImageFile(f.path("ok.wmf"));
  g.setDrawMode(GraphControl::kWriteImage);
  EXPECT_TRUE(g.lastOutputOk());

  g.setPrintPlacement(nullptr, QRectF(0, 0, 100, 100));
  g.setDrawMode(GraphControl::kPrint);
  EXPECT_FALSE(g.lastOutputOk());
}

TEST(GraphControl, AssistiveTechnologyFindsItByItsControlName) {
  GraphControl g;
  g.setObjectName(QStringLiteral("RTGraph"));
  EXPECT_EQ(g.accessibleName(), QStringLiteral("RTGraph"));
}
