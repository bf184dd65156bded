// Binding one goods record to every item of the label, and stepping through
// the goods list.
#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace korval {

namespace {

// An item, or the second label of its linked price, that a label shows.
bool ShownOnLabel(const Control& item) {
  if (item.Visible()) return true;
  const auto* label = dynamic_cast<const TPropLabel*>(&item);
  return label != nullptr && label->LinkLabel() != nullptr && label->LinkLabel()->Visible();
}

}  // namespace

bool TfrmMain::BindGoodsItem(int index) {
  if (index == BoundItemIndex) return true;
  HostContext& host = services_.Host;
  auto& counter = Ctl<TLabel>("lblItemText");
  counter.SetCaption(std::string());
  const bool hasList = host.HasGoodsList();
  const int count = host.GoodsCount();
  Ctl<Button>("sbNextPol").SetEnabled(hasList && index < count - 1);
  Ctl<Button>("sbPrevPol").SetEnabled(hasList && index > 0);
  const std::optional<GoodsRecord> record = host.Goods(index);
  if (!record) return false;

  if (record->Size() != KORVAL_TIKET_ITEM_SIZE) {
    services_.UserInterface.ShowMessage(
        {"", FormatText("%d x %d", record->Size(), KORVAL_TIKET_ITEM_SIZE), MessageIcon::None,
         MessageButtons::Ok, MessageModality::Application});
  }
  counter.SetCaption(FillPattern(MessagePattern("ItemCounter", "Položka: %d/%d (%dx)"),
                                 {std::to_string(index + 1), std::to_string(count),
                                  std::to_string(static_cast<int>(record->Pocet()))}));

  // Hidden items are refreshed too: switching one on shows the record's text.
  // A print job draws only what is shown and no item is switched on while it
  // runs; the job's end binds its item afresh.
  for (Control* child : Ctl<Control>("ScrollBox2").Children()) {
    auto* itemSwitch = dynamic_cast<TPropCheckBox*>(child);
    if (itemSwitch == nullptr || itemSwitch->Item == nullptr) continue;
    if (PrintingJob && !ShownOnLabel(*itemSwitch->Item)) continue;
    if (auto* label = dynamic_cast<TPropLabel*>(itemSwitch->Item)) {
      label->UpdateFromRecord(&*record);
      if (label->LinkLabel() != nullptr) label->LinkLabel()->UpdateFromRecord(&*record);
    } else if (auto* barcode = dynamic_cast<TPropBarCode*>(itemSwitch->Item)) {
      if (barcode->OnGetValue) {
        const auto value = barcode->OnGetValue(*barcode, &*record, barcode->ValueIndex);
        ApplyBarcodeText(*barcode, value.value_or(std::string()));
      }
    }
  }

  Ctl<TLabel>("lNazev").SetCaption(record->Nazev());
  Ctl<TLabel>("lCislo").SetCaption(record->Cislo());
  ApplyFixedBarcodeText(Ctl<TBarCodeControl>("NrEANCode"), Ctl<Control>("gbTiket"),
                        TrimControl(record->EAN()));

  auto& asUnitPrice = Ctl<CheckBox>("CBAsCHMJ");
  if (record->Extension() != nullptr && asUnitPrice.Checked() && asUnitPrice.Enabled()) {
    Ctl<Edit>("eText3").SetText(SubstituteTexts(record->CenaZaJednotku()));
  }

  LabelCount = record->Pocet();
  BoundItemIndex = index;
  return true;
}

void TfrmMain::NextPol() {
  ++CurrentItemIndex;
  BindGoodsItem(CurrentItemIndex);
}

void TfrmMain::PrevPol() {
  --CurrentItemIndex;
  BindGoodsItem(CurrentItemIndex);
}

}  // namespace korval
