#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korval {

// Number texts as the user's locale writes them. The decimal separator is
// passed in; the callers take it from LocaleInfo.

// Formats by a picture mask of the kind "###########0.00", "#######0.00##",
// "#####0", "###0.###", "#####0.###": '0' is a digit that is always written,
// '#' one that is written only when significant; no thousands separator.
// Characters after the last digit placeholder (the "€" of "#######0.00€")
// are written as they stand. Rounding to the shown decimals is half away from
// zero on the value taken to 15 significant digits, so 1.005 gives "1,01" and
// 2.675 gives "2,68", as a user who typed those prices expects. A value that
// rounds to zero is written without a minus sign. The integer part is never
// cut, however wide the number. NaN and infinities are written "NAN", "INF"
// and "-INF" (also by the two functions below).
std::string FormatFloatMask(double value, std::string_view mask, char decimalSeparator);

// The general format of a stored floating-point value: up to 15 significant
// digits, no trailing zeros, no exponent for 1e-5 <= |x| < 1e15 (outside
// that range "1,5E20", "1E-6").
std::string FormatGeneral(double value, char decimalSeparator);

// Fixed notation with the given number of decimals ("%f" of the read-outs is
// two decimals).
std::string FormatFixed(double value, int decimals, char decimalSeparator);

// Reads a decimal number written with either a point or a comma, with
// surrounding blanks allowed. Nothing when the text is not a number or lies
// beyond the range of a double. Independent of the C locale in force.
std::optional<double> ParseFloat(std::string_view text);

// Reads a signed decimal integer, surrounding blanks allowed. Nothing when the
// text is not a number or does not fit 32 bits.
std::optional<std::int32_t> ParseInt(std::string_view text);

// Rounding primitives. Geometry rounds halves to even; money rounds halves
// away from zero. Both are exact and ignore the FPU rounding mode; values
// beyond 64 bits saturate, NaN gives 0.
std::int64_t RoundHalfEven(double value);
std::int64_t RoundHalfAwayFromZero(double value);

}  // namespace korval
