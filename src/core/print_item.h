// One item of a printed line: its text and whether a zone separator follows it.
#pragma once

#include <string>

namespace qtx {

// `next_zone` moves the print position on to the start of the next print zone (zones are 14
// characters of the current font wide) before the item after it. An item with an empty text and
// `next_zone` makes a second separator in a row.
struct PrintItem {
  std::string text;  // Latin-1
  bool next_zone = false;
};

}  // namespace qtx
