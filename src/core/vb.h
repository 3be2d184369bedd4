// Number and text rules shared by every window and file of the program.
//
// Texts are byte strings, one Latin-1 character per byte, so every position and length counts
// bytes. Positions are 1-based, as the screens and file layouts count them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qtx::vb {

// True and False of the 16-bit flags.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

inline constexpr char CR = '\r';
inline constexpr char LF = '\n';
inline constexpr std::string_view CRLF = "\r\n";

// ---- text to number -------------------------------------------------------------------------

// The leading number of a text: blanks (Chr(32) only) skipped, an optional sign, digits, an optional decimal
// point and digits, an optional exponent ("E" or "e", optional sign, digits). The number ends
// at the first other character; a text without a leading number gives 0. A number too large
// for a double gives the largest double of its sign.
double Val(std::string_view text);

// Whole numbers: the nearest integer, a half going to the even neighbour. Values beyond the
// type's range are clamped to it (the stored files and fields never hold such values, and a
// clamp keeps a corrupt input from ending the program).
int16_t CInt(double value);
int32_t CLng(double value);
double round_half_even(double value);

// Int(x): the largest integer not above x. Fix(x): x without its fraction.
double Int(double value);
double Fix(double value);

// CBool of a stored text: "True" and "False" in any case, otherwise a number (not 0 is True).
bool CBool(std::string_view text);

// ---- number to text -------------------------------------------------------------------------

// Format(value, pattern) for the digit patterns used on screen and in files: "0", "00", "0000",
// "0.000", "00.00", "000.0", "0.00", "0.00%" and the like. Zeros before the point give the
// least number of whole digits, zeros after it the exact number of decimals, "#" an optional
// digit, a trailing "%" multiplies by 100. Halves round away from zero. A negative value keeps
// its minus sign even when it rounds to zero ("-0.000", "-00.00").
std::string Format(double value, std::string_view pattern);

// The general number format (a double shown without a pattern): up to 15 significant digits,
// no trailing zeros, no leading blank; plain decimals for magnitudes from 1E-4 up to below
// 1E15, otherwise mantissa and exponent ("1E+15", "1.5E-05").
std::string general(double value);
// The same for a single-precision value: up to 7 significant digits.
std::string general_single(float value);

// FormatNumber(value, decimals): exactly `decimals` decimals, a leading zero before the point,
// a minus sign for negatives and "," between thousands (the system's number settings here).
std::string FormatNumber(double value, int decimals);

// Decimal text of a whole number (no leading blank).
std::string to_text(long long value);

// ---- text -----------------------------------------------------------------------------------

// Only blanks (Chr(32)) are trimmed; tabs, CR and LF stay.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

std::string Left(std::string_view text, long long length);
std::string Right(std::string_view text, long long length);
// Mid(text, start): from position `start` to the end; Mid(text, start, length). A start beyond
// the end gives "".
std::string Mid(std::string_view text, long long start);
std::string Mid(std::string_view text, long long start, long long length);

// InStr: the position of the first `find` in `text` at or after `start`, 0 when absent. An
// empty `find` gives `start` (when start is within the text or just after it).
long long InStr(std::string_view text, std::string_view find);
long long InStr(long long start, std::string_view text, std::string_view find);
// InStrRev: the position of the last `find`, 0 when absent.
long long InStrRev(std::string_view text, std::string_view find);

// Mid(text, start, length) = value: overwrites characters in place from position `start`; at
// most `length` characters, at most the length of `value`, and never past the end, so the
// text keeps its length. A start outside the text changes nothing.
void MidAssign(std::string& text, long long start, long long length, std::string_view value);
void MidAssign(std::string& text, long long start, std::string_view value);

// Space(n), String(n, c).
std::string Space(long long count);
std::string String(long long count, char c);

}  // namespace qtx::vb

namespace qtx::vb {

// IsNumeric: the whole text is one plain decimal number: blanks around it, an optional sign,
// digits with an optional decimal point (at least one digit), an optional exponent ("E" or
// "e", optional sign, digits). Any other text, and the empty text, is not numeric.
bool IsNumeric(std::string_view text);

}  // namespace qtx::vb
