// The field catalogue: the 24 items a label can show besides the fixed ones,
// their switches in the item list, and what a click on a switch does.
#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "platform/Clock.h"
#include "platform/DateFormat.h"
#include "platform/LocaleInfo.h"
#include "platform/Ui.h"

namespace korval {

Control& TfrmMain::AddCatalogueItem(const std::string& key, const std::string& caption,
                                    const std::string& hint, GetValueEvent getter, int valueIndex,
                                    ItemClass itemClass) {
  auto& itemSwitch = Create<TPropCheckBox>("cb" + key);
  itemSwitch.SetCaption(ControlText(kFormName, "cb" + key, "Caption", caption));
  const std::string itemHint = ControlText(kFormName, "l" + key, "Hint", hint);
  itemSwitch.SetHint(itemHint);
  // The size of the list's fixed switches; the top comes from the list's
  // arrangement.
  itemSwitch.SetBounds(10, 0, 150, 17);
  itemSwitch.OnClick = [this](Control& sender) { ItemClick(sender); };

  Control* item = nullptr;
  if (itemClass == ItemClass::Barcode) {
    auto& barcode = Create<TPropBarCode>("l" + key);
    barcode.SetTag(10);
    barcode.OnGetValue = std::move(getter);
    barcode.ValueIndex = valueIndex;
    item = &barcode;
  } else {
    auto& label = Create<TPropLabel>("l" + key);
    label.SetTag(10);
    label.SetAutoSize(false);
    label.OnGetValue = std::move(getter);
    label.ValueIndex = valueIndex;
    label.SetPopupMenu(true);
    if (itemClass == ItemClass::Price) {
      label.SetCanSplit(1);
      label.OnLinkCreated = [this](TLabel& link) {
        if (RegisterDesignControl) RegisterDesignControl(link);
      };
    }
    item = &label;
  }
  item->OnMouseDown = [this](Control& c, MouseButton b, int x, int y) {
    MouseDownClick(c, b, x, y);
  };
  item->OnMouseMove = [this](Control& c, int x, int y) { MouseMoveClick(c, x, y); };
  item->OnMouseUp = [this](Control& c, MouseButton b, int x, int y) { MouseUpClick(c, b, x, y); };
  item->SetVisible(false);
  item->SetHint(itemHint);
  item->SetParent(&Ctl<Control>("Panel2"));

  itemSwitch.Item = item;
  itemSwitch.SetParent(&Ctl<Control>("ScrollBox2"));
  if (RegisterParameterControl) RegisterParameterControl(*item);
  ArrangeItemSwitches();
  return *item;
}

void TfrmMain::BuildCatalogue() {
  struct Entry {
    const char* Key;
    const char* Caption;
    const char* Hint;
    int Index;  // the general getter's field; -1: an own getter
    ItemClass Class;
  };
  using C = ItemClass;
  static const Entry entries[] = {
      {"cena1", "Cena \"A\"", "Cena \"A\" bez DPH", 13, C::Price},
      {"cena2", "Cena \"A\" s DPH", "Cena \"A\" s DPH", 14, C::Price},
      {"cenab", "Cena \"B\"", "Cena \"B\" bez DPH", 15, C::Price},
      {"cenab2", "Cena \"B\" s DPH", "Cena \"B\" s DPH", 16, C::Price},
      {"cenac", "Cena \"C\"", "Cena \"C\" bez DPH", 17, C::Price},
      {"cenac2", "Cena \"C\" s DPH", "Cena \"C\" s DPH", 18, C::Price},
      {"EANCode", "Čárový kód", "Čárový kód zboží", 12, C::Barcode},
      {"jedn", "Jednotka", "Jednotka zboží", 11, C::Text},
      {"PLU1", "PLU 1", "Číslo PLU 1", 5, C::Text},
      {"PLU1Cena", "PLU 1 cena", "Cena pro PLU 1", 6, C::Price},
      {"PLU2", "PLU 2", "Číslo PLU 2", 7, C::Text},
      {"PLU2Cena", "PLU 2 cena", "Cena pro PLU 2", 8, C::Price},
      {"minzas", "Minimální zásoba", "Minimální zásoba na skladě", 9, C::Text},
      {"maxzas", "Maximální zásoba", "Maximální zásoba na skladě", 10, C::Text},
      {"pozn1", "Poznámka 1", "1.řádek poznámky", 1, C::Text},
      {"pozn2", "Poznámka 2", "2.řádek poznámky", 2, C::Text},
      {"pozn3", "Poznámka 3", "3.řádek poznámky", 3, C::Text},
      {"pozn4", "Poznámka 4", "4.řádek poznámky", 4, C::Text},
      {"pozn5", "Poznámky", "Poznámky", -1, C::Text},
      {"euro", "Euro", "Euro hodnota", -1, C::Text},
      {"eurokurz", "Euro kurz", "Euro kurz hodnota", -1, C::Text},
      {"nextean", "další č.kódy", "další č.kódy propojené k hlavní kartě", -1, C::Text},
      {"tkinfo", "tažená karta info", "informační text tažené karty", 19, C::Text},
      {"ingred", "Ingredience", "Seznam ingrediencí pro položku", 20, C::Text},
  };
  for (const Entry& e : entries) {
    GetValueEvent getter;
    const std::string key = e.Key;
    if (key == "pozn5") {
      getter = [this](Control& c, const GoodsRecord* r, int i) { return GetAllNotes(c, r, i); };
    } else if (key == "euro") {
      getter = [this](Control& c, const GoodsRecord* r, int i) { return GetEuroValue(c, r, i); };
    } else if (key == "eurokurz") {
      getter = [this](Control& c, const GoodsRecord* r, int i) { return GetEuroRate(c, r, i); };
    } else if (key == "nextean") {
      getter = [this](Control& c, const GoodsRecord* r, int i) {
        return GetFurtherBarcodes(c, r, i);
      };
    } else {
      getter = [this](Control& c, const GoodsRecord* r, int i) { return GetRecordValue(c, r, i); };
    }
    AddCatalogueItem(key, e.Caption, e.Hint, std::move(getter), e.Index, e.Class);
  }
}

void TfrmMain::ArrangeItemSwitches() {
  // The item list is scrolled to its top first; children keep their place.
  int y = 4;
  for (Control* child : Ctl<Control>("ScrollBox2").Children()) {
    if (!child->Visible()) continue;
    if (child->Kind() == ControlKind::CheckBox) {
      child->SetTop(y);
      y += 17;
    } else if (child->Kind() == ControlKind::Edit) {
      child->SetTop(y);
      y += 25;
    }
  }
}

void TfrmMain::ItemClick(Control& sender) {
  if (Loading) return;
  auto& box = static_cast<CheckBox&>(sender);
  const std::string& name = sender.Name();
  Control* item = nullptr;
  if (name == "cbNazev") {
    item = &Ctl<Control>("lNazev");
  } else if (name == "cbCislo") {
    auto& barcode = Ctl<Control>("NrEANCode");
    item = barcode.Visible() ? &barcode : &Ctl<Control>("lCislo");
    Ctl<CheckBox>("CBNumberAsEAN").SetEnabled(false);
    Ctl<Edit>("ePrefix").SetEnabled(false);
  } else if (auto* itemSwitch = dynamic_cast<TPropCheckBox*>(&sender)) {
    item = itemSwitch->Item;
  } else if (name == "cbText1" || name == "cbText2" || name == "cbText3") {
    item = &Ctl<Control>("lText" + name.substr(6));
  } else if (name == "cbDatum") {
    item = &Ctl<Control>("lDatum");
  } else if (name == "cbBitMAp") {
    item = &Ctl<Control>("imgBitMap");
    SetEditEnabled(Ctl<Edit>("EBitMap"), box.Checked());
    if (ReloadPicture) ReloadPicture();
  }
  if (item == nullptr) return;
  currentItem_ = item;

  const bool isText = name == "cbText1" || name == "cbText2" || name == "cbText3";
  if (box.Checked()) {
    if (isText) SetEditEnabled(Ctl<Edit>("eText" + name.substr(6)), true);
    if (name == "cbText3") Ctl<CheckBox>("CBAsCHMJ").SetEnabled(true);
    if (name == "cbDatum") {
      item->SetCaption(FormatDate(services_.Today.Today(), services_.Locale.ShortDateFormat(),
                                  &services_.Locale));
    }
    placingItem_ = true;
    services_.UserInterface.SetCursor(Cursor::NotAllowed);
  } else {
    item->SetVisible(false);
    if (auto* label = dynamic_cast<TPropLabel*>(item)) {
      if (label->Linked()) label->SetLinked(false);
    }
    if (isText) SetEditEnabled(Ctl<Edit>("eText" + name.substr(6)), false);
    if (name == "cbText3") Ctl<CheckBox>("CBAsCHMJ").SetEnabled(false);
    if (name == "cbBitMAp") Ctl<Control>("imgBitMap").SetVisible(false);
    LeavePlacingMode();
    Ctl<Control>("PaintBox1").Invalidate();
  }
}

}  // namespace korval
