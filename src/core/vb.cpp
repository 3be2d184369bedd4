#include "core/vb.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qtx::vb {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A double as decimal digits: value = 0.digits x 10^point, digits without leading zeros,
// `significant` of them (the value rounded to that many significant digits first).
struct Decimal {
  bool negative = false;
  std::string digits;  // empty for zero
  int point = 0;       // number of digits before the decimal point
};

Decimal to_decimal(double value, int significant) {
  Decimal d;
  if (!std::isfinite(value)) value = value > 0 ? DBL_MAX : (value < 0 ? -DBL_MAX : 0.0);
  if (value == 0) return d;
  d.negative = value < 0;
  char buf[64];
  // The same digits as printf's "%.*e", without its cost: d.ddddde[+-]xx
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, significant - 1);
  (void)ec;
  std::string_view s(buf, static_cast<size_t>(end - buf));
  auto epos = s.find('e');
  int exp10 = std::atoi(std::string(s.substr(epos + 1)).c_str());
  for (size_t i = 0; i < epos; ++i)
    if (is_digit(s[i])) d.digits.push_back(s[i]);
  d.point = exp10 + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Rounds to `decimals` places after the point, halves away from zero.
void round_decimal(Decimal& d, int decimals) {
  long keep = static_cast<long>(d.point) + decimals;  // digits kept
  if (keep >= static_cast<long>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    long i = keep - 1;
    while (i >= 0) {
      if (d.digits[static_cast<size_t>(i)] == '9') {
        d.digits[static_cast<size_t>(i)] = '0';
        --i;
      } else {
        ++d.digits[static_cast<size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// The whole and the fraction digits of a decimal, the fraction exactly `decimals` long.
void split_decimal(const Decimal& d, int decimals, std::string& whole, std::string& fraction) {
  whole.clear();
  fraction.clear();
  for (int i = 0; i < d.point; ++i)
    whole.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0');
  for (int i = 0; i < decimals; ++i) {
    int idx = d.point + i;
    fraction.push_back(idx >= 0 && idx < static_cast<int>(d.digits.size())
                           ? d.digits[static_cast<size_t>(idx)]
                           : '0');
  }
}

template <typename T>
T clamp_round(double value) {
  if (std::isnan(value)) return 0;
  double r = std::nearbyint(value);  // the default rounding mode: halves to even
  if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

std::string general_with(double value, int significant) {
  if (!std::isfinite(value)) value = value > 0 ? DBL_MAX : (value < 0 ? -DBL_MAX : 0.0);
  if (value == 0) return "0";
  char buf[64];
  // The digits of printf's "%.*g", without its cost.
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, significant);
  (void)ec;
  std::string s(buf, end);
  auto e = s.find('e');
  if (e != std::string::npos) {
    // VB writes the exponent with a capital E, a sign and at least two digits.
    std::string mant = s.substr(0, e);
    std::string ex = s.substr(e + 1);
    char sign = ex[0];
    std::string digits = ex.substr(1);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    s = mant + "E" + sign + digits;
  }
  return s;
}

}  // namespace

double Val(std::string_view text) {
  size_t i = 0;
  // Blanks only: a tab or a line end before the number makes it a text without a number.
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  size_t num_start = i;
  size_t ndigits = 0;
  while (i < text.size() && is_digit(text[i])) ++i, ++ndigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) ++i, ++ndigits;
  }
  if (ndigits == 0) return 0.0;
  size_t mant_end = i;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exp_digits_start = j;
    while (j < text.size() && is_digit(text[j])) ++j;
    if (j > exp_digits_start) mant_end = j;
  }
  std::string number(text.substr(num_start, mant_end - num_start));
  for (char& c : number)
    if (c == 'D' || c == 'd') c = 'e';
  double value = 0.0;
  auto res = std::from_chars(number.data(), number.data() + number.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large gives the largest double; too small gives 0.
    auto e = number.find_first_of("eE");
    bool tiny = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
    value = tiny ? 0.0 : DBL_MAX;
  }
  return negative ? -value : value;
}

int16_t CInt(double value) { return clamp_round<int16_t>(value); }
int32_t CLng(double value) { return clamp_round<int32_t>(value); }
double round_half_even(double value) { return std::nearbyint(value); }
double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

std::string Format(double value, std::string_view pattern) {
  bool percent = !pattern.empty() && pattern.back() == '%';
  std::string_view body = percent ? pattern.substr(0, pattern.size() - 1) : pattern;
  auto dot = body.find('.');
  std::string_view whole_pat = body.substr(0, dot);
  std::string_view frac_pat = dot == std::string_view::npos ? std::string_view{} : body.substr(dot + 1);
  int min_whole = static_cast<int>(std::count(whole_pat.begin(), whole_pat.end(), '0'));
  int min_frac = static_cast<int>(std::count(frac_pat.begin(), frac_pat.end(), '0'));
  int max_frac = min_frac + static_cast<int>(std::count(frac_pat.begin(), frac_pat.end(), '#'));

  if (percent) value *= 100.0;
  Decimal d = to_decimal(value, 15);
  round_decimal(d, max_frac);
  std::string whole, fraction;
  split_decimal(d, max_frac, whole, fraction);
  while (static_cast<int>(fraction.size()) > min_frac && fraction.back() == '0') fraction.pop_back();
  while (static_cast<int>(whole.size()) < min_whole) whole.insert(whole.begin(), '0');

  std::string out;
  // The sign of the value, even when its digits round to zero: -0.0004 is "-0.000".
  if (d.negative) out.push_back('-');
  out += whole;
  if (dot != std::string_view::npos) {
    out.push_back('.');
    out += fraction;
  }
  if (percent) out.push_back('%');
  return out;
}

std::string general(double value) { return general_with(value, 15); }
std::string general_single(float value) { return general_with(static_cast<double>(value), 7); }

std::string FormatNumber(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  Decimal d = to_decimal(value, 15);
  round_decimal(d, decimals);
  std::string whole, fraction;
  split_decimal(d, decimals, whole, fraction);
  if (whole.empty()) whole = "0";
  std::string grouped;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(whole[i]);
  }
  std::string out;
  if (d.negative && !d.digits.empty()) out.push_back('-');
  out += grouped;
  if (decimals > 0) {
    out.push_back('.');
    out += fraction;
  }
  return out;
}

bool CBool(std::string_view text) {
  std::string t = LCase(Trim(text));
  if (t == "true") return true;
  if (t == "false") return false;
  return Val(t) != 0;
}

std::string to_text(long long value) { return std::to_string(value); }

std::string LTrim(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && text[b] == ' ') ++b;
  return std::string(text.substr(b));
}

std::string RTrim(std::string_view text) {
  size_t e = text.size();
  while (e > 0 && text[e - 1] == ' ') --e;
  return std::string(text.substr(0, e));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

std::string UCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string LCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string Left(std::string_view text, long long length) {
  if (length <= 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(std::min<long long>(length, static_cast<long long>(text.size())))));
}

std::string Right(std::string_view text, long long length) {
  if (length <= 0) return {};
  size_t n = static_cast<size_t>(std::min<long long>(length, static_cast<long long>(text.size())));
  return std::string(text.substr(text.size() - n));
}

std::string Mid(std::string_view text, long long start) {
  if (start < 1 || start > static_cast<long long>(text.size())) return {};
  return std::string(text.substr(static_cast<size_t>(start - 1)));
}

std::string Mid(std::string_view text, long long start, long long length) {
  if (start < 1 || start > static_cast<long long>(text.size()) || length <= 0) return {};
  return std::string(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
}

long long InStr(std::string_view text, std::string_view find) { return InStr(1, text, find); }

long long InStr(long long start, std::string_view text, std::string_view find) {
  if (start < 1) start = 1;
  if (start > static_cast<long long>(text.size())) return 0;
  if (find.empty()) return start;
  auto pos = text.find(find, static_cast<size_t>(start - 1));
  return pos == std::string_view::npos ? 0 : static_cast<long long>(pos) + 1;
}

long long InStrRev(std::string_view text, std::string_view find) {
  if (find.empty()) return static_cast<long long>(text.size());
  auto pos = text.rfind(find);
  return pos == std::string_view::npos ? 0 : static_cast<long long>(pos) + 1;
}

void MidAssign(std::string& text, long long start, long long length, std::string_view value) {
  if (start < 1 || start > static_cast<long long>(text.size()) || length <= 0) return;
  long long room = static_cast<long long>(text.size()) - (start - 1);
  long long n = std::min({length, static_cast<long long>(value.size()), room});
  text.replace(static_cast<size_t>(start - 1), static_cast<size_t>(n), value.substr(0, static_cast<size_t>(n)));
}

void MidAssign(std::string& text, long long start, std::string_view value) {
  MidAssign(text, start, static_cast<long long>(value.size()), value);
}

std::string Space(long long count) { return count > 0 ? std::string(static_cast<size_t>(count), ' ') : std::string(); }
std::string String(long long count, char c) { return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string(); }

}  // namespace qtx::vb

namespace qtx::vb {

bool IsNumeric(std::string_view text) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < end && is_digit(text[i])) ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && is_digit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < end && is_digit(text[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == end;
}

}  // namespace qtx::vb
