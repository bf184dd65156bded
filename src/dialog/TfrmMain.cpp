#include "dialog/TfrmMain.h"

#include <algorithm>

#include <stdexcept>

#include "dialog/LayoutTable.h"
#include "dialog/Texts.h"
#include "host_api/HostContext.h"
#include "platform/Ui.h"
#include "storage/ComponentStateList.h"
#include "storage/PrintOffsetFile.h"

namespace korval {
namespace {

Control& CreateFromLayout(TfrmMain& form, const ControlLayout& entry) {
  using T = ControlLayout::Type;
  switch (entry.Kind) {
    case T::Label: {
      auto& label = form.Create<TLabel>(entry.Name);
      label.SetAutoSize(false);
      return label;
    }
    case T::CheckBox:
      return form.Create<CheckBox>(entry.Name);
    case T::Edit:
      return form.Create<Edit>(entry.Name);
    case T::ReadOnlyEdit: {
      auto& edit = form.Create<Edit>(entry.Name);
      edit.SetReadOnly(true);
      return edit;
    }
    case T::EditableCombo:
      return form.Create<ComboBox>(entry.Name, true);
    case T::DropDownList:
      return form.Create<ComboBox>(entry.Name, false);
    case T::ListBox:
      return form.Create<ListBox>(entry.Name);
    case T::Button:
      return form.Create<Button>(entry.Name);
    case T::Panel:
      return form.Create<Panel>(entry.Name);
    case T::GroupBox:
      return form.Create<Panel>(entry.Name, ControlKind::GroupBox);
    case T::ScrollBox:
      return form.Create<Panel>(entry.Name, ControlKind::ScrollBox);
    case T::PageControl:
      return form.Create<PageControl>(entry.Name);
    case T::TabSheet:
      return form.Create<TabSheet>(entry.Name);
    case T::PaintBox:
      return form.Create<Panel>(entry.Name, ControlKind::PaintBox);
  }
  throw std::logic_error("unknown control type");
}

Font ItemFont(int height, bool bold) {
  Font font;
  font.SetHeight(height);
  font.Style = bold ? fsBold : 0;
  return font;
}

}  // namespace

TfrmMain::TfrmMain(DialogServices services)
    : translatedUi_(std::make_unique<TranslatedUi>(services.UserInterface)),
      services_{services.Host,   *translatedUi_, services.Printer,
                services.Locale, services.Today, services.HostExecutable} {
  for (const auto& [name, caption] :
       {std::pair{"actPrinterSetup", "Nastavení tiskárny"},
        std::pair{"actTestPrint", "Zkušební tisk"}, std::pair{"actPrint", "Tisk"},
        std::pair{"actSave", "&Uložit"}}) {
    actions_.push_back(
        std::make_unique<Action>(name, ControlText(kFormName, name, "Caption", caption)));
  }
  paramsStorage_ = std::make_unique<ComponentStateList>(*this);
  componentState1_ = std::make_unique<ComponentStateList>(*this);
  RegisterParameterControl = [this](Control& c) { paramsStorage_->Register(c); };
  RegisterDesignControl = [this](Control& c) { componentState1_->Register(c); };
  BuildLayout();
  BuildFixedItems();
  AttachLayoutHandlers();
  BuildCatalogue();
  SetSheetCatalogue(ShippedSheetCatalogue());
  ReloadPicture = [this] { EBitMapChange(); };
  offsetFile_ = std::make_unique<PrintOffsetFile>();
  services_.Printer.SetOffsetStore(offsetFile_.get());
}

TfrmMain::~TfrmMain() {
  services_.Printer.SetOffsetStore(nullptr);
  // The placement is written at destruction when no accepted close wrote it.
  if (Created && !PlacementWritten) {
    try {
      WriteWindowPlacement();
    } catch (const std::exception&) {
      // Nothing can be reported any more.
    }
  }
}

Action& TfrmMain::GetAction(std::string_view name) const {
  for (const auto& action : actions_) {
    if (action->Name() == name) return *action;
  }
  MissingControl(name);
}

void TfrmMain::BuildLayout() {
  for (const ControlLayout& entry : MainLayoutTable()) {
    Control& control = CreateFromLayout(*this, entry);
    if (*entry.Parent != '\0') control.SetParent(FindComponent(entry.Parent));
    control.SetAlign(entry.Align);
    control.SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
    control.SetHint(ControlText(kFormName, entry.Name, "Hint", entry.Hint));
    if (*entry.Action != '\0') GetAction(entry.Action).Link(control);
    control.SetCaption(ControlText(kFormName, entry.Name, "Caption", entry.Caption));
    control.SetEnabled(entry.Enabled);
    if (auto* box = dynamic_cast<CheckBox*>(&control)) box->SetChecked(entry.Checked);
    if (auto* combo = dynamic_cast<ComboBox*>(&control)) combo->SetItems(entry.Items);
  }
}

void TfrmMain::BuildFixedItems() {
  Control& panel = Ctl<Control>("Panel2");
  const auto attachMouse = [this](Control& item) {
    item.OnMouseDown = [this](Control& c, MouseButton b, int x, int y) {
      MouseDownClick(c, b, x, y);
    };
    item.OnMouseMove = [this](Control& c, int x, int y) { MouseMoveClick(c, x, y); };
    item.OnMouseUp = [this](Control& c, MouseButton b, int x, int y) { MouseUpClick(c, b, x, y); };
  };
  struct TextItem {
    const char* Name;
    const char* Caption;
    const char* Hint;
    Rect Bounds;  // left, top, width, height
    int FontHeight;
    bool Bold;
  };
  const TextItem texts[] = {
      {"lNazev", "Název", "Název zboží", {66, 12, 97, 25}, -19, true},
      {"lCislo", "Číslo", "Katalog. číslo", {78, 40, 79, 16}, -13, true},
  };
  const TextItem freeTexts[] = {
      {"lText1", "Text1", "Text1", {170, 52, 39, 16}, -13, true},
      {"lText2", "Text2", "Text2", {170, 34, 65, 15}, -13, true},
      {"lText3", "Text3", "Text3", {170, 16, 39, 16}, -13, true},
      {"lDatum", "Datum", "Datum", {206, 180, 75, 13}, -11, false},
  };
  const auto makeText = [&](const TextItem& t) {
    auto& item = Create<TLabel>(t.Name);
    item.SetAutoSize(false);
    item.SetTransparent(true);
    item.SetLayout(TTextLayout::tlCenter);
    item.SetPopupMenu(true);
    item.SetFont(ItemFont(t.FontHeight, t.Bold));
    item.SetCaption(ControlText(kFormName, t.Name, "Caption", t.Caption));
    item.SetHint(ControlText(kFormName, t.Name, "Hint", t.Hint));
    item.SetBounds(t.Bounds.Left, t.Bounds.Top, t.Bounds.Right, t.Bounds.Bottom);
    item.SetTag(10);
    attachMouse(item);
    item.SetVisible(false);
    item.SetParent(&panel);
  };
  for (const auto& t : texts) makeText(t);

  auto& barcode = Create<TBarCodeControl>("NrEANCode");
  barcode.SetBarWidth(10);
  barcode.SetAddCheckChar(false);
  barcode.SetCode(bcEAN_8, "85951631");
  barcode.SetFont(ItemFont(-11, false));
  barcode.SetHint(ControlText(kFormName, "NrEANCode", "Hint", "Katalog. číslo"));
  barcode.SetBounds(8, 132, 179, 37);
  barcode.SetTag(10);
  attachMouse(barcode);
  barcode.SetVisible(false);
  barcode.SetParent(&panel);

  for (const auto& t : freeTexts) makeText(t);

  auto& picture = Create<TImage>("imgBitMap");
  picture.SetStretch(true);
  picture.SetPopupMenu(true);
  picture.SetHint(ControlText(kFormName, "imgBitMap", "Hint", "Obrázek"));
  picture.SetBounds(10, 6, 79, 57);
  picture.SetTag(10);
  attachMouse(picture);
  picture.SetVisible(false);
  picture.SetParent(&panel);
}

void TfrmMain::AttachLayoutHandlers() {
  for (const char* name :
       {"cbNazev", "cbCislo", "cbText1", "cbText2", "cbText3", "cbDatum", "cbBitMAp"}) {
    Ctl<CheckBox>(name).OnClick = [this](Control& sender) { ItemClick(sender); };
  }
  Ctl<Edit>("eText1").OnChange = [this](Control& sender) { eText1Change(sender); };
  Ctl<Edit>("eText2").OnChange = [this](Control& sender) { eText2Change(sender); };
  Ctl<Edit>("eText3").OnChange = [this](Control& sender) { eText3Change(sender); };
  Ctl<Button>("sbNextPol").OnClick = [this](Control&) { NextPol(); };
  for (const SheetEdit e : kUnitConversionOrder) {
    auto& edit = Ctl<Edit>(SheetEditName(e));
    edit.OnChange = [this](Control& sender) { ODChange(sender); };
    edit.OnKeyPress = [this](Control& sender, char32_t& key) { MJEditPress(sender, key); };
    edit.OnExit = [this](Control&) { Preview(); };
  }
  Ctl<ComboBox>("ComboBox1").OnChange = [this](Control& sender) { ComboBox1Change(sender); };
  Ctl<Control>("PaintBox1").OnClick = [this](Control&) { DrawTiket(); };
  Ctl<Control>("PaintBox1").OnMouseDown = [this](Control&, MouseButton button, int x, int y) {
    imgTiketMouseDown(button, x, y);
  };
  Ctl<Control>("PaintBox1").OnMouseMove = [this](Control&, int x, int y) {
    imgTiketMouseMove(x, y);
  };
  for (const char* name : {"ScrollBox1", "gbTiket"}) {
    Ctl<Control>(name).OnMouseMove = [this](Control&, int, int) { ScrollBox1MouseMove(); };
  }
  Ctl<CheckBox>("PodrobnostiPrew").OnClick = [this](Control&) { RedrawPreview(); };
  Ctl<CheckBox>("ViewPrintArea").OnClick = [this](Control&) {
    Ctl<Control>("PaintBox1").Invalidate();
  };
  for (const char* name : {"CheckBox1", "CheckBox2"}) {
    Ctl<CheckBox>(name).OnClick = [this](Control&) {
      SolidHandles = Ctl<CheckBox>("CheckBox1").Checked();
      DrawTiket();
    };
  }
  Ctl<Button>("sbPrevPol").OnClick = [this](Control&) { PrevPol(); };
  Ctl<Button>("bbtnOk").SetResult(ModalResult::Ok);
  Ctl<Button>("bbtnCancel").SetResult(ModalResult::Cancel);
  Ctl<Button>("bbtnOk").OnClick = [this](Control&) { OkClick(); };
  Ctl<Button>("bbtnCancel").OnClick = [this](Control&) { CancelClick(); };
  Ctl<ComboBox>("cboxSaves").OnChange = [this](Control&) { cboxSavesChange(); };
  Ctl<CheckBox>("cbDefautl").OnClick = [this](Control&) { cbDefautlClick(); };
  GetAction("actSave").OnExecute = [this] { SaveState(false, false); };
  GetAction("actPrint").OnExecute = [this] { PrintTikets(); };
  GetAction("actTestPrint").OnExecute = [this] { actTestPrintExecute(); };
  GetAction("actPrinterSetup").OnExecute = [this] { actPrinterSetupExecute(); };
  Ctl<Button>("sbReset").OnClick = [this](Control&) { sbResetClick(); };
  Ctl<Edit>("ePocetEtiket").OnKeyPress = [this](Control& sender, char32_t& key) {
    NrEditPress(sender, key);
  };
  Ctl<TabSheet>("TabSheet2").OnEnter = [this](Control&) { TabSheet2Enter(); };
  Ctl<Edit>("EBitMap").OnChange = [this](Control&) { EBitMapChange(); };
  Ctl<Button>("SpeedButton4").OnClick = [this](Control&) { EBitMapButtonClick(); };
  Ctl<Control>("Image1").OnMouseDown = [this](Control&, MouseButton, int x, int y) {
    Image1MouseDown(x, y);
  };

  // The bottom bars keep their buttons at the right edge.
  Ctl<Panel>("Panel1").OnResize = [this](Control& bar) {
    auto& ok = Ctl<Button>("bbtnOk");
    ok.SetLeft(bar.Width() - 85);
    Ctl<Button>("bbtnCancel").SetLeft(ok.Left() - 80);
    Ctl<Button>("bbtnSave").SetLeft(ok.Left() - 160);
    Ctl<Button>("bbtnTisk").SetLeft(ok.Left() - 240);
  };
  // The item counter ("Položka: 1/6 (3x)") ends just before the item
  // buttons and takes the room up to the switch on the left, right-aligned,
  // so that the label count at its end is always seen.
  Ctl<TLabel>("lblItemText").SetAlignment(TAlignment::taRightJustify);
  Ctl<Panel>("Panel6").OnResize = [this](Control& bar) {
    auto& next = Ctl<Button>("sbNextPol");
    next.SetLeft(bar.Width() - 35);
    auto& previous = Ctl<Button>("sbPrevPol");
    previous.SetLeft(next.Left() - 30);
    auto& counter = Ctl<TLabel>("lblItemText");
    const auto& printArea = Ctl<Control>("ViewPrintArea");
    const int left = printArea.Left() + printArea.Width() + 4;
    counter.SetBounds(left, counter.Top(), std::max(0, previous.Left() - 2 - left),
                      counter.Height());
  };
  Ctl<Panel>("Panel1").OnResize(Ctl<Panel>("Panel1"));
  Ctl<Panel>("Panel6").OnResize(Ctl<Panel>("Panel6"));
}

void TfrmMain::SetEditEnabled(Edit& edit, bool enabled) {
  edit.SetEnabled(enabled);
  edit.SetBackColor(enabled ? kWindowColor : kButtonFaceColor);
}

void TfrmMain::LeavePlacingMode() {
  placingItem_ = false;
  services_.UserInterface.SetCursor(Cursor::Default);
}

}  // namespace korval
