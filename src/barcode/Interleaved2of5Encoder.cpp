#include "barcode/Interleaved2of5Encoder.h"

#include <array>

#include "barcode/BarcodeError.h"
#include "barcode/CheckDigits.h"

namespace korval {

namespace {

// Two of the five elements of each digit are wide.
constexpr std::array<std::string_view, 10> kDigitWidths = {
    "nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw", "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn",
};

constexpr std::string_view kStart = "nnnn";
constexpr std::string_view kStop = "wnn";

}  // namespace

std::string Interleaved2of5Digits(std::string_view code, bool addCheckChar) {
  std::string digits;
  const bool even = code.size() % 2 == 0;
  if (addCheckChar == even) digits += '0';
  digits += code;
  // The leading "0" does not change the sum, so the check digit is the same
  // whether or not it is counted.
  if (addCheckChar) digits += static_cast<char>('0' + Gs1CheckDigit(digits));
  return digits;
}

BarcodeElementList EncodeInterleaved2of5(std::string_view code, bool addCheckChar,
                                         int wideModules) {
  if (!AllDigits(code)) throw BarcodeError("Interleaved 2 of 5: the code may hold digits only");
  if (wideModules < 1) throw BarcodeError("Interleaved 2 of 5: wide elements need a width");
  const std::string digits = Interleaved2of5Digits(code, addCheckChar);
  BarcodeElementList list;
  list.reserve(digits.size() * 5 + 8);
  AppendNarrowWide(list, kStart, true, wideModules, true);
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    const std::string_view bars = kDigitWidths[digits[i] - '0'];
    const std::string_view spaces = kDigitWidths[digits[i + 1] - '0'];
    for (std::size_t k = 0; k < 5; ++k) {
      const char pair[2] = {bars[k], spaces[k]};
      AppendNarrowWide(list, std::string_view(pair, 2), true, wideModules, false);
    }
  }
  AppendNarrowWide(list, kStop, true, wideModules, true);
  return list;
}

}  // namespace korval
