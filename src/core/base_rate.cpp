#include "core/base_rate.h"

#include <cmath>

#include "core/vb.h"

namespace qtx::base_rate {

bool entry_numeric(std::string_view text) {
  if (!vb::IsNumeric(text)) return false;
  const double size = std::fabs(vb::Val(text));
  return size == 0 || (size >= kSmallest && size <= kLargest);
}

}  // namespace qtx::base_rate
