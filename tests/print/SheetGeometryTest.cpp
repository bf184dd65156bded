#include "print/SheetGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace korval {
namespace {

// A resolution that printers report: dpi / 25.4 taken to single precision.
float DotsPerMmAt(int dpi) {
  return static_cast<float>(dpi / 25.4);
}

// Exactly representable resolutions, different per axis, so that a value
// converted along the wrong axis shows.
const PrinterResolution kTenByTwenty{10.0f, 20.0f};

TEST(ConvertEditText, TenMillimetresAt600DpiAndBack) {
  const float dotsPerMm = DotsPerMmAt(600);
  const std::string dots = ConvertEditText("10", dotsPerMm, MeasureUnit::Dots, ',');
  EXPECT_EQ(dots, "236");
  EXPECT_EQ(ConvertEditText(dots, dotsPerMm, MeasureUnit::Millimetres, ','), "9,991");
  EXPECT_EQ(ConvertEditText(dots, dotsPerMm, MeasureUnit::Millimetres, '.'), "9.991");
}

TEST(ConvertEditText, ToDotsTruncatesTowardsZero) {
  // 1 mm at 600 dpi is 23.62 dots; rounding would give 24.
  EXPECT_EQ(ConvertEditText("1", DotsPerMmAt(600), MeasureUnit::Dots, ','), "23");
  EXPECT_EQ(ConvertEditText("0,99", 1.0f, MeasureUnit::Dots, ','), "0");
  EXPECT_EQ(ConvertEditText("2,5", 1.0f, MeasureUnit::Dots, ','), "2");
}

TEST(ConvertEditText, ResolutionIsSinglePrecision) {
  // 360 / 25.4 in single precision lies a hair below the exact value, so an
  // inch truncates to 359 dots.
  EXPECT_EQ(ConvertEditText("25,4", DotsPerMmAt(360), MeasureUnit::Dots, ','), "359");
  EXPECT_EQ(ConvertEditText("25,4", DotsPerMmAt(600), MeasureUnit::Dots, ','), "600");
}

TEST(ConvertEditText, ToMillimetresShowsAtMostThreeDecimals) {
  EXPECT_EQ(ConvertEditText("300", DotsPerMmAt(300), MeasureUnit::Millimetres, ','), "25,4");
  EXPECT_EQ(ConvertEditText("100", 10.0f, MeasureUnit::Millimetres, ','), "10");
  EXPECT_EQ(ConvertEditText("1", 3.0f, MeasureUnit::Millimetres, ','), "0,333");
  EXPECT_EQ(ConvertEditText("0", 3.0f, MeasureUnit::Millimetres, ','), "0");
}

TEST(ConvertEditText, UnreadableTextConvertsAsZero) {
  EXPECT_EQ(ConvertEditText("", 10.0f, MeasureUnit::Dots, ','), "0");
  EXPECT_EQ(ConvertEditText("x", 10.0f, MeasureUnit::Millimetres, ','), "0");
}

TEST(ConvertEditText, TrailingCommaReadsAsWholeNumber) {
  // Left in a millimetre edit while the user was typing decimals.
  EXPECT_EQ(ConvertEditText("12,", 10.0f, MeasureUnit::Dots, ','), "120");
}

TEST(ConvertSheetEdits, SameUnitChangesNothing) {
  const SheetEdits edits;
  EXPECT_TRUE(
      ConvertSheetEdits(edits, MeasureUnit::Dots, MeasureUnit::Dots, kTenByTwenty, ',').empty());
  EXPECT_TRUE(ConvertSheetEdits(edits, MeasureUnit::Millimetres, MeasureUnit::Millimetres,
                                kTenByTwenty, ',')
                  .empty());
}

TEST(ConvertSheetEdits, ToDotsInOrderAlongEachAxis) {
  SheetEdits edits;
  edits.meOdsazX = "1";
  edits.meOdsazY = "1";
  edits.meOdsazLev = "2";
  edits.meOdsazHorni = "2";
  edits.rxseOsax = "3";
  edits.rxseOsay = "3";
  const std::vector<EditChange> expected = {
      {SheetEdit::HorizontalGap, "10"}, {SheetEdit::VerticalGap, "20"},
      {SheetEdit::LeftMargin, "20"},    {SheetEdit::TopMargin, "40"},
      {SheetEdit::LabelWidth, "30"},    {SheetEdit::LabelHeight, "60"}};
  EXPECT_EQ(
      ConvertSheetEdits(edits, MeasureUnit::Millimetres, MeasureUnit::Dots, kTenByTwenty, ','),
      expected);
}

TEST(ConvertSheetEdits, ToMillimetresInOrderAlongEachAxis) {
  SheetEdits edits;
  edits.meOdsazX = "15";
  edits.meOdsazY = "15";
  edits.meOdsazLev = "5";
  edits.meOdsazHorni = "5";
  edits.rxseOsax = "400";
  edits.rxseOsay = "400";
  const std::vector<EditChange> expected = {
      {SheetEdit::HorizontalGap, "1,5"}, {SheetEdit::VerticalGap, "0,75"},
      {SheetEdit::LeftMargin, "0,5"},    {SheetEdit::TopMargin, "0,25"},
      {SheetEdit::LabelWidth, "40"},     {SheetEdit::LabelHeight, "20"}};
  EXPECT_EQ(
      ConvertSheetEdits(edits, MeasureUnit::Dots, MeasureUnit::Millimetres, kTenByTwenty, ','),
      expected);
}

TEST(SheetEdits, DefaultsNamesAndAxes) {
  const SheetEdits edits;
  EXPECT_EQ(edits.meOdsazHorni, "0");
  EXPECT_EQ(edits.meOdsazLev, "0");
  EXPECT_EQ(edits.meOdsazX, "0");
  EXPECT_EQ(edits.meOdsazY, "0");
  EXPECT_EQ(edits.rxseOsax, "100");
  EXPECT_EQ(edits.rxseOsay, "100");

  // Each edit's text is reached under the control name it is stored as.
  SheetEdits named;
  for (const SheetEdit edit : kUnitConversionOrder) named.Text(edit) = SheetEditName(edit);
  EXPECT_EQ(named.meOdsazX, "meOdsazX");
  EXPECT_EQ(named.meOdsazY, "meOdsazY");
  EXPECT_EQ(named.meOdsazLev, "meOdsazLev");
  EXPECT_EQ(named.meOdsazHorni, "meOdsazHorni");
  EXPECT_EQ(named.rxseOsax, "rxseOsax");
  EXPECT_EQ(named.rxseOsay, "rxseOsay");

  EXPECT_TRUE(IsHorizontal(SheetEdit::HorizontalGap));
  EXPECT_TRUE(IsHorizontal(SheetEdit::LeftMargin));
  EXPECT_TRUE(IsHorizontal(SheetEdit::LabelWidth));
  EXPECT_FALSE(IsHorizontal(SheetEdit::VerticalGap));
  EXPECT_FALSE(IsHorizontal(SheetEdit::TopMargin));
  EXPECT_FALSE(IsHorizontal(SheetEdit::LabelHeight));
}

TEST(NormaliseEditText, TrailingCommaKeptWhileTypingMillimetres) {
  EXPECT_EQ(NormaliseEditText("12,", MeasureUnit::Millimetres, ','), std::nullopt);
  EXPECT_EQ(NormaliseEditText("12,5", MeasureUnit::Millimetres, ','), std::nullopt);
  EXPECT_EQ(NormaliseEditText(",", MeasureUnit::Millimetres, ','), std::nullopt);
}

TEST(NormaliseEditText, TrailingCommaDroppedInDots) {
  EXPECT_EQ(NormaliseEditText("12,", MeasureUnit::Dots, ','), "12");
}

TEST(NormaliseEditText, EmptyOrUnreadableBecomesZero) {
  for (const MeasureUnit unit : {MeasureUnit::Dots, MeasureUnit::Millimetres}) {
    EXPECT_EQ(NormaliseEditText("", unit, ','), "0");
    EXPECT_EQ(NormaliseEditText("abc", unit, ','), "0");
    EXPECT_EQ(NormaliseEditText("0", unit, ','), std::nullopt);
  }
}

TEST(NormaliseEditText, RewritesToAtMostThreeDecimals) {
  EXPECT_EQ(NormaliseEditText("007", MeasureUnit::Dots, ','), "7");
  EXPECT_EQ(NormaliseEditText("1,23456", MeasureUnit::Millimetres, ','), "1,235");
  EXPECT_EQ(NormaliseEditText("2,500", MeasureUnit::Millimetres, ','), "2,5");
  EXPECT_EQ(NormaliseEditText("1234567", MeasureUnit::Dots, ','), std::nullopt);
}

constexpr std::array<SheetEdit, 4> kOffsetEdits = {SheetEdit::HorizontalGap, SheetEdit::VerticalGap,
                                                   SheetEdit::LeftMargin, SheetEdit::TopMargin};

TEST(AcceptsEditKey, DigitsAndBackspaceInBothUnits) {
  for (const MeasureUnit unit : {MeasureUnit::Dots, MeasureUnit::Millimetres}) {
    for (const SheetEdit edit : kUnitConversionOrder) {
      for (char32_t key = U'0'; key <= U'9'; ++key) EXPECT_TRUE(AcceptsEditKey(key, unit, edit));
      EXPECT_TRUE(AcceptsEditKey(8, unit, edit));
      for (const char32_t key : {U'+', U'a', U' ', U'č', U'e', char32_t{127}, char32_t{13}}) {
        EXPECT_FALSE(AcceptsEditKey(key, unit, edit)) << static_cast<unsigned>(key);
      }
    }
  }
}

// "50.8" typed under a Czech locale is 50,8 mm, not 508.
TEST(AcceptsEditKey, CommaOrDotOnlyInMillimetres) {
  for (const SheetEdit edit : kUnitConversionOrder) {
    for (const char32_t mark : {U',', U'.'}) {
      EXPECT_TRUE(AcceptsEditKey(mark, MeasureUnit::Millimetres, edit));
      EXPECT_FALSE(AcceptsEditKey(mark, MeasureUnit::Dots, edit));
    }
  }
}

TEST(AcceptsEditKey, MinusOnlyInTheFourOffsetEdits) {
  for (const MeasureUnit unit : {MeasureUnit::Dots, MeasureUnit::Millimetres}) {
    for (const SheetEdit edit : kOffsetEdits) EXPECT_TRUE(AcceptsEditKey(U'-', unit, edit));
    EXPECT_FALSE(AcceptsEditKey(U'-', unit, SheetEdit::LabelWidth));
    EXPECT_FALSE(AcceptsEditKey(U'-', unit, SheetEdit::LabelHeight));
  }
}

TEST(NormaliseEditText, DotTypedUnderACommaLocale) {
  EXPECT_EQ(NormaliseEditText("50.", MeasureUnit::Millimetres, ','), std::nullopt);
  EXPECT_EQ(NormaliseEditText("50.8", MeasureUnit::Millimetres, ','), "50,8");
  EXPECT_DOUBLE_EQ(LabelWidthMm("50.8", MeasureUnit::Millimetres, kTenByTwenty), 50.8);
  EXPECT_EQ(NormaliseEditText("50.", MeasureUnit::Dots, ','), "50");
}

TEST(NormaliseEditText, LeadingMinusKeptWhileTypingAndNegativesStay) {
  for (const MeasureUnit unit : {MeasureUnit::Dots, MeasureUnit::Millimetres}) {
    EXPECT_EQ(NormaliseEditText("-", unit, ','), std::nullopt);
    EXPECT_EQ(NormaliseEditText("-0", unit, ','), std::nullopt);
    EXPECT_EQ(NormaliseEditText("-12", unit, ','), std::nullopt);
    EXPECT_EQ(NormaliseEditText("-012", unit, ','), "-12");
  }
  EXPECT_EQ(NormaliseEditText("-2,5", MeasureUnit::Millimetres, ','), std::nullopt);
  EXPECT_EQ(NormaliseEditText("-2.", MeasureUnit::Millimetres, ','), std::nullopt);
}

TEST(LabelSize, DotsDivideByTheAxisResolution) {
  EXPECT_DOUBLE_EQ(LabelWidthMm("100", MeasureUnit::Dots, kTenByTwenty), 10.0);
  EXPECT_DOUBLE_EQ(LabelHeightMm("100", MeasureUnit::Dots, kTenByTwenty), 5.0);
}

TEST(LabelSize, MillimetresAreTakenAsTheyStand) {
  EXPECT_DOUBLE_EQ(LabelWidthMm("12,5", MeasureUnit::Millimetres, kTenByTwenty), 12.5);
  EXPECT_DOUBLE_EQ(LabelHeightMm("40", MeasureUnit::Millimetres, kTenByTwenty), 40.0);
}

TEST(LabelSize, UnreadableTextIsZero) {
  EXPECT_EQ(LabelWidthMm("", MeasureUnit::Dots, kTenByTwenty), 0.0);
  EXPECT_EQ(LabelHeightMm("?", MeasureUnit::Millimetres, kTenByTwenty), 0.0);
}

// A width typed far beyond any label overflowed the design surface's pixels.
TEST(LabelSize, FarBeyondAnyLabelIsTakenAtTheLimit) {
  EXPECT_EQ(LabelWidthMm("99999999999", MeasureUnit::Dots, kTenByTwenty), kMaxLabelMm);
  EXPECT_EQ(LabelHeightMm("99999999999", MeasureUnit::Millimetres, kTenByTwenty), kMaxLabelMm);
  EXPECT_EQ(LabelWidthMm("-5", MeasureUnit::Millimetres, kTenByTwenty), 0.0);
  EXPECT_DOUBLE_EQ(LabelWidthMm("10000", MeasureUnit::Millimetres, kTenByTwenty), 10000.0);
}

TEST(PrinterResolution, DefaultIs300Dpi) {
  const PrinterResolution resolution;
  EXPECT_EQ(resolution.DotsPerMmX, DotsPerMmAt(300));
  EXPECT_EQ(resolution.DotsPerMmY, DotsPerMmAt(300));
}

}  // namespace
}  // namespace korval
