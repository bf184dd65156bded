// The refresh of the design surface that every edit ends with, and the
// surface's own painting: the label frame and the print-area outlines.
#include <filesystem>

#include "dialog/TfrmMain.h"
#include "platform/Text.h"

namespace korval {

void TfrmMain::ZmVelTiketu() {
  // The label is shown at its real size at the dialog's pixels per inch.
  auto& panel = Ctl<Control>("Panel2");
  panel.SetWidth(static_cast<int>(kPixelsPerInch * LabelWidthMm() / 25.4));
  panel.SetHeight(static_cast<int>(kPixelsPerInch * LabelHeightMm() / 25.4));
}

void TfrmMain::DrawTiket() {
  ZmVelTiketu();
  if (!PrintingJob) UpdateSheetInfo(-1, -1);

  // Each switch mirrors its item; a switch whose state changes runs ItemClick.
  for (Control* child : Ctl<Control>("ScrollBox2").Children()) {
    if (auto* itemSwitch = dynamic_cast<TPropCheckBox*>(child); itemSwitch && itemSwitch->Item)
      itemSwitch->SetChecked(itemSwitch->Item->Visible());
  }
  Ctl<CheckBox>("cbNazev").SetChecked(Ctl<Control>("lNazev").Visible());
  Ctl<CheckBox>("cbCislo").SetChecked(Ctl<Control>("lCislo").Visible() ||
                                      Ctl<Control>("NrEANCode").Visible());
  Ctl<CheckBox>("cbDatum").SetChecked(Ctl<Control>("lDatum").Visible());
  for (const char* n : {"1", "2", "3"}) {
    Ctl<CheckBox>(std::string("cbText") + n)
        .SetChecked(Ctl<Control>(std::string("lText") + n).Visible());
  }
  for (const char* n : {"1", "2", "3"}) ItemClick(Ctl<CheckBox>(std::string("cbText") + n));

  auto& asUnitPrice = Ctl<CheckBox>("CBAsCHMJ");
  asUnitPrice.OnClick = [this](Control& sender) { CBAsCHMJClick(sender); };
  CBAsCHMJClick(asUnitPrice);

  for (const char* n : {"1", "2", "3"}) {
    Ctl<TLabel>(std::string("lText") + n).SetCaption(Ctl<Edit>(std::string("eText") + n).Text());
  }

  auto& picture = Ctl<Control>("imgBitMap");
  auto& pictureFile = Ctl<Edit>("EBitMap");
  const std::string fileName = TrimControl(pictureFile.Text());
  std::error_code error;
  const bool shown = picture.Visible() && !fileName.empty() &&
                     std::filesystem::exists(std::filesystem::u8path(fileName), error);
  auto& pictureSwitch = Ctl<CheckBox>("cbBitMAp");
  pictureSwitch.SetChecked(shown);
  SetEditEnabled(pictureFile, pictureSwitch.Checked());
  picture.SetVisible(pictureSwitch.Checked());

  Ctl<Control>("PaintBox1").Invalidate();
  LeavePlacingMode();
}

void TfrmMain::PaintBox1Paint(Canvas& canvas) {
  CanvasStateGuard keep(canvas);
  canvas.SetBrushStyle(BrushStyle::Solid);
  if (Ctl<CheckBox>("ViewPrintArea").Checked()) {
    canvas.SetBrushColor(kBlack);
    for (int i = 0; i < ComponentCount(); ++i) {
      const Control& c = Component(i);
      if (!c.IsGraphic() || !c.Visible() || c.Tag() <= 9) continue;
      const Rect r = c.BoundsRect();
      canvas.FrameRect(Rect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
    }
  }
  const auto& box = Ctl<Control>("PaintBox1");
  canvas.SetBrushColor(Ctl<CheckBox>("cbRamecek").Checked() ? kBlack : kWhite);
  canvas.FrameRect(Rect{0, 0, box.Width(), box.Height()});
}

}  // namespace korval
