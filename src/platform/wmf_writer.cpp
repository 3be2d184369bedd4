#include "platform/wmf_writer.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qtx {

namespace {

// Record functions of the metafile.
enum : uint16_t {
  kEof = 0x0000,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetPolyFillMode = 0x0106,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDeleteObject = 0x01F0,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kRectangle = 0x041B,
  kTextOut = 0x0521,
};
constexpr uint16_t kTransparent = 1;
constexpr uint16_t kAnisotropic = 8;
constexpr uint16_t kTaBaseline = 24;
constexpr uint16_t kAlternate = 1, kWinding = 2;
constexpr uint16_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4, kPsNull = 5;
constexpr uint16_t kBsSolid = 0, kBsNull = 1;
constexpr int kMaxPointsPerRecord = 16000;

uint16_t s16(double v) {
  if (!std::isfinite(v)) v = 0;
  const long r = std::lround(std::clamp(v, -32768.0, 32767.0));
  return static_cast<uint16_t>(static_cast<int16_t>(r));
}

uint32_t colorref(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

void put32(std::vector<uint16_t>& w, uint32_t v) {
  w.push_back(static_cast<uint16_t>(v & 0xFFFF));
  w.push_back(static_cast<uint16_t>(v >> 16));
}

// Bytes packed two to a word, low byte first, padded with a zero byte to a whole word.
void put_bytes(std::vector<uint16_t>& w, const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); i += 2) {
    const auto lo = static_cast<uint8_t>(bytes[i]);
    const auto hi = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[i + 1]) : uint8_t{0};
    w.push_back(static_cast<uint16_t>(lo | hi << 8));
  }
}

}  // namespace

class WmfPaintEngine : public QPaintEngine {
 public:
  WmfPaintEngine(int width, int height, int dpi)
      : QPaintEngine(QPaintEngine::AllFeatures), width_(width), height_(height), dpi_(dpi) {}

  bool begin(QPaintDevice*) override {
    records_.clear();
    slots_.clear();
    max_objects_ = 0;
    max_record_ = 0;
    pen_obj_ = brush_obj_ = font_obj_ = -1;
    pen_key_.clear();
    brush_key_.clear();
    font_key_.clear();
    text_colour_ = 0xFFFFFFFF;
    fill_mode_ = 0;
    record(kSetMapMode, {kAnisotropic});
    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt, {s16(height_), s16(width_)});
    record(kSetBkMode, {kTransparent});
    record(kSetTextAlign, {kTaBaseline});
    return true;
  }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }

  void updateState(const QPaintEngineState& state) override {
    const QPaintEngine::DirtyFlags flags = state.state();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & DirtyTransform) transform_ = state.transform();
  }

  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      QPolygonF line;
      line << transform_.map(lines[i].p1()) << transform_.map(lines[i].p2());
      polyline(line);
    }
  }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    QPolygonF device;
    device.reserve(count);
    for (int i = 0; i < count; ++i) device << transform_.map(points[i]);
    if (mode == PolylineMode) {
      polyline(device);
    } else {
      polygon(device, mode == WindingMode ? kWinding : kAlternate);
    }
  }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      if (transform_.type() <= QTransform::TxScale) {
        const QRectF r = transform_.mapRect(rects[i]).normalized();
        select_pen();
        select_brush();
        record(kRectangle, {s16(r.bottom()), s16(r.right()), s16(r.top()), s16(r.left())});
      } else {
        polygon(transform_.map(QPolygonF(rects[i])), kAlternate);
      }
    }
  }

  void drawPath(const QPainterPath& path) override {
    if (brush_.style() != Qt::NoBrush) {
      const uint16_t mode = path.fillRule() == Qt::WindingFill ? kWinding : kAlternate;
      for (const QPolygonF& p : path.toFillPolygons(transform_)) polygon(p, mode);
    } else {
      for (const QPolygonF& p : path.toSubpathPolygons(transform_)) polyline(p);
    }
  }

  void drawTextItem(const QPointF& at, const QTextItem& item) override {
    // Latin-1 texts as they are; the ellipsis of a shortened text is the Windows code page's.
    QByteArray text;
    for (QChar c : item.text())
      text.append(c.unicode() < 256 ? static_cast<char>(c.unicode()) : c.unicode() == 0x2026 ? '\x85' : '?');
    if (text.isEmpty()) return;
    const QFont font = item.font();
    const double scale = std::sqrt(std::fabs(transform_.determinant()));
    const double size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi_ / 72.0;
    const double angle = std::atan2(-transform_.m12(), transform_.m11()) * 1800.0 / M_PI;
    select_font(font, -size * scale, angle);
    const uint32_t colour = colorref(pen_.color());
    if (colour != text_colour_) {
      std::vector<uint16_t> p;
      put32(p, colour);
      record(kSetTextColor, p);
      text_colour_ = colour;
    }
    const QPointF d = transform_.map(at);
    std::vector<uint16_t> p{static_cast<uint16_t>(text.size())};
    put_bytes(p, text);
    p.push_back(s16(d.y()));
    p.push_back(s16(d.x()));
    record(kTextOut, p);
  }

  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

  std::string bytes() const {
    std::vector<uint16_t> out;
    // Placeable header: key, handle, bounds, units per inch, reserved, checksum.
    put32(out, 0x9AC6CDD7);
    out.push_back(0);
    out.push_back(0);
    out.push_back(0);
    out.push_back(s16(width_));
    out.push_back(s16(height_));
    out.push_back(static_cast<uint16_t>(dpi_));
    put32(out, 0);
    uint16_t sum = 0;
    for (uint16_t w : out) sum ^= w;
    out.push_back(sum);
    // Metafile header: in memory, 9 words, version 3.0, total size, objects, largest record.
    const uint32_t total = 9 + static_cast<uint32_t>(records_.size()) + 3;
    out.push_back(1);
    out.push_back(9);
    out.push_back(0x0300);
    put32(out, total);
    out.push_back(static_cast<uint16_t>(std::max(max_objects_, 1)));
    put32(out, std::max<uint32_t>(max_record_, 3));
    out.push_back(0);
    out.insert(out.end(), records_.begin(), records_.end());
    put32(out, 3);
    out.push_back(kEof);
    std::string bytes;
    bytes.reserve(out.size() * 2);
    for (uint16_t w : out) {
      bytes.push_back(static_cast<char>(w & 0xFF));
      bytes.push_back(static_cast<char>(w >> 8));
    }
    return bytes;
  }

 private:
  void record(uint16_t function, const std::vector<uint16_t>& params) {
    const uint32_t size = 3 + static_cast<uint32_t>(params.size());
    put32(records_, size);
    records_.push_back(function);
    records_.insert(records_.end(), params.begin(), params.end());
    max_record_ = std::max(max_record_, size);
  }

  // Objects take the lowest free slot of the metafile's object table.
  int create(uint16_t function, const std::vector<uint16_t>& params) {
    record(function, params);
    auto free_slot = std::find(slots_.begin(), slots_.end(), false);
    const int slot = static_cast<int>(free_slot - slots_.begin());
    if (free_slot == slots_.end()) {
      slots_.push_back(true);
    } else {
      *free_slot = true;
    }
    max_objects_ = std::max(max_objects_, static_cast<int>(slots_.size()));
    return slot;
  }
  void replace(int& current, int fresh) {
    record(kSelectObject, {static_cast<uint16_t>(fresh)});
    if (current >= 0) {
      record(kDeleteObject, {static_cast<uint16_t>(current)});
      slots_[static_cast<size_t>(current)] = false;
    }
    current = fresh;
  }

  void select_pen() {
    uint16_t style = kPsSolid;
    switch (pen_.style()) {
      case Qt::NoPen:
        style = kPsNull;
        break;
      case Qt::DashLine:
        style = kPsDash;
        break;
      case Qt::DotLine:
        style = kPsDot;
        break;
      case Qt::DashDotLine:
        style = kPsDashDot;
        break;
      case Qt::DashDotDotLine:
        style = kPsDashDotDot;
        break;
      default:
        break;
    }
    const double scale = std::sqrt(std::fabs(transform_.determinant()));
    const double width = pen_.isCosmetic() ? 1.0 : std::max(1.0, pen_.widthF() * scale);
    std::vector<uint16_t> p{style, s16(width), 0};
    put32(p, colorref(pen_.color()));
    if (p == pen_key_) return;
    pen_key_ = p;
    replace(pen_obj_, create(kCreatePenIndirect, p));
  }

  void select_brush() {
    const bool none = brush_.style() == Qt::NoBrush;
    std::vector<uint16_t> p{none ? kBsNull : kBsSolid};
    put32(p, none ? 0 : colorref(brush_.color()));
    p.push_back(0);
    if (p == brush_key_) return;
    brush_key_ = p;
    replace(brush_obj_, create(kCreateBrushIndirect, p));
  }

  void select_font(const QFont& font, double height, double angle) {
    std::vector<uint16_t> p{s16(height), 0, s16(angle), s16(angle),
                            s16(std::clamp(static_cast<int>(font.weight()), 100, 900))};
    p.push_back(font.italic() ? 1 : 0);  // italic, not underlined
    p.push_back(0);                      // not struck out, ANSI characters
    p.push_back(0);                      // default precisions
    p.push_back(0);                      // default quality, pitch and family
    QByteArray face = font.family().toLatin1().left(31);
    face.append('\0');
    put_bytes(p, face);
    if (p == font_key_) return;
    font_key_ = p;
    replace(font_obj_, create(kCreateFontIndirect, p));
  }

  void points(std::vector<uint16_t>& p, const QPolygonF& poly, qsizetype from, qsizetype to) {
    p.push_back(static_cast<uint16_t>(to - from));
    for (qsizetype i = from; i < to; ++i) {
      p.push_back(s16(poly[i].x()));
      p.push_back(s16(poly[i].y()));
    }
  }

  void polyline(const QPolygonF& line) {
    if (line.size() < 2) return;
    select_pen();
    // Long lines go out in pieces that share their end points.
    for (qsizetype from = 0; from + 1 < line.size(); from += kMaxPointsPerRecord - 1) {
      const qsizetype to = std::min<qsizetype>(line.size(), from + kMaxPointsPerRecord);
      std::vector<uint16_t> p;
      points(p, line, from, to);
      record(kPolyline, p);
    }
  }

  void polygon(const QPolygonF& poly, uint16_t fill_mode) {
    if (poly.size() < 2) return;
    select_pen();
    select_brush();
    if (fill_mode != fill_mode_) {
      record(kSetPolyFillMode, {fill_mode});
      fill_mode_ = fill_mode;
    }
    std::vector<uint16_t> p;
    points(p, poly, 0, std::min<qsizetype>(poly.size(), kMaxPointsPerRecord));
    record(kPolygon, p);
  }

  int width_, height_, dpi_;
  QPen pen_;
  QBrush brush_;
  QTransform transform_;
  std::vector<uint16_t> records_;
  std::vector<bool> slots_;
  int max_objects_ = 0;
  uint32_t max_record_ = 0;
  int pen_obj_ = -1, brush_obj_ = -1, font_obj_ = -1;
  std::vector<uint16_t> pen_key_, brush_key_, font_key_;
  uint32_t text_colour_ = 0xFFFFFFFF;
  uint16_t fill_mode_ = 0;
};

WmfDevice::WmfDevice(int width, int height, int dpi)
    : width_(std::clamp(width, 1, 32767)),
      height_(std::clamp(height, 1, 32767)),
      dpi_(std::clamp(dpi, 1, 32767)),
      engine_(std::make_unique<WmfPaintEngine>(width_, height_, dpi_)) {}

WmfDevice::~WmfDevice() = default;

QPaintEngine* WmfDevice::paintEngine() const { return engine_.get(); }

std::string WmfDevice::bytes() const { return engine_->bytes(); }

int WmfDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth:
      return width_;
    case PdmHeight:
      return height_;
    case PdmWidthMM:
      return static_cast<int>(std::lround(width_ * 25.4 / dpi_));
    case PdmHeightMM:
      return static_cast<int>(std::lround(height_ * 25.4 / dpi_));
    case PdmNumColors:
      return 0xFFFFFF;
    case PdmDepth:
      return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return dpi_;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
    default:
      return QPaintDevice::metric(metric);
  }
}

}  // namespace qtx
