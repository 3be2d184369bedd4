#include "core/base_rate.h"

#include <cmath>

#include "core/vb.h"

namespace qtx::base_rate {

Entry check_entry(std::string_view text) {
  if (!vb::IsNumeric(text)) return Entry::NotANumber;
  // A number too large for a double reads as the largest double, out of range like any other
  // too large; one too small for it reads as 0.
  const double rate = vb::Val(text);
  if (rate == 0) return Entry::Zero;
  const double size = std::fabs(rate);
  return size >= kSmallest && size <= kLargest ? Entry::Rate : Entry::OutOfRange;
}

std::string out_of_range_message() {
  const std::string smallest = vb::general(kSmallest), largest = vb::general(kLargest);
  return "Base rate out of range: enter a rate from " + smallest + " to " + largest + " ml/h (or from -" + largest +
         " to -" + smallest + " ml/h).";
}

}  // namespace qtx::base_rate
