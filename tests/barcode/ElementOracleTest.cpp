// Element lists against zint, an encoder written independently from the same
// standards, for thousands of generated codes of every length the label
// selects.
#include <gtest/gtest.h>
#include <zint.h>

#include <random>
#include <string>

#include "ZintOracle.h"
#include "barcode/BarcodeEncoder.h"

namespace korval::test {
namespace {

constexpr int kCodesPerCase = 1500;

class ElementOracleTest : public ::testing::Test {
 protected:
  std::string RandomCode(std::size_t length, std::string_view alphabet = "0123456789") {
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string code;
    for (std::size_t i = 0; i < length; ++i) code += alphabet[pick(random_)];
    return code;
  }

  static std::string Ours(const std::string& code, TBarCodeType type, bool addCheck = false,
                          int wide = 2) {
    BarcodeOptions options;
    options.AddCheckChar = addCheck;
    options.BarNarrowToWideRatio = wide;
    return ModulesOf(BuildElements(code, type, options));
  }

  // zint's modules for a code it must accept.
  static std::string Zint(int symbology, const std::string& code, int option2 = 0) {
    const auto symbol = ZintEncode(symbology, option2, code);
    EXPECT_TRUE(symbol.has_value()) << "zint refused " << code;
    return symbol ? symbol->Modules : std::string();
  }

  std::mt19937 random_{20240611};
};

// A code one digit short gets its check digit: zint computes it too.
TEST_F(ElementOracleTest, ShortCodesGetTheCheckDigitZintComputes) {
  struct Case {
    TBarCodeType type;
    int symbology;
    std::size_t length;
  };
  for (const Case c : {Case{bcEAN_13, BARCODE_EANX, 12}, Case{bcEAN_8, BARCODE_EANX, 7},
                       Case{bcUPC_A, BARCODE_UPCA, 11}}) {
    for (int i = 0; i < kCodesPerCase; ++i) {
      const std::string code = RandomCode(c.length);
      ASSERT_EQ(Ours(code, c.type), Zint(c.symbology, code)) << code;
    }
  }
}

// A full-length code is encoded as it stands. With a correct check digit that
// is zint's symbol; with any other last digit it is zint's symbol for the
// first digits with the last digit's set C pattern in place of the check.
TEST_F(ElementOracleTest, FullLengthCodesEncodeTheirLastDigitUnchecked) {
  struct Case {
    TBarCodeType type;
    int withCheck;     // zint symbology taking the full code, check verified
    int computeCheck;  // zint symbology taking the code one short
    std::size_t length;
    std::size_t lastDigitAt;      // first module of the last digit
    std::size_t carrierIndex;     // the first right-hand digit in the short code
    std::size_t firstRightDigit;  // its first module
  };
  for (const Case c : {Case{bcEAN_13, BARCODE_EANX_CHK, BARCODE_EANX, 13, 85, 7, 50},
                       Case{bcEAN_8, BARCODE_EANX_CHK, BARCODE_EANX, 8, 57, 4, 36},
                       Case{bcUPC_A, BARCODE_UPCA_CHK, BARCODE_UPCA, 12, 85, 6, 50}}) {
    int valid = 0;
    for (int i = 0; i < kCodesPerCase; ++i) {
      const std::string code = RandomCode(c.length);
      const std::string head = code.substr(0, c.length - 1);
      const auto checked = ZintEncode(c.computeCheck, 0, head);
      ASSERT_TRUE(checked.has_value());
      if (checked->Text == code) {
        ++valid;
        ASSERT_EQ(Ours(code, c.type), Zint(c.withCheck, code)) << code;
      }
      // The last digit as the first right-hand digit of an otherwise zero code.
      std::string carrier(c.length - 1, '0');
      carrier[c.carrierIndex] = code.back();
      const std::string lastDigit = Zint(c.computeCheck, carrier).substr(c.firstRightDigit, 7);
      std::string expected = checked->Modules;
      expected.replace(c.lastDigitAt, 7, lastDigit);
      ASSERT_EQ(Ours(code, c.type), expected) << code;
    }
    EXPECT_GT(valid, kCodesPerCase / 20);
  }
}

// zint expands the six digits to UPC-A and takes the check digit there; it
// refuses the few digit strings that do not expand under the GS1 rules, which
// we still encode.
TEST_F(ElementOracleTest, UpcESixDigitsMatchZint) {
  int compared = 0;
  for (int i = 0; i < kCodesPerCase * 2; ++i) {
    const std::string code = RandomCode(6);
    const auto symbol = ZintEncode(BARCODE_UPCE, 0, code);
    if (!symbol) continue;
    ++compared;
    ASSERT_EQ(Ours(code, bcUPC_E), symbol->Modules) << code;
  }
  EXPECT_GT(compared, kCodesPerCase);
}

// zint draws wide elements three modules wide: the narrow/wide sequence must
// agree at our default of two, and the modules themselves at three.
TEST_F(ElementOracleTest, Interleaved2of5MatchesZint) {
  for (bool check : {false, true}) {
    for (std::size_t length = 1; length <= 14; ++length) {
      const int count = length <= 5 ? kCodesPerCase / 3 : 40;
      for (int i = 0; i < count; ++i) {
        const std::string code = RandomCode(length);
        const std::string zint = Zint(BARCODE_C25INTER, code, check ? 1 : 0);
        ASSERT_EQ(NarrowWideOfModules(Ours(code, bcInterleaved2of5, check)),
                  NarrowWideOfModules(zint))
            << code << (check ? " with check" : "");
        ASSERT_EQ(Ours(code, bcInterleaved2of5, check, 3), zint) << code;
      }
    }
  }
}

TEST_F(ElementOracleTest, Code11MatchesZintWithAndWithoutCheckCharacters) {
  // zint's option 2: 0 appends C and K, 2 appends nothing.
  for (bool check : {false, true}) {
    for (std::size_t length = 1; length <= 16; ++length) {
      for (int i = 0; i < kCodesPerCase / 8; ++i) {
        const std::string code = RandomCode(length, "0123456789-");
        const std::string zint = Zint(BARCODE_CODE11, code, check ? 0 : 2);
        ASSERT_EQ(NarrowWideOfModules(Ours(code, bcCode11, check)), NarrowWideOfModules(zint))
            << code << (check ? " with C and K" : "");
        ASSERT_EQ(Ours(code, bcCode11, check), zint) << code;
      }
    }
  }
}

// The GS1 examples and commonly published symbols, through zint's checking
// symbologies, so a wrong check digit anywhere fails.
TEST_F(ElementOracleTest, PublishedExamplesMatchZint) {
  EXPECT_EQ(Ours("5901234123457", bcEAN_13), Zint(BARCODE_EANX_CHK, "5901234123457"));
  EXPECT_EQ(Ours("590123412345", bcEAN_13), Zint(BARCODE_EANX_CHK, "5901234123457"));
  EXPECT_EQ(Ours("4006381333931", bcEAN_13), Zint(BARCODE_EANX_CHK, "4006381333931"));
  EXPECT_EQ(Ours("9638507", bcEAN_8), Zint(BARCODE_EANX_CHK, "96385074"));
  EXPECT_EQ(Ours("85951631", bcEAN_8), Zint(BARCODE_EANX_CHK, "85951631"));
  EXPECT_EQ(Ours("03600029145", bcUPC_A), Zint(BARCODE_UPCA_CHK, "036000291452"));
  EXPECT_EQ(Ours("425261", bcUPC_E), Zint(BARCODE_UPCE_CHK, "04252614"));
  EXPECT_EQ(Ours("654321", bcUPC_E), Zint(BARCODE_UPCE_CHK, "06543217"));
  const auto itf14 = ZintEncode(BARCODE_ITF14, 0, "1540014128876");
  ASSERT_TRUE(itf14.has_value());
  EXPECT_EQ(itf14->Text, "15400141288763");
  EXPECT_EQ(Ours("1540014128876", bcInterleaved2of5, true, 3), itf14->Modules);
}

}  // namespace
}  // namespace korval::test
