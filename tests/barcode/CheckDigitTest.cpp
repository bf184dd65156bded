#include <gtest/gtest.h>

#include "barcode/CheckDigits.h"
#include "barcode/Interleaved2of5Encoder.h"
#include "barcode/ScanCheck.h"

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

// What an EAN text becomes on the label, and whether it scans: the label
// encodes a full-length code as it stands, so a wrong check digit, a UPC-E
// number outside the zero-suppression rules or a character the symbology
// cannot take gives a symbol that will not scan, or none at all.
struct ScanCase {
  const char* Text;
  const char* Problem;  // a part of the reason; nullptr: scans
};

TEST(CheckDigitTest, CodesThatWillNotScanAreToldWithTheReason) {
  const ScanCase cases[] = {
      {"", nullptr},
      {"5901234123457", nullptr},
      {"5901234123458", "EAN-13 check digit is 8, the digits before it call for 7"},
      {"96385074", nullptr},
      {"96385070", "EAN-8 check digit is 0, the digits before it call for 4"},
      {"036000291452", nullptr},
      {"036000291450", "UPC-A check digit is 0, the digits before it call for 2"},
      {"425261", nullptr},
      {"654304", nullptr},
      {"123453", nullptr},
      {"881613", "UPC-E: a UPC-E number ending in 3 needs a third digit of 3 to 9"},
      {"654034", "UPC-E: a UPC-E number ending in 4 needs a fourth digit other than 0"},
      {"123405", "UPC-E: a UPC-E number ending in 5 to 9 needs a fifth digit other than 0"},
      {"ABC123", "UPC-E: character 1 of the code is not a digit; the label shows no barcode"},
      {"12345", nullptr},
      {"12A", "the label shows no barcode"},
      {"123-456-789", nullptr},
      {"12345678A01", "the label shows no barcode"},
      {"85940010010", nullptr},
      {"1234567890", "no barcode takes a code of 10 characters"},
      {"ŠUN123", "the label shows no barcode"},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.Text);
    const auto problem = WhyBarcodeWillNotScan(c.Text);
    if (c.Problem == nullptr) {
      EXPECT_FALSE(problem.has_value()) << *problem;
    } else {
      ASSERT_TRUE(problem.has_value());
      EXPECT_NE(problem->find(c.Problem), std::string::npos) << *problem;
    }
  }
}

}  // namespace
}  // namespace korval
