#include "core/vb.h"

#include <gtest/gtest.h>

using namespace qtx::vb;

TEST(Val, TakesTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(Val("  12.5abc"), 12.5);
  EXPECT_DOUBLE_EQ(Val("-3.2"), -3.2);
  EXPECT_DOUBLE_EQ(Val("+7,"), 7);
  EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
  EXPECT_DOUBLE_EQ(Val("1.5E2x"), 150);
  EXPECT_DOUBLE_EQ(Val("2e"), 2);       // an exponent without digits is not part of the number
  EXPECT_DOUBLE_EQ(Val("3abc"), 3);
  EXPECT_DOUBLE_EQ(Val("abc"), 0);
  EXPECT_DOUBLE_EQ(Val(""), 0);
  EXPECT_DOUBLE_EQ(Val("-"), 0);
  EXPECT_DOUBLE_EQ(Val("."), 0);
  EXPECT_DOUBLE_EQ(Val("99.8, 100.2"), 99.8);
  EXPECT_DOUBLE_EQ(Val("1 2"), 1);      // the number ends at the first other character
  EXPECT_GT(Val("1e999"), 1e300);       // no fault on overflow
  EXPECT_DOUBLE_EQ(Val("1e-999"), 0);
  EXPECT_DOUBLE_EQ(Val("\t5"), 0);      // blanks only are skipped
  EXPECT_DOUBLE_EQ(Val("\n5"), 0);
  EXPECT_DOUBLE_EQ(Val("\r5"), 0);
}

TEST(WholeNumbers, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CInt(12.5), 12);
  EXPECT_EQ(CInt(13.5), 14);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(2.6), 3);
  EXPECT_EQ(CInt(1e9), 32767);
  EXPECT_EQ(CInt(-1e9), -32768);
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(Int(-3.2), -4);
  EXPECT_EQ(Int(3.9), 3);
  EXPECT_EQ(Fix(-3.9), -3);
}

TEST(Format, DigitPatterns) {
  EXPECT_EQ(Format(5.5, "00.00"), "05.50");
  EXPECT_EQ(Format(-3.2, "00.00"), "-03.20");
  EXPECT_EQ(Format(5, "0.000"), "5.000");
  EXPECT_EQ(Format(42.5, "00.00"), "42.50");
  EXPECT_EQ(Format(250, "000.0"), "250.0");
  EXPECT_EQ(Format(1500, "0000"), "1500");
  EXPECT_EQ(Format(7, "00"), "07");
  EXPECT_EQ(Format(123, "00"), "123");
  EXPECT_EQ(Format(0.01, "0.00%"), "1.00%");
  EXPECT_EQ(Format(-0.01, "0.00%"), "-1.00%");
  EXPECT_EQ(Format(2.675, "0.00"), "2.68");   // halves away from zero, on the decimal value
  EXPECT_EQ(Format(-2.5, "0"), "-3");
  EXPECT_EQ(Format(9.9996, "0.000"), "10.000");
  // A negative value keeps its sign when it rounds to zero; a zero has none.
  EXPECT_EQ(Format(-0.0001, "0.00"), "-0.00");
  EXPECT_EQ(Format(-0.0004, "0.000"), "-0.000");
  EXPECT_EQ(Format(-0.001, "00.00"), "-00.00");
  EXPECT_EQ(Format(-0.4, "00"), "-00");
  EXPECT_EQ(Format(-0.0, "0.000"), "0.000");
  EXPECT_EQ(Format(12.5, "000"), "013");
}

TEST(GeneralFormat, FifteenDigitsNoTrailingZeros) {
  EXPECT_EQ(general(12), "12");
  EXPECT_EQ(general(12.5), "12.5");
  EXPECT_EQ(general(100.0), "100");
  EXPECT_EQ(general(1.0 / 60), "0.0166666666666667");
  EXPECT_EQ(general(-0.5), "-0.5");
  EXPECT_EQ(general(0), "0");
  EXPECT_EQ(general(0.0001), "0.0001");
  EXPECT_EQ(general(0.00001), "1E-05");
  EXPECT_EQ(general(1e15), "1E+15");
  EXPECT_EQ(general(123456789012345.0), "123456789012345");
  EXPECT_EQ(general(0.1 + 0.2), "0.3");
  EXPECT_EQ(general_single(1.0f / 3), "0.3333333");
}

TEST(FormatNumber, DecimalsAndGrouping) {
  EXPECT_EQ(FormatNumber(123.456, 2), "123.46");
  EXPECT_EQ(FormatNumber(1.5, 3), "1.500");
  EXPECT_EQ(FormatNumber(-0.25, 3), "-0.250");
  EXPECT_EQ(FormatNumber(0.4, 0), "0");
  EXPECT_EQ(FormatNumber(1234567.891, 3), "1,234,567.891");
}

TEST(Text, OneBasedPositionsAndInPlaceOverwrite) {
  EXPECT_EQ(InStr("abcabc", "c"), 3);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
  EXPECT_EQ(InStr("abc", "x"), 0);
  EXPECT_EQ(InStr(9, "abc", "a"), 0);
  EXPECT_EQ(InStrRev("a\\b\\c", "\\"), 4);
  EXPECT_EQ(Mid("abcdef", 3), "cdef");
  EXPECT_EQ(Mid("abcdef", 3, 2), "cd");
  EXPECT_EQ(Mid("abc", 7, 2), "");
  EXPECT_EQ(Left("abc", 5), "abc");
  EXPECT_EQ(Right("abc", 2), "bc");
  EXPECT_EQ(Trim("  a b \t "), "a b \t");
  EXPECT_EQ(Trim(" n\r "), "n\r");

  std::string s = "Model: ________";
  MidAssign(s, 8, "ABC");
  EXPECT_EQ(s, "Model: ABC_____");
  MidAssign(s, 14, "XYZ");  // never past the end
  EXPECT_EQ(s, "Model: ABC___XY");
  MidAssign(s, 1, 2, "1234");
  EXPECT_EQ(s, "12del: ABC___XY");
  MidAssign(s, 99, "Q");
  EXPECT_EQ(s.size(), 15u);
}

TEST(CBool, StoredTexts) {
  EXPECT_TRUE(CBool("True"));
  EXPECT_TRUE(CBool("TRUE"));
  EXPECT_FALSE(CBool("False"));
  EXPECT_FALSE(CBool("0"));
  EXPECT_TRUE(CBool("-1"));
  EXPECT_FALSE(CBool("abc"));
}
