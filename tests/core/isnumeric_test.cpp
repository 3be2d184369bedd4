#include <gtest/gtest.h>

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
