// The item menu of the design surface: which entries fit the item it was
// opened on, and what they do to that item. Every entry ends with the
// refresh of the surface, like every other edit.
#include <optional>

#include "dialog/TfrmMain.h"
#include "platform/Ui.h"

namespace korval {
namespace {

// The popup menu is shared by all items; an entry that does not fit the
// current item (or no item at all) changes nothing.
TLabel* AsText(Control* item) {
  return dynamic_cast<TLabel*>(item);
}
TBarCodeControl* AsBarcode(Control* item) {
  return dynamic_cast<TBarCodeControl*>(item);
}
TImage* AsPicture(Control* item) {
  return dynamic_cast<TImage*>(item);
}

}  // namespace

TfrmMain::ItemMenuState TfrmMain::ppMenuPopup(Control& item) {
  SetCurrentItem(&item);
  ItemMenuState menu;
  if (const TBarCodeControl* barcode = AsBarcode(&item)) {
    menu.FontVisible = true;
    menu.GuardBarsVisible = true;
    menu.GuardBarsChecked = barcode->TallGuardBars();
    menu.NumberAboveVisible = true;
    menu.NumberAboveChecked = (barcode->Tag() & 1) != 0;
    // Shown but unusable: a barcode keeps its own proportions.
    menu.FitVisible = true;
    menu.FitEnabled = false;
  } else if (const TImage* picture = AsPicture(&item)) {
    menu.FitVisible = true;
    menu.FitEnabled = true;
    menu.FitChecked = picture->Stretch();
  } else if (const TLabel* text = AsText(&item)) {
    menu.FontVisible = true;
    menu.AlignmentVisible = true;
    menu.Alignment = text->Alignment();
    menu.Layout = text->Layout();
    menu.WordWrapVisible = true;
    menu.WordWrapChecked = text->WordWrap();
    menu.SplitVisible = text->CanSplit() == 1;
    menu.SplitChecked = menu.SplitVisible && text->Linked();
  }
  return menu;
}

void TfrmMain::FontClick() {
  Ui& ui = services_.UserInterface;
  if (TLabel* text = AsText(CurrentItem())) {
    if (const std::optional<Font> chosen = ui.ChooseFont(text->GetFont())) text->SetFont(*chosen);
  } else if (TBarCodeControl* barcode = AsBarcode(CurrentItem())) {
    if (const std::optional<Font> chosen = ui.ChooseFont(barcode->GetFont())) {
      barcode->SetFont(*chosen);
    }
  }
  DrawTiket();
}

void TfrmMain::AlignFont(TAlignment alignment) {
  if (TLabel* text = AsText(CurrentItem())) text->SetAlignment(alignment);
  DrawTiket();
}

void TfrmMain::Nahoru1Click() {
  if (TLabel* text = AsText(CurrentItem())) text->SetLayout(TTextLayout::tlTop);
  DrawTiket();
}

void TfrmMain::Nasted2Click() {
  if (TLabel* text = AsText(CurrentItem())) text->SetLayout(TTextLayout::tlCenter);
  DrawTiket();
}

void TfrmMain::Dol1Click() {
  if (TLabel* text = AsText(CurrentItem())) text->SetLayout(TTextLayout::tlBottom);
  DrawTiket();
}

void TfrmMain::Zalomentextu1Click() {
  if (TLabel* text = AsText(CurrentItem())) text->SetWordWrap(!text->WordWrap());
  DrawTiket();
}

void TfrmMain::NrTopClick() {
  if (TBarCodeControl* barcode = AsBarcode(CurrentItem())) ToggleNumberAbove(*barcode);
  DrawTiket();
}

void TfrmMain::EanGuardClick() {
  if (TBarCodeControl* barcode = AsBarcode(CurrentItem())) ToggleTallGuardBars(*barcode);
  DrawTiket();
}

void TfrmMain::Pizpsobitrozmru1Click() {
  if (TImage* picture = AsPicture(CurrentItem())) picture->SetStretch(!picture->Stretch());
  DrawTiket();
}

void TfrmMain::Rozdltcenunacelazbytek1Click() {
  if (CurrentItem() != nullptr) SplitPriceClick(*CurrentItem());
  DrawTiket();
}

}  // namespace korval
