#include "platform/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace korval {
namespace {

// Prices are typed by people in decimal, so every number is first taken to
// the 15 significant digits that a double holds reliably and rounded as a
// decimal string from there: 1.005 is stored as 1.00499999999999989...,
// yet the user who typed it expects "1,01". Binary rounding would not do that.
constexpr int kSignificantDigits = 15;

// A finite number as 0.digits × 10^exponent. No leading or trailing zeros in
// digits; zero is the empty digit string.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

void TrimTrailingZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

// std::to_chars is used because it ignores whatever C locale the host has put
// in force; snprintf would write a decimal comma under a Czech LC_NUMERIC.
Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0) return d;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] >= '0' && text[i] <= '9') d.digits += text[i];
  }
  std::size_t expStart = e + 1;
  if (text[expStart] == '+') ++expStart;
  int exp10 = 0;
  std::from_chars(text.data() + expStart, text.data() + text.size(), exp10);
  d.exponent = exp10 + 1;
  TrimTrailingZeros(d.digits);
  return d;
}

// Rounds to the given number of decimals, halves away from zero (the sign is
// kept apart, so rounding the magnitude up is away from zero).
void RoundDecimal(Decimal& d, int decimals) {
  if (d.digits.empty()) return;
  const long kept = static_cast<long>(d.exponent) + decimals;
  if (kept < 0) {
    d.digits.clear();
    return;
  }
  const auto keep = static_cast<std::size_t>(kept);
  if (keep >= d.digits.size()) return;
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    std::size_t i = keep;
    while (i > 0 && d.digits[i - 1] == '9') {
      d.digits[i - 1] = '0';
      --i;
    }
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    } else {
      ++d.digits[i - 1];
    }
  }
  TrimTrailingZeros(d.digits);
}

char DigitAt(const Decimal& d, long index) {
  if (index < 0 || index >= static_cast<long>(d.digits.size())) return '0';
  return d.digits[static_cast<std::size_t>(index)];
}

// Writes a rounded decimal with at least minInt integer digits and between
// minDec and maxDec decimals. A number that rounded to zero has no sign.
std::string WriteFixed(const Decimal& d, int minInt, int minDec, int maxDec, char separator) {
  std::string integer;
  for (long i = 0; i < d.exponent; ++i) integer += DigitAt(d, i);
  if (static_cast<int>(integer.size()) < minInt) {
    integer.insert(0, static_cast<std::size_t>(minInt) - integer.size(), '0');
  }
  std::string fraction;
  for (long k = 0; k < maxDec; ++k) fraction += DigitAt(d, d.exponent + k);
  while (static_cast<int>(fraction.size()) > minDec && fraction.back() == '0') fraction.pop_back();

  std::string out;
  if (d.negative && !d.digits.empty()) out += '-';
  out += integer;
  if (!fraction.empty()) {
    out += separator;
    out += fraction;
  }
  return out;
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsPlaceholder(char c) {
  return c == '0' || c == '#';
}

// The parts of a picture mask: literal text around the placeholders, the
// number of integer digits always written (those from the first '0' on), and
// the decimals always written (up to the last '0') and at most written.
struct Mask {
  std::string_view prefix;
  std::string_view suffix;
  int minInt = 0;
  int minDec = 0;
  int maxDec = 0;
};

Mask ParseMask(std::string_view text) {
  Mask mask;
  std::size_t i = 0;
  while (i < text.size() && !IsPlaceholder(text[i]) && text[i] != '.') ++i;
  mask.prefix = text.substr(0, i);
  int count = 0;
  int firstZero = -1;
  for (; i < text.size() && IsPlaceholder(text[i]); ++i, ++count) {
    if (text[i] == '0' && firstZero < 0) firstZero = count;
  }
  mask.minInt = firstZero < 0 ? 0 : count - firstZero;
  if (i < text.size() && text[i] == '.') {
    ++i;
    int lastZero = -1;
    int decimals = 0;
    for (; i < text.size() && IsPlaceholder(text[i]); ++i, ++decimals) {
      if (text[i] == '0') lastZero = decimals;
    }
    mask.maxDec = decimals;
    mask.minDec = lastZero + 1;
  }
  mask.suffix = text.substr(i);
  return mask;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string FormatFloatMask(double value, std::string_view mask, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (mask.find_first_of("0#") == std::string_view::npos) {
    return FormatGeneral(value, decimalSeparator);
  }
  const Mask parts = ParseMask(mask);
  Decimal d = ToDecimal(value);
  RoundDecimal(d, parts.maxDec);
  std::string out(parts.prefix);
  out += WriteFixed(d, parts.minInt, parts.minDec, parts.maxDec, decimalSeparator);
  out += parts.suffix;
  return out;
}

std::string FormatGeneral(double value, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFinite(value);
  const Decimal d = ToDecimal(value);
  if (d.digits.empty()) return "0";
  std::string out = d.negative ? "-" : "";
  // Fixed notation for 1e-5 <= |x| < 1e15, the range where it needs no more
  // than the 15 digits plus leading zeros that a reader can still count.
  if (d.exponent > kSignificantDigits || d.exponent < -4) {
    out += d.digits[0];
    if (d.digits.size() > 1) {
      out += decimalSeparator;
      out.append(d.digits, 1);
    }
    out += 'E';
    out += std::to_string(d.exponent - 1);
    return out;
  }
  const int decimals = static_cast<int>(d.digits.size()) - d.exponent;
  return WriteFixed(d, 1, 0, decimals < 0 ? 0 : decimals, decimalSeparator);
}

std::string FormatFixed(double value, int decimals, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFinite(value);
  // Beyond 18 decimals a value taken to 15 digits has nothing more to show.
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  Decimal d = ToDecimal(value);
  RoundDecimal(d, decimals);
  return WriteFixed(d, 1, decimals, decimals, decimalSeparator);
}

std::optional<double> ParseFloat(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Checked by hand: std::from_chars would also take "inf", "nan" and hex.
  std::string body;
  std::size_t i = 0;
  int mantissaDigits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) body += text[i];
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    body += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) body += text[i];
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    body += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) body += text[i++];
    int exponentDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits) body += text[i];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> ParseInt(std::string_view text) {
  text = TrimBlanks(text);
  std::string body;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    if (text.front() == '-') body += '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
  }
  body.append(text);
  std::int32_t value = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return std::nullopt;
  return value;
}

namespace {

// Saturates instead of leaving the conversion undefined for huge or NaN input.
std::int64_t ToInt64(double integral) {
  if (std::isnan(integral)) return 0;
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (integral >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (integral < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(integral);
}

}  // namespace

// floor, trunc and the subtraction of a double's integral part are exact and
// independent of the FP rounding mode, unlike nearbyint or rint.
std::int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return ToInt64(value);
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return ToInt64(below);
  if (fraction > 0.5) return ToInt64(below + 1);
  return ToInt64(std::fmod(below, 2.0) == 0 ? below : below + 1);
}

std::int64_t RoundHalfAwayFromZero(double value) {
  if (!std::isfinite(value)) return ToInt64(value);
  const double magnitude = std::fabs(value);
  const double whole = std::trunc(magnitude);
  const double rounded = magnitude - whole >= 0.5 ? whole + 1 : whole;
  return ToInt64(value < 0 ? -rounded : rounded);
}

}  // namespace korval
