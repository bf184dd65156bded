// Label formats stored by name: the list in "TiketFrm.ini", one state file
// "TiketSav.NNN" per format, the unnamed last-used state and the default
// name. The layout of these files is what installations exchange.
#include <utility>

#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "storage/ComponentStateList.h"
#include "storage/ProfileFile.h"
#include "storage/TfrmSaves.h"

namespace korval {
namespace {

constexpr const char* kListFile = "TiketFrm.ini";
constexpr const char* kSaves = "Saves";
constexpr const char* kSetup = "Setup";         // in the list file
constexpr const char* kStateSection = "SetUp";  // in a format's state file
constexpr const char* kLastUsed = "SetLast";

int IndexOfName(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void TfrmMain::RegisterStoredControls() {
  for (const char* name :
       {"cbRamecek", "rxseOsax", "rxseOsay", "eText1", "eText2", "eText3", "EBitMap", "ComboBox1",
        "meOdsazY", "meOdsazX", "meOdsazLev", "meOdsazHorni", "cbVlastniFronta",
        "cbDefPrinterChange", "cbAutoSave", "CBAsCHMJ", "CBoxIgnoreWrongEAN"}) {
    paramsStorage_->Register(Ctl<Control>(name));
  }
  for (const char* name : {"lNazev", "lCislo", "ePrefix", "NrEANCode", "imgBitMap", "lText1",
                           "lText2", "lText3", "lDatum"}) {
    componentState1_->Register(Ctl<Control>(name));
  }
}

std::vector<std::string> TfrmMain::ReadFormatList() const {
  return ProfileFile(services_.Host.FormPath() + kListFile).ReadKeys(kSaves);
}

void TfrmMain::LoadFormat(const std::string& name) {
  const std::string prefix = services_.Host.FormPath();
  const std::vector<std::string> saved = ReadFormatList();
  if (!name.empty() && IndexOfName(saved, name) >= 0) {
    const int index = Ctl<ComboBox>("cboxSaves").IndexOf(name);
    StoreFile = prefix + "TiketSav." + ZeroPad(std::to_string(index), 3);
    StoreSection = kStateSection;
  } else {
    StoreFile = prefix + kListFile;
    StoreSection = kLastUsed;
  }
  DefaultFormatName = ProfileFile(prefix + kListFile).ReadString(kSetup, "Default", "");

  // Restoring the label size and the switches must not fire their handlers.
  auto& width = Ctl<Edit>("rxseOsax");
  auto& height = Ctl<Edit>("rxseOsay");
  NotifyEvent widthChange = std::exchange(width.OnChange, nullptr);
  NotifyEvent heightChange = std::exchange(height.OnChange, nullptr);
  Loading = true;
  try {
    Ctl<CheckBox>("cbVlastniFronta").SetChecked(false);
    const ProfileFile file(StoreFile);
    paramsStorage_->Read(file, StoreSection);
    for (Control* child : Ctl<Control>("ScrollBox2").Children()) {
      if (auto* box = dynamic_cast<CheckBox*>(child); box && box->Name() != "CBNumberAsEAN")
        box->SetChecked(true);
    }
    componentState1_->Read(file, StoreSection);
  } catch (...) {
    width.OnChange = std::move(widthChange);
    height.OnChange = std::move(heightChange);
    Loading = false;
    throw;
  }
  width.OnChange = std::move(widthChange);
  height.OnChange = std::move(heightChange);
  Loading = false;

  auto& unit = Ctl<ComboBox>("ComboBox1");
  if (unit.ItemIndex() < 0) unit.SetItemIndex(0);
  Unit = unit.ItemIndex() == 1 ? MeasureUnit::Millimetres : MeasureUnit::Dots;
  ComboBox1Change(unit);
  ItemClick(Ctl<CheckBox>("cbCislo"));
  BindGoodsItem(CurrentItemIndex);
  DrawTiket();
}

void TfrmMain::WriteSets() {
  ProfileFile file(StoreFile);
  file.BeginBatch();
  paramsStorage_->Write(file, StoreSection);
  componentState1_->Write(file, StoreSection);
  file.CommitBatch();
}

void TfrmMain::SaveLastUsedState() {
  StoreFile = services_.Host.FormPath() + kListFile;
  StoreSection = kLastUsed;
  WriteSets();
  WriteWindowPlacement();
}

void TfrmMain::SaveState(bool ask, bool quiet) {
  const std::string prefix = services_.Host.FormPath();
  TfrmSaves dialog;
  dialog.SetName(Ctl<ComboBox>("cboxSaves").Text());
  // A blank name is no name: such a save asks for one.
  quiet = quiet && !IsBlank(dialog.Name());
  Ui& ui = services_.UserInterface;

  if (ask) {
    const MessageAnswer answer =
        ui.ShowMessage({"Dotaz", "Chcete uložit stávající nastavení etikety do seznamu ?",
                        MessageIcon::Question, MessageButtons::YesNo, MessageModality::TaskModal});
    if (answer != MessageAnswer::Yes) {
      StoreFile = prefix + kListFile;
      StoreSection = kLastUsed;
      WriteSets();
      return;
    }
  }

  ProfileFile list(prefix + kListFile);
  dialog.SetNames(list.ReadKeys(kSaves));
  if (!quiet && !ui.ShowSaveDialog(dialog)) return;

  // The list is erased and written again in one replacement of the file, so
  // no moment exists at which it is gone.
  list.BeginBatch();
  list.WriteString(kSetup, "Default", DefaultFormatName);
  list.EraseSection(kSaves);
  for (const std::string& name : dialog.Names()) list.WriteString(kSaves, name, "");
  list.WriteString(kSaves, dialog.Name(), "");
  list.CommitBatch();

  auto& box = Ctl<ComboBox>("cboxSaves");
  const std::string text = box.Text();
  box.SetItems(list.ReadKeys(kSaves));
  box.SetText(text);

  const int index = box.IndexOf(dialog.Name());
  StoreFile = prefix + "TiketSav." + ZeroPad(std::to_string(index), 3);
  StoreSection = kStateSection;
  WriteSets();
  ui.PostHostNotice(services_.Host.HostWindow(), 1025);
}

void TfrmMain::cboxSavesChange() {
  auto& box = Ctl<ComboBox>("cboxSaves");
  const std::string name = box.Text();
  if (!name.empty() && box.IndexOf(name) < 0) {
    Ctl<CheckBox>("cbDefautl").SetChecked(false);
    return;
  }
  LoadFormat(name);
  Ctl<CheckBox>("cbDefautl").SetChecked(!DefaultFormatName.empty() && DefaultFormatName == name);
  LoadPrinterSettings(name);
}

void TfrmMain::cbDefautlClick() {
  auto& box = Ctl<CheckBox>("cbDefautl");
  const std::string name = Ctl<ComboBox>("cboxSaves").Text();
  if (box.Checked() && IsBlank(name)) {
    services_.UserInterface.ShowMessage(
        {"Varování", "Není vyplněn název etikety, nelze nastavit parametr \"výchozí\" !",
         MessageIcon::Warning, MessageButtons::Ok, MessageModality::TaskModal});
    box.SetChecked(false);
    return;
  }
  if (box.Checked()) {
    DefaultFormatName = name;
  } else if (DefaultFormatName == name) {
    DefaultFormatName.clear();
  }
}

}  // namespace korval
