#include "print/SheetGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/NumberFormat.h"

namespace korval {
namespace {

constexpr std::string_view kToMillimetresMask = "###0.###";
constexpr std::string_view kNormalisedMask = "#####0.###";
constexpr char32_t kBackspace = 8;

// Truncation towards zero that stays defined for any double: far beyond what
// an edit can sensibly hold the result saturates.
std::int64_t TruncToInt64(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9.2e18;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(std::trunc(value));
}

double ToMillimetres(std::string_view text, MeasureUnit unit, float dotsPerMm) {
  const double value = EditValue(text);
  return unit == MeasureUnit::Dots ? value / static_cast<double>(dotsPerMm) : value;
}

// The edit's text in either constness.
template <typename Edits>
auto& TextOf(Edits& edits, SheetEdit edit) {
  switch (edit) {
    case SheetEdit::HorizontalGap:
      return edits.meOdsazX;
    case SheetEdit::VerticalGap:
      return edits.meOdsazY;
    case SheetEdit::LeftMargin:
      return edits.meOdsazLev;
    case SheetEdit::TopMargin:
      return edits.meOdsazHorni;
    case SheetEdit::LabelWidth:
      return edits.rxseOsax;
    case SheetEdit::LabelHeight:
      break;
  }
  return edits.rxseOsay;
}

}  // namespace

std::string_view SheetEditName(SheetEdit edit) {
  switch (edit) {
    case SheetEdit::HorizontalGap:
      return "meOdsazX";
    case SheetEdit::VerticalGap:
      return "meOdsazY";
    case SheetEdit::LeftMargin:
      return "meOdsazLev";
    case SheetEdit::TopMargin:
      return "meOdsazHorni";
    case SheetEdit::LabelWidth:
      return "rxseOsax";
    case SheetEdit::LabelHeight:
      return "rxseOsay";
  }
  return {};
}

bool IsHorizontal(SheetEdit edit) {
  return edit == SheetEdit::HorizontalGap || edit == SheetEdit::LeftMargin ||
         edit == SheetEdit::LabelWidth;
}

float AxisDotsPerMm(SheetEdit edit, const PrinterResolution& resolution) {
  return IsHorizontal(edit) ? resolution.DotsPerMmX : resolution.DotsPerMmY;
}

const std::string& SheetEdits::Text(SheetEdit edit) const {
  return TextOf(*this, edit);
}

std::string& SheetEdits::Text(SheetEdit edit) {
  return TextOf(*this, edit);
}

double EditValue(std::string_view text) {
  return ParseFloat(text).value_or(0.0);
}

std::string ConvertEditText(std::string_view text, float dotsPerMm, MeasureUnit target,
                            char decimalSeparator) {
  const double value = EditValue(text);
  // The resolution enters in single precision, widened only for the product
  // or quotient; see PrinterResolution.
  if (target == MeasureUnit::Dots) {
    return std::to_string(TruncToInt64(value * static_cast<double>(dotsPerMm)));
  }
  return FormatFloatMask(value / static_cast<double>(dotsPerMm), kToMillimetresMask,
                         decimalSeparator);
}

std::vector<EditChange> ConvertSheetEdits(const SheetEdits& edits, MeasureUnit current,
                                          MeasureUnit target, const PrinterResolution& resolution,
                                          char decimalSeparator) {
  std::vector<EditChange> changes;
  if (current == target) return changes;
  changes.reserve(kUnitConversionOrder.size());
  for (const SheetEdit edit : kUnitConversionOrder) {
    changes.push_back({edit, ConvertEditText(edits.Text(edit), AxisDotsPerMm(edit, resolution),
                                             target, decimalSeparator)});
  }
  return changes;
}

std::optional<std::string> NormaliseEditText(std::string_view text, MeasureUnit unit,
                                             char decimalSeparator) {
  if (unit == MeasureUnit::Millimetres && !text.empty() &&
      (text.back() == ',' || text.back() == '.')) {
    return std::nullopt;
  }
  if (!text.empty() && text.front() == '-' &&
      text.find_first_not_of("0", 1) == std::string_view::npos) {
    return std::nullopt;
  }
  std::string normalised = FormatFloatMask(EditValue(text), kNormalisedMask, decimalSeparator);
  if (normalised == text) return std::nullopt;
  return normalised;
}

bool AcceptsEditKey(char32_t key, MeasureUnit unit, SheetEdit edit) {
  if ((key >= U'0' && key <= U'9') || key == kBackspace) return true;
  if (key == U'-') return edit != SheetEdit::LabelWidth && edit != SheetEdit::LabelHeight;
  return unit == MeasureUnit::Millimetres && (key == U',' || key == U'.');
}

namespace {

double LabelSideMm(std::string_view text, MeasureUnit unit, float dotsPerMm) {
  const double mm = ToMillimetres(text, unit, dotsPerMm);
  if (std::isnan(mm)) return 0;
  return std::clamp(mm, 0.0, kMaxLabelMm);
}

}  // namespace

double LabelWidthMm(std::string_view rxseOsax, MeasureUnit unit,
                    const PrinterResolution& resolution) {
  return LabelSideMm(rxseOsax, unit, resolution.DotsPerMmX);
}

double LabelHeightMm(std::string_view rxseOsay, MeasureUnit unit,
                     const PrinterResolution& resolution) {
  return LabelSideMm(rxseOsay, unit, resolution.DotsPerMmY);
}

}  // namespace korval
