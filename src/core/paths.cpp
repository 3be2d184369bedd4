#include "core/paths.h"

namespace qtx {

std::string path_text(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  size_t i = 0;
  while (i < path.size()) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    bool whole = length > 0 && i + length <= path.size();
    for (size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(path[i + k]) >> 6) == 0x2;
    if (!whole) {
      out.push_back('?');
      ++i;
      continue;
    }
    unsigned long code = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(path[i + k]) & 0x3F);
    out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    i += length;
  }
  return out;
}

}  // namespace qtx
