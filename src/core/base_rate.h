// The base rate typed in the base-rate dialog in place of the log's own: the rate the log graph
// scales its flow axis about and the trumpet analysis measures its errors against.
#pragma once

#include <string>
#include <string_view>

namespace qtx::base_rate {

// The largest base rate, in ml/h either side of 0: the flow-scale steps hold the base rate as a
// 16-bit whole number.
inline constexpr double kLargest = 32767;
// The smallest base rate other than 0: below it the rate's own text on the windows and the
// trumpet page (the general number format) turns to exponent form.
inline constexpr double kSmallest = 0.0001;

// What the dialog makes of the text in its box.
enum class Entry {
  NotANumber,  // not a plain decimal number (vb::IsNumeric)
  Zero,        // a number whose leading number is 0
  OutOfRange,  // a number that lies, either side of 0, below kSmallest or above kLargest
  Rate,        // a base rate the windows and the trumpet page can show
};
Entry check_entry(std::string_view text);

// The message for a number outside the range, naming the range.
std::string out_of_range_message();

}  // namespace qtx::base_rate
