#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korval {

// The sheet of labels as the user enters it on the "Parametry" tab: six edit
// texts in one measurement unit, and the printer resolution that ties
// millimetres to printer dots. These are the plain rules behind the unit
// combo, the change handler and the key filter of the six edits; the dialog
// calls them with its controls' texts and writes back what they return.

// Mirrors the index of the unit combo ("pt.", "mm"). The value is stored with
// a label format as the combo index, hence the fixed numbers.
enum class MeasureUnit : std::int32_t { Dots = 0, Millimetres = 1 };

// Resolution assumed when no printer is installed: 300 dpi.
inline constexpr float kNoPrinterDotsPerMm = 11.811024f;

// Printer dots per millimetre. Kept in single precision on purpose: the
// conversions our users' stored formats were made with used 32-bit values,
// and the difference shows where a conversion truncates: 360 dpi is
// 14.1732283 here, a hair below 360 / 25.4, so 25,4 mm become 359 dots.
struct PrinterResolution {
  float DotsPerMmX = kNoPrinterDotsPerMm;
  float DotsPerMmY = kNoPrinterDotsPerMm;
  friend bool operator==(const PrinterResolution&, const PrinterResolution&) = default;
};

// The six geometry edits. Width-like ones (horizontal gap, left margin, label
// width) always convert with the horizontal resolution, height-like ones with
// the vertical resolution.
enum class SheetEdit { HorizontalGap, VerticalGap, LeftMargin, TopMargin, LabelWidth, LabelHeight };

// The order in which a unit switch rewrites the edits. It matters to the
// dialog: the four margin and gap edits keep their change handler attached
// while they are rewritten, so their normalisation runs in this order too.
inline constexpr std::array<SheetEdit, 6> kUnitConversionOrder = {
    SheetEdit::HorizontalGap, SheetEdit::VerticalGap, SheetEdit::LeftMargin,
    SheetEdit::TopMargin,     SheetEdit::LabelWidth,  SheetEdit::LabelHeight};

// The control name under which the edit's text is stored ("meOdsazX", ...).
std::string_view SheetEditName(SheetEdit edit);

bool IsHorizontal(SheetEdit edit);

// The dots per millimetre along the edit's axis.
float AxisDotsPerMm(SheetEdit edit, const PrinterResolution& resolution);

// The texts of the six edits with their defaults, always in the current unit.
struct SheetEdits {
  std::string meOdsazHorni = "0";  // top margin
  std::string meOdsazLev = "0";    // left margin
  std::string meOdsazX = "0";      // horizontal gap between labels
  std::string meOdsazY = "0";      // vertical gap between labels
  std::string rxseOsax = "100";    // label width
  std::string rxseOsay = "100";    // label height

  const std::string& Text(SheetEdit edit) const;
  std::string& Text(SheetEdit edit);
  friend bool operator==(const SheetEdits&, const SheetEdits&) = default;
};

// The number in an edit; empty or unreadable text counts as 0. A trailing
// decimal comma, left while the user types, is read as if it were not there.
double EditValue(std::string_view text);

// One edit's text in the target unit: to dots the value times dotsPerMm
// truncated towards zero and written without decimals, to millimetres the
// value divided by dotsPerMm formatted "###0.###". Unreadable text converts
// as 0.
std::string ConvertEditText(std::string_view text, float dotsPerMm, MeasureUnit target,
                            char decimalSeparator);

struct EditChange {
  SheetEdit Edit;
  std::string Text;
  friend bool operator==(const EditChange&, const EditChange&) = default;
};

// The unit switch: every edit's new text, in kUnitConversionOrder, or nothing
// when the unit does not change. The dialog makes target its unit before it
// writes the texts (the margin and gap edits normalise in the new unit as
// they change) and keeps the two label-size edits' change handler detached
// while it writes theirs.
std::vector<EditChange> ConvertSheetEdits(const SheetEdits& edits, MeasureUnit current,
                                          MeasureUnit target, const PrinterResolution& resolution,
                                          char decimalSeparator);

// The change handler's normalisation of one edit. Texts the user is still
// typing are kept: in millimetres a non-empty text ending in a decimal mark
// ("," or "."), and a minus with nothing after it but zeros. Otherwise the
// text becomes its value formatted "#####0.###" with the locale's separator
// (a cleared edit shows "0" at once). Nothing when the text stays as it is.
std::optional<std::string> NormaliseEditText(std::string_view text, MeasureUnit unit,
                                             char decimalSeparator);

// The key filter of the six edits: digits and backspace (8), in millimetres
// also a decimal mark, "," or "." whatever the locale's is (both read the
// same), and in the four offset edits a minus: the sheet may sit before the
// printable corner. Every other key is swallowed.
bool AcceptsEditKey(char32_t key, MeasureUnit unit, SheetEdit edit);

// The largest label side, in millimetres: ten metres of label still fits an
// int in design pixels and in printer dots at any resolution a printer has.
inline constexpr double kMaxLabelMm = 10000;

// Label size in millimetres from the label width (rxseOsax) and height
// (rxseOsay) texts: in dots the value divided by the axis resolution, in
// millimetres the value itself. Unreadable text counts as 0; a size beyond
// 0..kMaxLabelMm is taken at the nearer end, so that every conversion of it to
// pixels or dots fits.
double LabelWidthMm(std::string_view rxseOsax, MeasureUnit unit,
                    const PrinterResolution& resolution);
double LabelHeightMm(std::string_view rxseOsay, MeasureUnit unit,
                     const PrinterResolution& resolution);

}  // namespace korval
