// A paint device that records what a QPainter draws as a placeable Windows metafile: lines,
// polylines, polygons and rectangles with their pens and brushes, and texts with their font
// (face, height, weight, italic, rotation) and colour. Images are not recorded. Coordinates are
// those of the device (its width and height in units of 1/dpi inch), limited to the metafile's
// 16-bit range.
#pragma once

#include <QPaintDevice>
#include <memory>
#include <string>

namespace qtx {

class WmfPaintEngine;

class WmfDevice : public QPaintDevice {
 public:
  WmfDevice(int width, int height, int dpi = 96);
  ~WmfDevice() override;
  WmfDevice(const WmfDevice&) = delete;
  WmfDevice& operator=(const WmfDevice&) = delete;

  QPaintEngine* paintEngine() const override;
  // The whole metafile, complete once the painter has ended.
  std::string bytes() const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  int width_, height_, dpi_;
  std::unique_ptr<WmfPaintEngine> engine_;
};

}  // namespace qtx
