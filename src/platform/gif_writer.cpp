#include "platform/gif_writer.h"

#include <gif_lib.h>

#include <QImage>
#include <vector>

namespace qtx {

namespace {

int append_bytes(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  return length;
}

}  // namespace

std::optional<std::string> encode_gif(const QImage& image) {
  if (image.isNull()) return std::nullopt;
  // Exact colours when the picture has no more than 256 of them, else the nearest of a fixed
  // colour cube, without dither noise.
  const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
  const QList<QRgb> table = indexed.colorTable();
  if (indexed.isNull() || table.isEmpty() || table.size() > 256) return std::nullopt;
  int bits = 1;
  while ((1 << bits) < table.size()) ++bits;

  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, append_bytes, &error);
  if (gif == nullptr) return std::nullopt;
  ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
  bool ok = map != nullptr;
  if (ok) {
    for (int i = 0; i < map->ColorCount; ++i) {
      const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
      map->Colors[i] = GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                                    static_cast<GifByteType>(qBlue(c))};
    }
    ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    GifFreeMapObject(map);
  }
  std::vector<GifPixelType> row(static_cast<size_t>(indexed.width()));
  for (int y = 0; ok && y < indexed.height(); ++y) {
    const uchar* line = indexed.constScanLine(y);
    row.assign(line, line + indexed.width());
    ok = EGifPutLine(gif, row.data(), indexed.width()) == GIF_OK;
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  if (!ok) return std::nullopt;
  return bytes;
}

}  // namespace qtx
