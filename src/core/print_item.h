// One item of a printed line: its text and whether a zone separator follows it.
#pragma once

#include <string>

namespace qtx {

// `next_zone` moves the print position on to the start of the next print zone (zones are 14
// characters of the current font wide) before the item after it. An item with an empty text and
// `next_zone` makes a second separator in a row.
struct PrintItem {
  std::string text;  // Latin-1, or a file name as the file system spells it (UTF-8) when `path`
  bool next_zone = false;
  // A file or folder name: the page is drawn by the system, so it prints the name as it stands,
  // in any script, never as Latin-1 with "?" in place of what Latin-1 lacks.
  bool path = false;
};

inline PrintItem path_item(std::string path) { return PrintItem{std::move(path), false, true}; }

}  // namespace qtx
