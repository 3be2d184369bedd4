// GIF files from images: the picture reduced to a palette of at most 256 colours and written
// by giflib.
#pragma once

#include <optional>
#include <string>

class QImage;

namespace qtx {

// The GIF file's bytes; nothing when the image is empty or giflib fails.
std::optional<std::string> encode_gif(const QImage& image);

}  // namespace qtx
