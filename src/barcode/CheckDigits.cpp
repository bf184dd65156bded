#include "barcode/CheckDigits.h"

namespace korval {

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int Gs1CheckDigit(std::string_view digits) {
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += (*it - '0') * weight;
    weight = 4 - weight;
  }
  return (10 - sum % 10) % 10;
}

std::string ExpandUpcE(std::string_view sixDigits) {
  const std::string d(sixDigits);
  // The last digit tells where the zeros of the manufacturer and product
  // numbers were suppressed.
  switch (d[5]) {
    case '0':
    case '1':
    case '2':
      return "0" + d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    case '3':
      return "0" + d.substr(0, 3) + "00000" + d.substr(3, 2);
    case '4':
      return "0" + d.substr(0, 4) + "00000" + d[4];
    default:
      return "0" + d.substr(0, 5) + "0000" + d[5];
  }
}

int UpcECheckDigit(std::string_view sixDigits) {
  return Gs1CheckDigit(ExpandUpcE(sixDigits));
}

int Code11Value(char c) {
  return c == '-' ? 10 : c - '0';
}

char Code11Char(int value) {
  return value == 10 ? '-' : static_cast<char>('0' + value);
}

namespace {

int WeightedSum(std::string_view text, int maxWeight) {
  int sum = 0;
  int weight = 1;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    sum += Code11Value(*it) * weight;
    weight = weight == maxWeight ? 1 : weight + 1;
  }
  return sum % 11;
}

}  // namespace

std::string Code11CheckChars(std::string_view data) {
  std::string withC(data);
  withC += Code11Char(WeightedSum(data, 10));
  const char k = Code11Char(WeightedSum(withC, 9));
  return std::string{withC.back(), k};
}

}  // namespace korval
