#include "core/fixed_field.h"

namespace qtx {

std::string replace_underlined_field(std::string_view blank, std::string_view value) {
  if (value.size() <= blank.size()) {
    std::string out(value);
    out.append(blank.substr(0, blank.size() - value.size()));
    return out;
  }
  return std::string(value.substr(0, blank.size()));
}

std::string underlined_field(std::string_view value, int width) {
  return replace_underlined_field(std::string(static_cast<size_t>(width < 0 ? 0 : width), '_'), value);
}

}  // namespace qtx
