#include "game/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace valkoran {

namespace {

// Shortest round-trip digits in plain notation, e.g. "0.0046304646", "-12.5",
// "35846810": the significant digits of the shortest form, padded with zeros
// (never the exact binary value's long tail).
template <typename T>
std::string PlainDigits(T x) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
  if (res.ec != std::errc()) return "0";
  std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  std::string out;
  if (sci.front() == '-') {
    out = "-";
    sci.remove_prefix(1);
  }
  const size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e))
    if (c != '.') digits += c;
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  const int pointAt = exponent + 1;  // digits before the decimal point
  if (pointAt <= 0) {
    out += "0." + std::string(static_cast<size_t>(-pointAt), '0') + digits;
  } else if (pointAt >= static_cast<int>(digits.size())) {
    out += digits + std::string(pointAt - digits.size(), '0');
  } else {
    out += digits.substr(0, pointAt) + "." + digits.substr(pointAt);
  }
  return out;
}

std::string StrFromDigits(std::string digits) {
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
  return (negative ? "-" : " ") + digits;
}

template <typename T>
std::string StrOf(T x) {
  if (std::isnan(x)) return " NaN";
  if (std::isinf(x)) return x > 0 ? " Inf" : "-Inf";
  if (x == 0) return " 0";  // also -0: the game never shows a negative zero
  return StrFromDigits(PlainDigits(x));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the number at the start of s (sign, digits, point, exponent), or 0.
// Needs at least one digit in the mantissa.
size_t NumberPrefix(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

// The power of ten of a number text's leading digit ("0.05" gives -2,
// "12e3" gives 4); the text is unsigned, its exponent spelled "e".
long long DecimalMagnitude(std::string_view t) {
  const size_t e = t.find('e');
  const std::string_view mantissa = t.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = t.substr(e + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    // Far beyond any type's range already: no need to read on.
    for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 1000000000000LL);
    if (negative) exponent = -exponent;
  }
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t lead = mantissa.find_first_not_of("0.");
  if (lead == std::string_view::npos) return 0;
  return exponent + (lead < point ? static_cast<long long>(point - lead) - 1 : -static_cast<long long>(lead - point));
}

// The value of a number text as NumberPrefix finds it (a sign, digits with
// a point, an exponent with E or D), read the same way in every locale: the
// C library's strtod takes its decimal point from the user's locale, and
// under a comma locale reads "1.35" as 1. Too large a value gives an
// infinity, too small a zero, as strtod would.
template <typename T>
T ReadDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::string spelled(text);
  for (char& c : spelled)
    if (c == 'd' || c == 'D' || c == 'E') c = 'e';
  T v{};
  const auto [end, ec] = std::from_chars(spelled.data(), spelled.data() + spelled.size(), v);
  if (ec == std::errc::result_out_of_range) {
    v = DecimalMagnitude(spelled) > 0 ? std::numeric_limits<T>::infinity() : T(0);
  } else if (ec != std::errc()) {
    v = 0;  // NumberPrefix found no number
  }
  return negative ? -v : v;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Rounds a plain decimal text half away from zero to `decimals` places and
// pads the integer part to `intDigits`.
std::string RoundDigits(std::string digits, int intDigits, int decimals) {
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  std::string ip = digits, fp;
  if (auto dot = digits.find('.'); dot != std::string::npos) {
    ip = digits.substr(0, dot);
    fp = digits.substr(dot + 1);
  }
  bool roundUp = static_cast<int>(fp.size()) > decimals && fp[decimals] >= '5';
  fp.resize(decimals, '0');
  std::string all = ip + fp;
  if (roundUp) {
    int i = static_cast<int>(all.size()) - 1;
    for (; i >= 0; --i) {
      if (all[i] == '9') {
        all[i] = '0';
      } else {
        ++all[i];
        break;
      }
    }
    if (i < 0) all.insert(all.begin(), '1');
  }
  ip = all.substr(0, all.size() - decimals);
  fp = all.substr(all.size() - decimals);
  size_t nz = ip.find_first_not_of('0');
  ip = nz == std::string::npos ? "" : ip.substr(nz);
  if (static_cast<int>(ip.size()) < intDigits) ip.insert(0, intDigits - ip.size(), '0');
  bool zero = all.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !zero) ? "-" : "";
  out += ip;
  if (decimals > 0) out += "." + fp;
  return out;
}

template <typename T>
std::string FormatOf(T x, std::string_view pattern) {
  int intDigits = 0, decimals = 0;
  bool afterPoint = false;
  for (char c : pattern) {
    if (c == '.') afterPoint = true;
    else if (c == '0') (afterPoint ? decimals : intDigits)++;
  }
  if (!std::isfinite(x)) return StrOf(x).substr(1);
  return RoundDigits(PlainDigits(x), intDigits, decimals);
}

}  // namespace

std::string Str(float x) { return StrOf(x); }
std::string Str(double x) { return StrOf(x); }

std::string StrTrim(float x) {
  std::string s = Str(x);
  return s[0] == ' ' ? s.substr(1) : s;
}

double Val(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  size_t n = NumberPrefix(text);
  if (n == 0) return 0;
  const double v = ReadDecimal<double>(text.substr(0, n));
  return std::isfinite(v) ? v : 0;
}


template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t.empty() || NumberPrefix(t) != t.size()) return std::nullopt;
  const T v = ReadDecimal<T>(t);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> ParseNumber(std::string_view text) { return ParseWhole<double>(text); }
std::optional<float> ParseSingle(std::string_view text) { return ParseWhole<float>(text); }

std::string Format(double x, std::string_view pattern) { return FormatOf(x, pattern); }
std::string Format(float x, std::string_view pattern) { return FormatOf(x, pattern); }

long long RoundHalfEvenUnchecked(double x) {
  return RoundHalfEvenClamped(x, std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max());
}

long long RoundHalfEvenClamped(double x, long long lo, long long hi) {
  if (std::isnan(x)) return lo;
  const double r = std::nearbyint(x);
  // Compared as doubles: hi itself may not be representable (2^63 - 1).
  if (r <= static_cast<double>(lo)) return lo;
  if (r >= static_cast<double>(hi)) return hi;
  return static_cast<long long>(r);
}

std::optional<long long> RoundHalfEven(double x, long long lo, long long hi) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = std::nearbyint(x);
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return std::nullopt;
  return static_cast<long long>(r);
}

int TurnNumber(float gameYear) {
  return static_cast<int>(Int((static_cast<double>(gameYear) - 1) * 20 + 0.001));
}

double ShownYear(float gameYear) { return Int(static_cast<double>(gameYear) * 100 + 0.999) / 100; }

}  // namespace valkoran
