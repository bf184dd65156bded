// Label formats stored by name: the list in "TiketFrm.ini", one state file
// "TiketSav.NNN" per format, the unnamed last-used state and the default
// name. The layout of these files is what installations exchange.
#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "storage/ComponentStateList.h"
#include "storage/FileSystem.h"
#include "storage/FileTransaction.h"
#include "storage/LabelFormatFiles.h"
#include "storage/ProfileFile.h"
#include "storage/TfrmSaves.h"

namespace korval {
namespace {

constexpr const char* kSaves = "Saves";
constexpr const char* kSetup = "Setup";         // in the list file
constexpr const char* kStateSection = "SetUp";  // in a format's state file
constexpr const char* kLastUsed = "SetLast";

// The bytes of a file as it is now; none when it cannot be read.
std::optional<std::string> BytesOf(const std::string& path) {
  std::string bytes;
  if (files::ReadAll(files::Locate(ProfileFile(path).Path()), bytes) != files::ReadResult::kRead)
    return std::nullopt;
  return bytes;
}

// What a save does to the state files when the list changes: a name keeps
// its own layout at its new position, so the files move with the names. By
// index: the file's new bytes (its name's old file, empty for a new name),
// or none where the file goes (past the end of the new list, or a name that
// had no file).
using StateFilePlan = std::map<int, std::optional<std::string>>;

StateFilePlan PlanStateFiles(const LabelFormatFiles& files, const std::vector<std::string>& stored,
                             const std::vector<std::string>& names) {
  StateFilePlan plan;
  const int kept = std::min(static_cast<int>(names.size()), LabelFormatFiles::kMaxFormats);
  for (int index = 0; index < kept; ++index) {
    const int old = IndexOfFormatName(stored, names[static_cast<std::size_t>(index)]);
    if (old == index) continue;
    plan[index] = old >= 0 && old < LabelFormatFiles::kMaxFormats ? BytesOf(files.StateFile(old))
                                                                  : std::string();
  }
  const int used = std::min(static_cast<int>(stored.size()), LabelFormatFiles::kMaxFormats);
  for (int index = kept; index < used; ++index) plan[index] = std::nullopt;
  return plan;
}

}  // namespace

void TfrmMain::RegisterStoredControls() {
  for (const char* name :
       {"cbRamecek", "rxseOsax", "rxseOsay", "eText1", "eText2", "eText3", "EBitMap", "ComboBox1",
        "meOdsazY", "meOdsazX", "meOdsazLev", "meOdsazHorni", "cbVlastniFronta",
        "cbDefPrinterChange", "cbAutoSave", "CBAsCHMJ", "CBoxIgnoreWrongEAN", "PodrobnostiPrew"}) {
    paramsStorage_->Register(Ctl<Control>(name));
  }
  for (const char* name : {"lNazev", "lCislo", "ePrefix", "NrEANCode", "imgBitMap", "lText1",
                           "lText2", "lText3", "lDatum"}) {
    componentState1_->Register(Ctl<Control>(name));
  }
}

std::vector<std::string> TfrmMain::ReadFormatList() const {
  return LabelFormatFiles(services_.Host.FormPath()).ReadNames();
}

void TfrmMain::LoadFormat(const std::string& name) {
  const LabelFormatFiles files(services_.Host.FormPath());
  // The position in the list just read is the file's number; a name past the
  // thousandth has no file.
  const int index = name.empty() ? -1 : IndexOfFormatName(files.ReadNames(), TrimControl(name));
  if (index >= 0 && index < LabelFormatFiles::kMaxFormats) {
    StoreFile = files.StateFile(index);
    StoreSection = kStateSection;
  } else {
    StoreFile = files.ListFile();
    StoreSection = kLastUsed;
  }
  DefaultFormatName = ProfileFile(files.ListFile()).ReadString(kSetup, "Default", "");

  const ProfileFile file(StoreFile);
  file.BeginReading();
  // Restoring the label size and the switches must not fire their handlers.
  auto& width = Ctl<Edit>("rxseOsax");
  auto& height = Ctl<Edit>("rxseOsay");
  NotifyEvent widthChange = std::exchange(width.OnChange, nullptr);
  NotifyEvent heightChange = std::exchange(height.OnChange, nullptr);
  Loading = true;
  try {
    Ctl<CheckBox>("cbVlastniFronta").SetChecked(false);
    // Formats saved before the preview could show the labels have no key.
    Ctl<CheckBox>("PodrobnostiPrew").SetChecked(false);
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
  ReadChosenSheet(file, StoreSection);
}

void TfrmMain::WriteSets() {
  ProfileFile file(StoreFile);
  file.BeginBatch();
  WriteSets(file, StoreSection);
  file.CommitBatch();
}

void TfrmMain::WriteSets(ProfileFile& file, const std::string& section) {
  paramsStorage_->Write(file, section);
  componentState1_->Write(file, section);
  WriteChosenSheet(file, section);
}

void TfrmMain::SaveLastUsedState() {
  StoreFile = LabelFormatFiles(services_.Host.FormPath()).ListFile();
  StoreSection = kLastUsed;
  WriteSets();
  WriteWindowPlacement();
}

void TfrmMain::SaveState(bool ask, bool quiet) {
  const LabelFormatFiles files(services_.Host.FormPath());
  TfrmSaves dialog;
  dialog.SetName(Ctl<ComboBox>("cboxSaves").Text());
  // A name that cannot be stored is no name: such a save asks for one.
  quiet = quiet && dialog.NameAccepted();
  Ui& ui = services_.UserInterface;

  if (ask) {
    const MessageAnswer answer =
        ui.ShowMessage({"Dotaz", "Chcete uložit stávající nastavení etikety do seznamu ?",
                        MessageIcon::Question, MessageButtons::YesNo, MessageModality::TaskModal});
    if (answer != MessageAnswer::Yes) {
      StoreFile = files.ListFile();
      StoreSection = kLastUsed;
      WriteSets();
      return;
    }
  }

  const std::vector<std::string> stored = files.ReadNames();
  dialog.SetNames(stored);
  if (!quiet && !ui.ShowSaveDialog(dialog)) return;
  // The name is trimmed here, once, so that the list, the lookup and the
  // file all see the same name.
  const std::string name = TrimControl(dialog.Name());
  if (!dialog.NameAccepted()) return;

  std::vector<std::string> names = dialog.Names();
  if (IndexOfFormatName(names, name) < 0) names.push_back(name);
  const int index = IndexOfFormatName(names, name);
  if (index >= LabelFormatFiles::kMaxFormats) {
    ui.ShowMessage({"Varování",
                    FormatText("Seznam etiket je plný: uložit lze nejvýše %d etiket. Smažte v "
                               "seznamu etiketu, kterou už nepotřebujete, a uložte znovu.",
                               LabelFormatFiles::kMaxFormats),
                    MessageIcon::Warning, MessageButtons::Ok, MessageModality::TaskModal});
    return;
  }

  // The list, the files that move with their names and the saved format's
  // file change in one step: a crash leaves the old list with the old files
  // or the new list with the new files.
  ProfileFile list(files.ListFile());
  list.BeginBatch();
  list.WriteString(kSetup, "Default", DefaultFormatName);
  list.EraseSection(kSaves);
  for (const std::string& each : names) list.WriteString(kSaves, each, "");
  FileTransaction change(files.JournalFile());
  change.Write(list.Path(), list.TakeBatch(), list.FileName());

  StateFilePlan plan = PlanStateFiles(files, stored, names);
  ProfileFile state(files.StateFile(index));
  if (const auto moved = plan.find(index); moved != plan.end())
    state.BeginBatchOver(moved->second.value_or(std::string()));
  else
    state.BeginBatch();
  WriteSets(state, kStateSection);
  plan[index] = state.TakeBatch();
  for (auto& [each, bytes] : plan) {
    const std::string file = files.StateFile(each);
    if (bytes)
      change.Write(ProfileFile(file).Path(), std::move(*bytes), file);
    else
      change.Remove(ProfileFile(file).Path());
  }
  change.Commit();
  StoreFile = files.StateFile(index);
  StoreSection = kStateSection;

  // The box shows the name just saved: left at an older name, the next
  // "&Ok" would offer to overwrite that format with this layout.
  auto& box = Ctl<ComboBox>("cboxSaves");
  box.SetItems(files.ReadNames());
  box.SetText(name);
  Ctl<CheckBox>("cbDefautl").SetChecked(!DefaultFormatName.empty() && DefaultFormatName == name);
  ui.PostHostNotice(services_.Host.HostWindow(), 1025);
}

void TfrmMain::cboxSavesChange() {
  auto& box = Ctl<ComboBox>("cboxSaves");
  const std::string name = box.Text();
  if (!name.empty() && box.IndexOf(TrimControl(name)) < 0) {
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
