#include <gtest/gtest.h>

#include "core/base_rate.h"
#include "core/vb.h"

using qtx::vb::IsNumeric;

TEST(IsNumeric, AcceptsPlainDecimalNumbers) {
  for (const char* t : {"0", "125", "-3", "+7", "12.5", "-0.25", ".5", "5.", "1E3", "1e-3", "2.5E+10", "-.5e2", " 42",
                        "42 ", "   -1.5   ", "007"})
    EXPECT_TRUE(IsNumeric(t)) << '"' << t << '"';
}

TEST(IsNumeric, RefusesOtherTextAndTheEmptyText) {
  for (const char* t : {"",   " ", "   ",   "abc",   "12abc", "1 2",  ".",    "-",   "+",   "+-1", "--1", "1e", "1e+",
                        "e5", "E", "1.2.3", "1,000", "$5",    "0x1F", "&H1F", "\t1", "1\r", "12%", "1d2", "- 1"})
    EXPECT_FALSE(IsNumeric(t)) << '"' << t << '"';
}

// The base-rate box: rates the windows and the trumpet page can show, 0 (which the dialog
// refuses with its own message), numbers outside the range, and text that is no number.
TEST(IsNumeric, BaseRateEntries) {
  using qtx::base_rate::check_entry;
  using qtx::base_rate::Entry;
  for (const char* t : {"-5", "12.5", " 100 ", "32767", "-32767", "1.5e2", "0.0001", "-1E-4"})
    EXPECT_EQ(check_entry(t), Entry::Rate) << '"' << t << '"';
  for (const char* t : {"0", "0.0", "-0", "1e-400"}) EXPECT_EQ(check_entry(t), Entry::Zero) << '"' << t << '"';
  for (const char* t : {"1e999", "-1e999", "1e300", "32767.01", "-40000", "1e5", "0.00009", "-0.00009", "1e-300"})
    EXPECT_EQ(check_entry(t), Entry::OutOfRange) << '"' << t << '"';
  for (const char* t : {"", "abc", "1,000", "12 ml"}) EXPECT_EQ(check_entry(t), Entry::NotANumber) << '"' << t << '"';
  // Both ends still read as plain decimals wherever the rate is shown.
  EXPECT_EQ(qtx::vb::general(qtx::base_rate::kLargest), "32767");
  EXPECT_EQ(qtx::vb::general(-qtx::base_rate::kSmallest), "-0.0001");
}
