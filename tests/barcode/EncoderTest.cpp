#include <gtest/gtest.h>

#include "ZintOracle.h"
#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodeError.h"

namespace korval::test {
namespace {

BarcodeElementList Build(const std::string& code, TBarCodeType type, bool addCheck = true) {
  BarcodeOptions options;
  options.AddCheckChar = addCheck;
  return BuildElements(code, type, options);
}

TEST(EncoderTest, CharactersTheSymbologyCannotCarryFail) {
  EXPECT_THROW(Build("1234567890A", bcEAN_13), BarcodeError);
  EXPECT_THROW(Build("12345678901X", bcUPC_A), BarcodeError);  // eleven digits and a letter
  EXPECT_THROW(Build("1234 67", bcEAN_8), BarcodeError);
  EXPECT_THROW(Build("12345a", bcUPC_E), BarcodeError);
  EXPECT_THROW(Build("12-4", bcInterleaved2of5), BarcodeError);
  EXPECT_THROW(Build("123+4", bcCode11), BarcodeError);
  EXPECT_THROW(Build("12A", bcCode11, false), BarcodeError);
  // A letter past the digits the symbol carries still fails the code.
  EXPECT_THROW(Build("12345678901234X", bcEAN_13), BarcodeError);
  EXPECT_THROW(Build("čárový", bcEAN_13), BarcodeError);
}

TEST(EncoderTest, SymbologiesTheLabelNeverSelectsAreRefused) {
  for (TBarCodeType type : {bcCodabar, bcCode39, bcCode93, bcCode128})
    EXPECT_THROW(Build("123", type), BarcodeError) << type;
}

TEST(EncoderTest, AnEmptyCodeHasNoElementsInAnySymbology) {
  for (int t = bcUPC_A; t <= bcCode128; ++t)
    EXPECT_TRUE(Build("", static_cast<TBarCodeType>(t)).empty()) << t;
}

TEST(EncoderTest, ElementsAlternateBarsAndSpacesStartingAndEndingWithABar) {
  for (auto [code, type] : {std::pair{"590123412345", bcEAN_13},
                            {"1234567", bcEAN_8},
                            {"03600029145", bcUPC_A},
                            {"654321", bcUPC_E},
                            {"12345", bcInterleaved2of5},
                            {"123-45", bcCode11}}) {
    const BarcodeElementList list = Build(code, type);
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(IsBar(list.front().Kind)) << code;
    EXPECT_TRUE(IsBar(list.back().Kind)) << code;
    for (std::size_t i = 1; i < list.size(); ++i)
      ASSERT_NE(IsBar(list[i].Kind), IsBar(list[i - 1].Kind)) << code << " element " << i;
  }
}

// Start, centre and end patterns are guard elements; in UPC-A too, and only
// those (its outer digits' bars are data bars).
TEST(EncoderTest, GuardPatternsAreGuardElements) {
  const std::string g3 = "GgG";
  const std::string centre = "gGgGg";
  const std::string ean13 = GuardMapOf(Build("590123412345", bcEAN_13));
  ASSERT_EQ(ean13.size(), 95u);
  EXPECT_EQ(ean13.substr(0, 3), g3);
  EXPECT_EQ(ean13.substr(45, 5), centre);
  EXPECT_EQ(ean13.substr(92), g3);
  EXPECT_EQ(ean13.substr(3, 42).find_first_of("Gg"), std::string::npos);
  EXPECT_EQ(ean13.substr(50, 42).find_first_of("Gg"), std::string::npos);

  const std::string upcA = GuardMapOf(Build("03600029145", bcUPC_A));
  EXPECT_EQ(upcA.substr(0, 3), g3);
  EXPECT_EQ(upcA.substr(45, 5), centre);
  EXPECT_EQ(upcA.substr(92), g3);
  EXPECT_EQ(upcA.substr(3, 42).find_first_of("Gg"), std::string::npos);

  const std::string ean8 = GuardMapOf(Build("1234567", bcEAN_8));
  ASSERT_EQ(ean8.size(), 67u);
  EXPECT_EQ(ean8.substr(0, 3), g3);
  EXPECT_EQ(ean8.substr(31, 5), centre);
  EXPECT_EQ(ean8.substr(64), g3);

  const std::string upcE = GuardMapOf(Build("654321", bcUPC_E));
  ASSERT_EQ(upcE.size(), 51u);
  EXPECT_EQ(upcE.substr(0, 3), g3);
  EXPECT_EQ(upcE.substr(45), "gGgGgG");
  EXPECT_EQ(upcE.substr(3, 42).find_first_of("Gg"), std::string::npos);

  // ITF: start "narrow bar, narrow space, narrow bar, narrow space" and stop
  // "wide bar, narrow space, narrow bar", wide being two modules.
  const BarcodeElementList itf = Build("12", bcInterleaved2of5, false);
  const std::string itfMap = GuardMapOf(itf);
  EXPECT_EQ(itfMap.substr(0, 4), "GgGg");
  EXPECT_EQ(itfMap.substr(itfMap.size() - 4), "GGgG");
  EXPECT_EQ(itfMap.substr(4, itfMap.size() - 8).find_first_of("Gg"), std::string::npos);

  const std::string code11 = GuardMapOf(Build("1", bcCode11, false));
  EXPECT_EQ(code11,
            "GgGGggG"
            "0"
            "1101011"
            "0"
            "GgGGggG");
}

TEST(EncoderTest, WideElementsTakeTheNarrowToWideRatio) {
  BarcodeOptions options;
  options.AddCheckChar = false;
  options.BarNarrowToWideRatio = 3;
  // "1" is wide, narrow, narrow, narrow, wide.
  EXPECT_EQ(ModulesOf(BuildElements("1", bcCode11, options)),
            "101110001"
            "0"
            "111010111"
            "0"
            "101110001");
  options.BarNarrowToWideRatio = 0;
  EXPECT_THROW(BuildElements("12", bcInterleaved2of5, options), BarcodeError);
}

// Two-width symbologies keep bars and spaces of one module alike.
TEST(EncoderTest, TwoWidthSymbologiesIgnoreTheBarToSpaceRatio) {
  for (TBarCodeType type : {bcInterleaved2of5, bcCode11, bcCode39, bcCode93, bcCode128})
    EXPECT_EQ(EffectiveBarToSpaceRatio(type, 2.5), 1.0) << type;
  for (TBarCodeType type : {bcUPC_A, bcUPC_E, bcEAN_8, bcEAN_13, bcCodabar})
    EXPECT_EQ(EffectiveBarToSpaceRatio(type, 2.5), 2.5) << type;
}

// Codes of a length the symbology does not take are cut or padded with "0"
// on the right, as the written text is.
TEST(EncoderTest, OtherLengthsAreCutOrPaddedLikeTheWrittenText) {
  EXPECT_EQ(Build("123", bcEAN_8), Build("12300000", bcEAN_8));
  EXPECT_EQ(Build("1234567890", bcEAN_8), Build("12345678", bcEAN_8));
  EXPECT_EQ(Build("12345678901234", bcEAN_13), Build("1234567890123", bcEAN_13));
  EXPECT_EQ(Build("1234", bcUPC_E), Build("123400", bcUPC_E));
  EXPECT_EQ(Build("12345678", bcUPC_E), Build("123456", bcUPC_E));
}

}  // namespace
}  // namespace korval::test
