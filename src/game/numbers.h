// Number texts and conversions of the game.
//
// Stored values are 32-bit floats or small integers; arithmetic between them
// runs in double and is rounded to 32 bits only where a value is stored. The
// helpers here are the only place that turns numbers into text and back, so
// saved games, network messages and screens agree on every digit.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace valkoran {

// Str: the shortest decimal that reads back to the same 32-bit value, never
// with an exponent, without a zero before the point, one leading blank when
// the value is not negative.  Str(25) = " 25", Str(.05) = " .05", Str(-.5) = "-.5".
std::string Str(float x);
std::string Str(double x);  // the double is first stored as a 32-bit value
inline std::string Str(int x) { return Str(static_cast<double>(x)); }

// Str without its leading blank (the "number's string form" trimmed), used
// where the rules print a number without the blank.
std::string StrTrim(float x);

// Val: the number at the start of a text. Leading blanks and tabs are skipped,
// a sign, digits, one decimal point and an exponent (E or D) are taken; the
// rest is ignored. A text without a number gives 0. The point is always "."
// (and Val and the readings below the same), whatever the user's locale.
double Val(std::string_view text);

// The strict reading used for saved games: the whole line must be one number
// (blanks around it allowed). Empty or malformed texts give nothing.
std::optional<double> ParseNumber(std::string_view text);
// The same, read straight to a 32-bit value (no double rounding on the way).
std::optional<float> ParseSingle(std::string_view text);

// Format with the fixed patterns "0", "00", "000", "0.00", "0.000", "000.0",
// "00.000": at least as many integer digits as the pattern has zeros before
// the point, exactly as many decimals as after it, rounding half away from
// zero on the value's own shortest decimal digits (a 32-bit value rounds on
// its 32-bit digits, so 1.005 stored as a float formats as 1.01).
std::string Format(double x, std::string_view pattern);
std::string Format(float x, std::string_view pattern);

// Int(): the floor, as a double (the rules keep using it in arithmetic).
inline double Int(double x) { return std::floor(x); }

// Conversion of a value to an integer field: round half to even, then check
// the field's range. Out of range gives nothing (the caller reports it).
std::optional<long long> RoundHalfEven(double x, long long lo, long long hi);
// The same without a range check, for values the rules keep in range: a
// value beyond the 64-bit range gives its nearest end, not a wrapped number,
// and NaN gives the lowest value.
long long RoundHalfEvenUnchecked(double x);
// Round half to even into [lo, hi], the nearest end for anything beyond and
// lo for NaN: for integer fields whose value only decorates (a report, a delay).
long long RoundHalfEvenClamped(double x, long long lo, long long hi);

// Store a double into a 32-bit field.
inline float Sng(double x) { return static_cast<float>(x); }

// The turn number and the shown year derived from GameYear.
int TurnNumber(float gameYear);
double ShownYear(float gameYear);  // Int(GameYear*100 + 0.999) / 100

}  // namespace valkoran
