#include "platform/NumberFormat.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace korval {
namespace {

constexpr const char* kPrice = "###########0.00";
constexpr const char* kRate = "#######0.00##";
constexpr const char* kEuro = "#######0.00€";

TEST(NumberMask, PricesWithTwoDecimals) {
  EXPECT_EQ(FormatFloatMask(12.5, kPrice, ','), "12,50");
  EXPECT_EQ(FormatFloatMask(0, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(0.5, kPrice, ','), "0,50");
  EXPECT_EQ(FormatFloatMask(129.9, kPrice, ','), "129,90");
  EXPECT_EQ(FormatFloatMask(7, kPrice, ','), "7,00");
  EXPECT_EQ(FormatFloatMask(12.5, kPrice, '.'), "12.50");
  EXPECT_EQ(FormatFloatMask(-12.5, kPrice, ','), "-12,50");
}

TEST(NumberMask, HalvesAsTypedRoundAwayFromZero) {
  // These decimal halves are stored a hair below the half in binary; the
  // user still expects them rounded up.
  EXPECT_EQ(FormatFloatMask(1.005, kPrice, ','), "1,01");
  EXPECT_EQ(FormatFloatMask(2.675, kPrice, ','), "2,68");
  EXPECT_EQ(FormatFloatMask(1.015, kPrice, ','), "1,02");
  EXPECT_EQ(FormatFloatMask(0.125, kPrice, ','), "0,13");
  EXPECT_EQ(FormatFloatMask(-1.005, kPrice, ','), "-1,01");
  EXPECT_EQ(FormatFloatMask(-0.125, kPrice, ','), "-0,13");
  EXPECT_EQ(FormatFloatMask(1.004, kPrice, ','), "1,00");
  EXPECT_EQ(FormatFloatMask(1.0049, kPrice, ','), "1,00");
  // 1.005 × 1000 is 1004.99999999999989 in binary, 1005 to fifteen digits.
  EXPECT_EQ(FormatFloatMask(1.005 * 1000, "#####0", ','), "1005");
}

TEST(NumberMask, CarriesIntoNewDigits) {
  EXPECT_EQ(FormatFloatMask(9.995, kPrice, ','), "10,00");
  EXPECT_EQ(FormatFloatMask(99.999, kPrice, ','), "100,00");
  EXPECT_EQ(FormatFloatMask(-999.996, kPrice, ','), "-1000,00");
  EXPECT_EQ(FormatFloatMask(0.996, kPrice, ','), "1,00");
}

TEST(NumberMask, ValuesRoundingToZeroHaveNoSign) {
  EXPECT_EQ(FormatFloatMask(-0.001, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(-0.0049, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(-0.0, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(-0.4, "#####0", ','), "0");
  EXPECT_EQ(FormatFloatMask(-0.005, kPrice, ','), "-0,01");
  EXPECT_EQ(FormatFloatMask(-0.5, "#####0", ','), "-1");
}

TEST(NumberMask, LargeNumbersAreWrittenWhole) {
  EXPECT_EQ(FormatFloatMask(123456789012.34, kPrice, ','), "123456789012,34");
  EXPECT_EQ(FormatFloatMask(1e15, kPrice, ','), "1000000000000000,00");
  EXPECT_EQ(FormatFloatMask(-1e20, kPrice, ','), "-100000000000000000000,00");
  EXPECT_EQ(FormatFloatMask(1234567.8, "#####0", ','), "1234568");
  // Past fifteen digits the rest is zeros, not binary noise.
  EXPECT_EQ(FormatFloatMask(123456789012345678.0, "0", ','), "123456789012346000");
}

TEST(NumberMask, TinyNumbers) {
  EXPECT_EQ(FormatFloatMask(1e-300, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(0.00499, kPrice, ','), "0,00");
  EXPECT_EQ(FormatFloatMask(0.005, kPrice, ','), "0,01");
  EXPECT_EQ(FormatFloatMask(std::numeric_limits<double>::denorm_min(), kPrice, ','), "0,00");
}

TEST(NumberMask, ExchangeRateWithTwoToFourDecimals) {
  EXPECT_EQ(FormatFloatMask(25.4551, kRate, ','), "25,4551");
  EXPECT_EQ(FormatFloatMask(25, kRate, ','), "25,00");
  EXPECT_EQ(FormatFloatMask(25.4, kRate, ','), "25,40");
  EXPECT_EQ(FormatFloatMask(25.123, kRate, ','), "25,123");
  EXPECT_EQ(FormatFloatMask(25.12345, kRate, ','), "25,1235");
  EXPECT_EQ(FormatFloatMask(25.12344, kRate, ','), "25,1234");
  EXPECT_EQ(FormatFloatMask(25.10001, kRate, ','), "25,10");
  EXPECT_EQ(FormatFloatMask(25.99999, kRate, ','), "26,00");
  EXPECT_EQ(FormatFloatMask(0.0001, kRate, ','), "0,0001");
}

TEST(NumberMask, EuroSuffixIsCopied) {
  EXPECT_EQ(FormatFloatMask(12.5, kEuro, ','), "12,50€");
  EXPECT_EQ(FormatFloatMask(-3, kEuro, ','), "-3,00€");
  EXPECT_EQ(FormatFloatMask(0.499, kEuro, '.'), "0.50€");
  EXPECT_EQ(FormatFloatMask(7, "#0 Kč", ','), "7 Kč");
}

TEST(NumberMask, WholeNumbers) {
  EXPECT_EQ(FormatFloatMask(0.4, "#####0", ','), "0");
  EXPECT_EQ(FormatFloatMask(0.5, "#####0", ','), "1");
  EXPECT_EQ(FormatFloatMask(2.5, "#####0", ','), "3");
  EXPECT_EQ(FormatFloatMask(3.5, "#####0", ','), "4");
  EXPECT_EQ(FormatFloatMask(236.4, "#####0", ','), "236");
  EXPECT_EQ(FormatFloatMask(1181.1024, "#####0", ','), "1181");
  EXPECT_EQ(FormatFloatMask(0, "#####0", ','), "0");
}

TEST(NumberMask, MillimetresWithOptionalDecimals) {
  // 236 printer dots at 600 dpi, back in millimetres.
  EXPECT_EQ(FormatFloatMask(236 / (600 / 25.4), "###0.###", ','), "9,991");
  EXPECT_EQ(FormatFloatMask(10, "###0.###", ','), "10");
  EXPECT_EQ(FormatFloatMask(12.5, "###0.###", ','), "12,5");
  EXPECT_EQ(FormatFloatMask(1.10, "###0.###", ','), "1,1");
  EXPECT_EQ(FormatFloatMask(0, "###0.###", ','), "0");
  EXPECT_EQ(FormatFloatMask(0.0004, "###0.###", ','), "0");
  EXPECT_EQ(FormatFloatMask(0.0005, "###0.###", ','), "0,001");
  EXPECT_EQ(FormatFloatMask(9.9996, "###0.###", ','), "10");
  EXPECT_EQ(FormatFloatMask(12345.678, "###0.###", ','), "12345,678");
  EXPECT_EQ(FormatFloatMask(12.5, "#####0.###", ','), "12,5");
  EXPECT_EQ(FormatFloatMask(100, "#####0.###", ','), "100");
  EXPECT_EQ(FormatFloatMask(-2.25, "#####0.###", ','), "-2,25");
}

TEST(NumberMask, LeadingZeroPlaceholdersPadTheIntegerPart) {
  EXPECT_EQ(FormatFloatMask(7, "000", ','), "007");
  EXPECT_EQ(FormatFloatMask(1234, "000", ','), "1234");
  EXPECT_EQ(FormatFloatMask(0.5, "#.00", ','), ",50");
}

TEST(NumberMask, NonFiniteValuesAreNamed) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatFloatMask(std::numeric_limits<double>::quiet_NaN(), kPrice, ','), "NAN");
  EXPECT_EQ(FormatFloatMask(inf, kPrice, ','), "INF");
  EXPECT_EQ(FormatFloatMask(-inf, kEuro, ','), "-INF");
  EXPECT_EQ(FormatGeneral(inf, ','), "INF");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2, ','), "NAN");
}

TEST(NumberGeneral, UpToFifteenDigitsWithoutTrailingZeros) {
  EXPECT_EQ(FormatGeneral(8.5, ','), "8,5");
  EXPECT_EQ(FormatGeneral(11, ','), "11");
  EXPECT_EQ(FormatGeneral(0.1, ','), "0,1");
  EXPECT_EQ(FormatGeneral(8.26771653543307, ','), "8,26771653543307");
  EXPECT_EQ(FormatGeneral(8.5, '.'), "8.5");
  EXPECT_EQ(FormatGeneral(-8.5, ','), "-8,5");
  EXPECT_EQ(FormatGeneral(0, ','), "0");
  EXPECT_EQ(FormatGeneral(-0.0, ','), "0");
  EXPECT_EQ(FormatGeneral(-1, ','), "-1");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, ','), "0,3");
  EXPECT_EQ(FormatGeneral(1.0 / 3, ','), "0,333333333333333");
  EXPECT_EQ(FormatGeneral(2.0 / 3, ','), "0,666666666666667");
  EXPECT_EQ(FormatGeneral(215.9, ','), "215,9");
  EXPECT_EQ(FormatGeneral(100, ','), "100");
}

TEST(NumberGeneral, ExponentOnlyOutsideOrdinaryMagnitudes) {
  EXPECT_EQ(FormatGeneral(1e-5, ','), "0,00001");
  EXPECT_EQ(FormatGeneral(-1.25e-5, ','), "-0,0000125");
  EXPECT_EQ(FormatGeneral(9.99e-6, ','), "9,99E-6");
  EXPECT_EQ(FormatGeneral(1.5e-6, ','), "1,5E-6");
  EXPECT_EQ(FormatGeneral(999999999999999.0, ','), "999999999999999");
  EXPECT_EQ(FormatGeneral(1e15, ','), "1E15");
  EXPECT_EQ(FormatGeneral(1.5e20, ','), "1,5E20");
  EXPECT_EQ(FormatGeneral(-1.5e20, '.'), "-1.5E20");
  EXPECT_EQ(FormatGeneral(123456789012345678.0, ','), "1,23456789012346E17");
  EXPECT_EQ(FormatGeneral(1e-300, ','), "1E-300");
}

TEST(NumberGeneral, StoredWidthsReadBackUnchanged) {
  for (const double inches : {8.26771653543307, 11.6929133858268, 8.5, 11.0, 3.93700787401575, 0.1,
                              123.456, 1e-5, 1.5e20}) {
    for (const char separator : {',', '.'}) {
      const std::string text = FormatGeneral(inches, separator);
      const auto back = ParseFloat(text);
      ASSERT_TRUE(back.has_value()) << text;
      EXPECT_EQ(*back, inches) << text;
    }
  }
}

TEST(NumberFixed, GivenDecimalsRoundedAwayFromZero) {
  EXPECT_EQ(FormatFixed(215.9, 2, ','), "215,90");
  EXPECT_EQ(FormatFixed(279.4, 2, ','), "279,40");
  EXPECT_EQ(FormatFixed(0, 2, ','), "0,00");
  EXPECT_EQ(FormatFixed(1.005, 2, ','), "1,01");
  EXPECT_EQ(FormatFixed(-1.005, 2, ','), "-1,01");
  EXPECT_EQ(FormatFixed(0.125, 2, '.'), "0.13");
  EXPECT_EQ(FormatFixed(1.0005, 3, ','), "1,001");
  EXPECT_EQ(FormatFixed(2.5, 0, ','), "3");
  EXPECT_EQ(FormatFixed(5, 0, ','), "5");
  EXPECT_EQ(FormatFixed(-0.001, 2, ','), "0,00");
  EXPECT_EQ(FormatFixed(1e20, 2, ','), "100000000000000000000,00");
  EXPECT_EQ(FormatFixed(0.5, 4, ','), "0,5000");
}

TEST(NumberParseFloat, PointOrComma) {
  EXPECT_EQ(ParseFloat("12,5"), 12.5);
  EXPECT_EQ(ParseFloat("12.5"), 12.5);
  EXPECT_EQ(ParseFloat("8,26771653543307"), 8.26771653543307);
  EXPECT_EQ(ParseFloat("0"), 0.0);
  EXPECT_EQ(ParseFloat("007"), 7.0);
  EXPECT_EQ(ParseFloat(",5"), 0.5);
  EXPECT_EQ(ParseFloat("5,"), 5.0);
  EXPECT_EQ(ParseFloat("-1"), -1.0);
}

TEST(NumberParseFloat, SignsBlanksAndExponents) {
  EXPECT_EQ(ParseFloat("  -3,25  "), -3.25);
  EXPECT_EQ(ParseFloat("\t+7\r\n"), 7.0);
  EXPECT_EQ(ParseFloat("1e3"), 1000.0);
  EXPECT_EQ(ParseFloat("1,5E20"), 1.5e20);
  EXPECT_EQ(ParseFloat("1,5E-2"), 0.015);
  EXPECT_EQ(ParseFloat("2E+2"), 200.0);
  EXPECT_EQ(ParseFloat("-1,5e-6"), -1.5e-6);
}

TEST(NumberParseFloat, RejectsWhatIsNotANumber) {
  for (const char* text : {"",    "   ", "abc",  "1,2,3", "1.2,3", "1,2.3",  "12a",  "a12", "1e",
                           "1e+", "e5",  "--1",  "+-1",   "-",     "+",      ",",    ".",   "inf",
                           "nan", "INF", "0x1A", "1 2",   "- 1",   "1,5 Kč", "1e999"}) {
    EXPECT_FALSE(ParseFloat(text).has_value()) << '"' << text << '"';
  }
}

// The host may have put a locale with a decimal comma in force; reading and
// writing must not notice.
TEST(NumberLocale, IndependentOfTheCLocaleInForce) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  bool switched = false;
  for (const char* name :
       {"cs_CZ.UTF-8", "cs_CZ.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      switched = true;
      break;
    }
  }
  if (!switched) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const auto parsedPoint = ParseFloat("12.5");
  const auto parsedComma = ParseFloat("12,5");
  const std::string general = FormatGeneral(8.5, '.');
  const std::string mask = FormatFloatMask(1.005, kPrice, '.');
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(parsedPoint, 12.5);
  EXPECT_EQ(parsedComma, 12.5);
  EXPECT_EQ(general, "8.5");
  EXPECT_EQ(mask, "1.01");
}

TEST(NumberParseInt, SignedDecimalWithBlanks) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt(" -17 "), -17);
  EXPECT_EQ(ParseInt("+5"), 5);
  EXPECT_EQ(ParseInt("007"), 7);
  EXPECT_EQ(ParseInt("0"), 0);
  EXPECT_EQ(ParseInt("-0"), 0);
  EXPECT_EQ(ParseInt("2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberParseInt, RejectsGarbageAndOverflow) {
  for (const char* text :
       {"", "  ", "2147483648", "-2147483649", "99999999999999999999", "12.0", "1,5", "abc", "-",
        "+", "+-3", "-+3", "--3", "0x10", "1 2", "1e3", "12a", "Kč"}) {
    EXPECT_FALSE(ParseInt(text).has_value()) << '"' << text << '"';
  }
}

TEST(NumberRound, HalfEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4), 2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);
  EXPECT_EQ(RoundHalfEven(2.5000000000000004), 3);
  EXPECT_EQ(RoundHalfEven(215.9), 216);
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497);  // 2^52 + 1
  EXPECT_EQ(RoundHalfEven(-4503599627370497.0), -4503599627370497);
}

TEST(NumberRound, HalfAwayFromZero) {
  EXPECT_EQ(RoundHalfAwayFromZero(2.5), 3);
  EXPECT_EQ(RoundHalfAwayFromZero(3.5), 4);
  EXPECT_EQ(RoundHalfAwayFromZero(0.5), 1);
  EXPECT_EQ(RoundHalfAwayFromZero(-0.5), -1);
  EXPECT_EQ(RoundHalfAwayFromZero(-2.5), -3);
  EXPECT_EQ(RoundHalfAwayFromZero(1.4), 1);
  EXPECT_EQ(RoundHalfAwayFromZero(-1.6), -2);
  EXPECT_EQ(RoundHalfAwayFromZero(0.49999999999999994), 0);
  EXPECT_EQ(RoundHalfAwayFromZero(-0.49999999999999994), 0);
  EXPECT_EQ(RoundHalfAwayFromZero(4503599627370497.0), 4503599627370497);
}

TEST(NumberRound, IndependentOfTheFloatingPointRoundingMode) {
  const int saved = std::fegetround();
  for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    const std::int64_t even[] = {RoundHalfEven(2.5), RoundHalfEven(-2.5), RoundHalfEven(3.5),
                                 RoundHalfEven(2.4), RoundHalfEven(-2.6)};
    const std::int64_t away[] = {RoundHalfAwayFromZero(2.5), RoundHalfAwayFromZero(-2.5),
                                 RoundHalfAwayFromZero(2.4), RoundHalfAwayFromZero(-2.6)};
    std::fesetround(saved);
    EXPECT_EQ(even[0], 2) << mode;
    EXPECT_EQ(even[1], -2) << mode;
    EXPECT_EQ(even[2], 4) << mode;
    EXPECT_EQ(even[3], 2) << mode;
    EXPECT_EQ(even[4], -3) << mode;
    EXPECT_EQ(away[0], 3) << mode;
    EXPECT_EQ(away[1], -3) << mode;
    EXPECT_EQ(away[2], 2) << mode;
    EXPECT_EQ(away[3], -3) << mode;
  }
}

TEST(NumberRound, OutOfRangeSaturates) {
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(RoundHalfAwayFromZero(std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace korval
