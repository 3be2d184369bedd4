#include "core/file_names.h"

#include "core/paths.h"

namespace qtx {

std::string get_file_dir(std::string_view path) {
  size_t p = path.rfind(kPathSeparator);
  if (p == std::string_view::npos) return {};
  return std::string(path.substr(0, p));
}

}  // namespace qtx
