// The base rate typed in the base-rate dialog in place of the log's own: the rate the log graph
// scales its flow axis about and the trumpet analysis measures its errors against.
#pragma once

#include <string_view>

namespace qtx::base_rate {

// The largest base rate, in ml/h either side of 0. The flow-scale steps hold the base rate as a
// 16-bit whole number, and up to this size the trumpet table's errors, kept as 32-bit floats,
// are still exact to the hundredth they show.
inline constexpr double kLargest = 32767;
// The smallest base rate other than 0. Below it the rate's own text on the windows and the
// trumpet page (the general number format) turns to exponent form, and the errors measured
// against it outgrow any figure the table can show.
inline constexpr double kSmallest = 0.0001;

// The numeric test of the base-rate box: a plain decimal number (vb::IsNumeric) whose value is 0
// (the dialog refuses that with its own message) or lies, either side of 0, from kSmallest to
// kLargest. A number too large for a double is refused as well, never taken as the largest one.
bool entry_numeric(std::string_view text);

}  // namespace qtx::base_rate
