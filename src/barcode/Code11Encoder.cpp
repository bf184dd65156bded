#include "barcode/Code11Encoder.h"

#include <array>
#include <string>

#include "barcode/BarcodeError.h"
#include "barcode/CheckDigits.h"

namespace korval {

namespace {

// Bar, space, bar, space, bar for the values 0..9 and "-" (10).
constexpr std::array<std::string_view, 11> kCharWidths = {
    "nnnnw", "wnnnw", "nwnnw", "wwnnn", "nnwnw", "wnwnn",
    "nwwnn", "nnnww", "wnnwn", "wnnnn", "nnwnn",
};
constexpr std::string_view kStartStop = "nnwwn";

bool IsCode11Char(char c) {
  return (c >= '0' && c <= '9') || c == '-';
}

}  // namespace

BarcodeElementList EncodeCode11(std::string_view code, bool addCheckChars, int wideModules) {
  for (char c : code) {
    if (!IsCode11Char(c)) throw BarcodeError("Code 11: the code may hold digits and \"-\" only");
  }
  if (wideModules < 1) throw BarcodeError("Code 11: wide elements need a width");
  std::string data(code);
  if (addCheckChars) data += Code11CheckChars(code);

  BarcodeElementList list;
  list.reserve(data.size() * 6 + 12);
  AppendNarrowWide(list, kStartStop, true, wideModules, true);
  AppendNarrowWide(list, "n", false, wideModules, false);
  for (char c : data) {
    AppendNarrowWide(list, kCharWidths[Code11Value(c)], true, wideModules, false);
    AppendNarrowWide(list, "n", false, wideModules, false);
  }
  AppendNarrowWide(list, kStartStop, true, wideModules, true);
  return list;
}

}  // namespace korval
