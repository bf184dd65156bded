#include "barcode/EanUpcEncoder.h"

#include <array>

#include "barcode/BarcodeError.h"
#include "barcode/CheckDigits.h"

namespace korval {

namespace {

// The GS1 number sets, seven modules per digit.
// Set A has odd parity, set B even parity (set C reversed), set C is set A
// inverted; right-hand digits always use set C.
constexpr std::array<std::string_view, 10> kSetA = {
    "0001101", "0011001", "0010011", "0111101", "0100011",
    "0110001", "0101111", "0111011", "0110111", "0001011",
};
constexpr std::array<std::string_view, 10> kSetB = {
    "0100111", "0110011", "0011011", "0100001", "0011101",
    "0111001", "0000101", "0010001", "0001001", "0010111",
};
constexpr std::array<std::string_view, 10> kSetC = {
    "1110010", "1100110", "1101100", "1000010", "1011100",
    "1001110", "1010000", "1000100", "1001000", "1110100",
};

// EAN-13: the first digit is not drawn; it is the choice of sets A and B for
// the six left-hand digits.
constexpr std::array<std::string_view, 10> kEan13Parity = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
    "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

// UPC-E, number system 0: the check digit is not drawn; it is the choice of
// sets A and B for the six digits.
constexpr std::array<std::string_view, 10> kUpcEParity = {
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
    "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",
};

constexpr std::string_view kNormalGuard = "101";
constexpr std::string_view kCentreGuard = "01010";
constexpr std::string_view kUpcEEndGuard = "010101";

void RequireDigits(std::string_view code, std::string_view symbology) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code[i] < '0' || code[i] > '9') {
      throw BarcodeError(std::string(symbology) + ": character " + std::to_string(i + 1) +
                         " of the code is not a digit");
    }
  }
}

void AppendDigit(BarcodeElementList& list, char digit, char set) {
  const int d = digit - '0';
  const std::string_view pattern = set == 'A' ? kSetA[d] : set == 'B' ? kSetB[d] : kSetC[d];
  AppendModules(list, pattern, false);
}

// Start guard, left digits with their sets, centre guard, right digits in
// set C, end guard.
BarcodeElementList EncodeTwoHalves(std::string_view left, std::string_view leftSets,
                                   std::string_view right) {
  BarcodeElementList list;
  list.reserve(64);
  AppendModules(list, kNormalGuard, true);
  for (std::size_t i = 0; i < left.size(); ++i) AppendDigit(list, left[i], leftSets[i]);
  AppendModules(list, kCentreGuard, true);
  for (char digit : right) AppendDigit(list, digit, 'C');
  AppendModules(list, kNormalGuard, true);
  return list;
}

}  // namespace

std::string CompleteEanUpcDigits(std::string_view code, int length) {
  const auto size = static_cast<std::size_t>(length);
  if (code.size() + 1 == size) {
    std::string digits(code);
    digits += static_cast<char>('0' + Gs1CheckDigit(code));
    return digits;
  }
  std::string digits(code.substr(0, size));
  digits.resize(size, '0');
  return digits;
}

BarcodeElementList EncodeEan13(std::string_view code) {
  RequireDigits(code, "EAN-13");
  const std::string d = CompleteEanUpcDigits(code, 13);
  const std::string_view digits(d);
  return EncodeTwoHalves(digits.substr(1, 6), kEan13Parity[d[0] - '0'], digits.substr(7, 6));
}

BarcodeElementList EncodeEan8(std::string_view code) {
  RequireDigits(code, "EAN-8");
  const std::string d = CompleteEanUpcDigits(code, 8);
  const std::string_view digits(d);
  return EncodeTwoHalves(digits.substr(0, 4), "AAAA", digits.substr(4, 4));
}

BarcodeElementList EncodeUpcA(std::string_view code) {
  RequireDigits(code, "UPC-A");
  const std::string d = CompleteEanUpcDigits(code, 12);
  const std::string_view digits(d);
  return EncodeTwoHalves(digits.substr(0, 6), "AAAAAA", digits.substr(6, 6));
}

BarcodeElementList EncodeUpcE(std::string_view code) {
  RequireDigits(code, "UPC-E");
  std::string digits(code.substr(0, 6));
  digits.resize(6, '0');
  const std::string_view sets = kUpcEParity[UpcECheckDigit(digits)];
  BarcodeElementList list;
  list.reserve(32);
  AppendModules(list, kNormalGuard, true);
  for (std::size_t i = 0; i < digits.size(); ++i) AppendDigit(list, digits[i], sets[i]);
  AppendModules(list, kUpcEEndGuard, true);
  return list;
}

}  // namespace korval
