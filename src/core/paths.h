// Folder and file names as the program builds them: a folder, the native separator, a name.
#pragma once

#include <string>
#include <string_view>

namespace qtx {

// The native separator; the program writes it wherever a path is joined from parts.
inline constexpr char kPathSeparator = '/';

inline std::string join_path(std::string_view folder, std::string_view name) {
  std::string p(folder);
  p.push_back(kPathSeparator);
  p.append(name);
  return p;
}

}  // namespace qtx
