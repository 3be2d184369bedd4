// Folder and file names as the program builds them: a folder, the native separator, a name.
// Names keep the file system's encoding (UTF-8); they become Latin-1 text only where they are
// written into a file's text (path_text). A printed page shows them as they stand.
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

// A name as Latin-1 text, for a file's contents or a message: each character Latin-1 has
// becomes its byte, every other one (and a byte that is not UTF-8) becomes "?".
std::string path_text(std::string_view path);

// The number of characters of a name (UTF-8; a byte that begins no whole character counts as
// one), and its first `count` characters.
size_t path_length(std::string_view path);
std::string path_left(std::string_view path, size_t count);

}  // namespace qtx
