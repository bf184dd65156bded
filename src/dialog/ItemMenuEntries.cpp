#include "dialog/ItemMenuEntries.h"

#include "dialog/Texts.h"

namespace korval {
namespace {

using Kind = ItemMenuEntry::Kind;

// Appends entries to the table, remembering the submenu they go into.
class Table {
 public:
  // The entries are named as the menu's items of the form, so a language
  // catalogue translates them under [TfrmMain] "<name>.Caption".
  int Add(const char* name, const char* builtIn, Kind kind, bool visible, bool checked,
          std::function<void()> handler) {
    ItemMenuEntry entry;
    entry.Name = name;
    entry.Caption = ControlText(TfrmMain::kFormName, name, "Caption", builtIn);
    entry.Type = kind;
    entry.Parent = parent_;
    entry.Visible = visible;
    entry.Checked = checked;
    entry.Handler = std::move(handler);
    entries_.push_back(std::move(entry));
    return static_cast<int>(entries_.size()) - 1;
  }
  void OpenSubmenu(const char* name, const char* builtIn, bool visible) {
    parent_ = -1;
    parent_ = Add(name, builtIn, Kind::Submenu, visible, false, nullptr);
  }
  void CloseSubmenu() { parent_ = -1; }
  ItemMenuEntry& Last() { return entries_.back(); }
  std::vector<ItemMenuEntry> Take() { return std::move(entries_); }

 private:
  std::vector<ItemMenuEntry> entries_;
  int parent_ = -1;
};

}  // namespace

std::vector<ItemMenuEntry> ItemMenuEntries(TfrmMain& dialog, const TfrmMain::ItemMenuState& state) {
  TfrmMain* d = &dialog;
  Table table;
  table.Add("Font1", "&Font", Kind::Command, state.FontVisible, false, [d] { d->FontClick(); });

  table.OpenSubmenu("Zarovnnvodorovn1", "Zarovnání &vodorovné", state.AlignmentVisible);
  const auto align = [&](const char* name, const char* caption, TAlignment alignment) {
    table.Add(name, caption, Kind::Choice, true, state.Alignment == alignment,
              [d, alignment] { d->AlignFont(alignment); });
  };
  align("Vlevo1", "&Vlevo", TAlignment::taLeftJustify);
  align("Nasted1", "&Nastřed", TAlignment::taCenter);
  align("Vpravo1", "V&pravo", TAlignment::taRightJustify);

  table.OpenSubmenu("Zarovnnsvisl1", "Zarovnání &svislé", state.AlignmentVisible);
  table.Add("Nahoru1", "&Nahoru", Kind::Choice, true, state.Layout == TTextLayout::tlTop,
            [d] { d->Nahoru1Click(); });
  table.Add("Nasted2", "Na&střed", Kind::Choice, true, state.Layout == TTextLayout::tlCenter,
            [d] { d->Nasted2Click(); });
  table.Add("Dol1", "&Dolů", Kind::Choice, true, state.Layout == TTextLayout::tlBottom,
            [d] { d->Dol1Click(); });
  table.CloseSubmenu();

  table.Add("Zalomentextu1", "Zalomení textu", Kind::Check, state.WordWrapVisible,
            state.WordWrapChecked, [d] { d->Zalomentextu1Click(); });
  table.Add("EANochznmka1", "&EAN och.známka", Kind::Check, state.GuardBarsVisible,
            state.GuardBarsChecked, [d] { d->EanGuardClick(); });
  table.Add("Tisknoutslonadrovkd1", "Tisknout číslo na&d čárový kód", Kind::Check,
            state.NumberAboveVisible, state.NumberAboveChecked, [d] { d->NrTopClick(); });
  table.Add("Pizpsobitrozmru1", "&Přizpůsobit rozměru", Kind::Check, state.FitVisible,
            state.FitChecked, [d] { d->Pizpsobitrozmru1Click(); });
  table.Last().Enabled = state.FitEnabled;
  table.Add("Rozdltcenunacelazbytek1", "Rozdělt cenu na celé a zbytek", Kind::Check,
            state.SplitVisible, state.SplitChecked, [d] { d->Rozdltcenunacelazbytek1Click(); });
  return table.Take();
}

bool HasItemMenu(const Control& item) {
  if (const auto* text = dynamic_cast<const TLabel*>(&item)) return text->HasPopupMenu();
  if (const auto* picture = dynamic_cast<const TImage*>(&item)) return picture->HasPopupMenu();
  return false;
}

}  // namespace korval
