// The sheet of labels on the "Parametry" tab: the unit switch, the six
// geometry edits and the read-outs, wired to the rules of print/.
#include <utility>

#include "dialog/TfrmMain.h"
#include "platform/LocaleInfo.h"
#include "platform/PrintSurface.h"
#include "print/SheetReadouts.h"

namespace korval {
namespace {

constexpr const char* kUnitCaptions[] = {"Label1", "Label2",      "Label3",
                                         "Label4", "lblOdszXjed", "lblOdszYjed"};

}  // namespace

SheetEdits TfrmMain::CurrentSheetEdits() const {
  SheetEdits edits;
  for (const SheetEdit e : kUnitConversionOrder) {
    edits.Text(e) = Ctl<Edit>(SheetEditName(e)).Text();
  }
  return edits;
}

double TfrmMain::LabelWidthMm() const {
  return korval::LabelWidthMm(Ctl<Edit>("rxseOsax").Text(), Unit, Resolution);
}

double TfrmMain::LabelHeightMm() const {
  return korval::LabelHeightMm(Ctl<Edit>("rxseOsay").Text(), Unit, Resolution);
}

void TfrmMain::UpdateSheetInfo(double paperWidthInches, double paperHeightInches) {
  SheetInfoInput input;
  input.Unit = Unit;
  input.LabelWidthMm = LabelWidthMm();
  input.LabelHeightMm = LabelHeightMm();
  input.Resolution = Resolution;
  input.DecimalSeparator = Locale().DecimalSeparator();
  input.PixelsPerInch = kPixelsPerInch;
  const SheetReadouts readouts = ComputeSheetReadouts(services_.Printer, input);
  Ctl<TLabel>("lblVelTisk").SetCaption(readouts.lblVelTisk);
  if (readouts.lblPopis1) Ctl<TLabel>("lblPopis1").SetCaption(*readouts.lblPopis1);
  Ctl<TLabel>("lblVelEtiket").SetCaption(readouts.lblVelEtiket);
  Ctl<TLabel>("lblTiskarna").SetCaption(readouts.lblTiskarna);
  if (readouts.lblTiskarnaHint) Ctl<TLabel>("lblTiskarna").SetHint(*readouts.lblTiskarnaHint);
  Ctl<TLabel>("lblStrana").SetCaption(readouts.lblStrana);
  Resolution = {readouts.DotsPerMmX, readouts.DotsPerMmY};
  DotsPerPixelX = readouts.DotsPerPixelX;
  DotsPerPixelY = readouts.DotsPerPixelY;
  ApplyCustomPaperSize(services_.Printer, paperWidthInches, paperHeightInches);
}

void TfrmMain::ComboBox1Change(Control&) {
  const int k = Ctl<ComboBox>("ComboBox1").ItemIndex();
  const bool millimetres = k == 1;
  Ctl<TLabel>("lblMJInfo").SetCaption(millimetres ? "milimetr" : "tisk.bod");
  for (const char* name : kUnitCaptions) Ctl<TLabel>(name).SetCaption(millimetres ? "mm" : "pt.");
  ConvertUnits(millimetres ? MeasureUnit::Millimetres : MeasureUnit::Dots);
  UpdateSheetInfo(-1, -1);
}

void TfrmMain::ConvertUnits(MeasureUnit unit) {
  if (unit == Unit) return;
  const std::vector<EditChange> changes =
      ConvertSheetEdits(CurrentSheetEdits(), Unit, unit, Resolution, Locale().DecimalSeparator());
  Unit = unit;
  // The label size must not redraw half-converted: its handlers rest meanwhile.
  auto& width = Ctl<Edit>("rxseOsax");
  auto& height = Ctl<Edit>("rxseOsay");
  const NotifyEvent widthChange = std::exchange(width.OnChange, nullptr);
  const NotifyEvent heightChange = std::exchange(height.OnChange, nullptr);
  // A unit switch keeps the chosen sheet: the values stay the same lengths.
  const bool byProgram = std::exchange(SheetEditsByProgram, true);
  for (const EditChange& change : changes)
    Ctl<Edit>(SheetEditName(change.Edit)).SetText(change.Text);
  SheetEditsByProgram = byProgram;
  width.OnChange = widthChange;
  height.OnChange = heightChange;
}

void TfrmMain::ODChange(Control& sender) {
  auto& edit = static_cast<Edit&>(sender);
  // Edited by hand, the sheet is no longer the template's.
  if (!Loading && !SheetEditsByProgram) Ctl<ComboBox>("cbArch").SetItemIndex(0);
  if (const auto text = NormaliseEditText(edit.Text(), Unit, Locale().DecimalSeparator())) {
    const NotifyEvent handler = std::exchange(edit.OnChange, nullptr);
    edit.SetText(*text);
    edit.OnChange = handler;
  }
  Preview();
}

void TfrmMain::MJEditPress(Control& edit, char32_t& key) {
  for (const SheetEdit e : kUnitConversionOrder) {
    if (SheetEditName(e) == edit.Name()) {
      if (!AcceptsEditKey(key, Unit, e)) key = 0;
      return;
    }
  }
  key = 0;
}

}  // namespace korval
