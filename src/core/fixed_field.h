// The fixed-width field of every header and sign-off line: a value printed into a blank of
// underscores.
#pragma once

#include <string>
#include <string_view>

namespace qtx {

// A value no longer than the blank is followed by the rest of the blank (so underscores pad it
// to the blank's width); a longer value is cut to the blank's width.
std::string replace_underlined_field(std::string_view blank, std::string_view value);

// The same with a blank of `width` underscores.
std::string underlined_field(std::string_view value, int width);

}  // namespace qtx
