#include "core/paths.h"

#include <algorithm>

namespace qtx {

namespace {

// The length in bytes of the UTF-8 character at `i`; 0 when no whole character begins there.
size_t char_length(std::string_view path, size_t i) {
  const auto c = static_cast<unsigned char>(path[i]);
  const size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || i + length > path.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(path[i + k]) >> 6) != 0x2) return 0;
  return length;
}

}  // namespace

std::string path_text(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  size_t i = 0;
  while (i < path.size()) {
    const size_t length = char_length(path, i);
    if (length == 0) {
      out.push_back('?');
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(path[i]);
    unsigned long code = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(path[i + k]) & 0x3F);
    out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    i += length;
  }
  return out;
}

size_t path_length(std::string_view path) {
  size_t count = 0;
  for (size_t i = 0; i < path.size(); ++count) i += std::max<size_t>(char_length(path, i), 1);
  return count;
}

std::string path_left(std::string_view path, size_t count) {
  size_t i = 0;
  for (size_t n = 0; n < count && i < path.size(); ++n) i += std::max<size_t>(char_length(path, i), 1);
  return std::string(path.substr(0, i));
}

}  // namespace qtx
