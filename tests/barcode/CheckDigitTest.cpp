#include <gtest/gtest.h>

#include "barcode/CheckDigits.h"
#include "barcode/Interleaved2of5Encoder.h"

namespace korval {
namespace {

// Check digits of published GS1 examples.
TEST(CheckDigitTest, Gs1ExamplesOfEveryKeyLength) {
  EXPECT_EQ(Gs1CheckDigit("590123412345"), 7);   // EAN-13 5901234123457
  EXPECT_EQ(Gs1CheckDigit("400638133393"), 1);   // EAN-13 4006381333931
  EXPECT_EQ(Gs1CheckDigit("9638507"), 4);        // EAN-8 96385074
  EXPECT_EQ(Gs1CheckDigit("03600029145"), 2);    // UPC-A 036000291452
  EXPECT_EQ(Gs1CheckDigit("1540014128876"), 3);  // GTIN-14 15400141288763
  EXPECT_EQ(Gs1CheckDigit("1234567"), 0);
}

// UPC-E carries the check digit of the UPC-A number it stands for; computed
// on the six digits themselves it would be 1 for "654321", and scanners
// would reject the symbol.
TEST(CheckDigitTest, UpcECheckDigitIsTakenOnTheExpandedNumber) {
  EXPECT_EQ(ExpandUpcE("654321"), "06510000432");
  EXPECT_EQ(UpcECheckDigit("654321"), 7);
  EXPECT_EQ(UpcECheckDigit("425261"), 4);  // the published 04252614
  EXPECT_EQ(UpcECheckDigit("123456"), 5);
}

TEST(CheckDigitTest, UpcEExpandsByItsLastDigit) {
  EXPECT_EQ(ExpandUpcE("120000"), "01200000000");
  EXPECT_EQ(ExpandUpcE("123452"), "01220000345");
  EXPECT_EQ(ExpandUpcE("123453"), "01230000045");
  EXPECT_EQ(ExpandUpcE("123454"), "01234000005");
  EXPECT_EQ(ExpandUpcE("123455"), "01234500005");
  EXPECT_EQ(ExpandUpcE("123459"), "01234500009");
}

// The check digit weighs the rightmost data digit 3, whatever the count; the
// "0" in front only makes the count of digits even.
TEST(CheckDigitTest, Interleaved2of5DigitsGetALeadingZeroAndTheGs1CheckDigit) {
  EXPECT_EQ(Interleaved2of5Digits("1234567", true), "12345670");
  EXPECT_EQ(Interleaved2of5Digits("123456", true), "01234565");
  EXPECT_EQ(Interleaved2of5Digits("1", true), "17");
  EXPECT_EQ(Interleaved2of5Digits("12", true), "0123");
  EXPECT_EQ(Interleaved2of5Digits("12345", false), "012345");
  EXPECT_EQ(Interleaved2of5Digits("1234", false), "1234");
  EXPECT_EQ(Interleaved2of5Digits("1", false), "01");
}

// C weighs 1..10 from the right, K 1..9 over the data and C; "-" counts 10.
TEST(CheckDigitTest, Code11CheckCharacters) {
  EXPECT_EQ(Code11CheckChars("123-45"), "52");
  EXPECT_EQ(Code11CheckChars("1"), "13");
  // Eleven characters: the C weights start again at 1 on the eleventh from
  // the right. 0*1 + 9*2 + 8*3 + 7*4 + 6*5 + 5*6 + 4*7 + 3*8 + 2*9 + 1*10 +
  // 1*1 = 211, and 211 mod 11 = 2 (a weight of 11 there would give 1).
  EXPECT_EQ(Code11CheckChars("11234567890").front(), '2');
  // A C of value 10 is written "-": "0-" sums 10*1 + 0*2.
  EXPECT_EQ(Code11CheckChars("0-").front(), '-');
  EXPECT_EQ(Code11Value('-'), 10);
  EXPECT_EQ(Code11Char(10), '-');
}

}  // namespace
}  // namespace korval
