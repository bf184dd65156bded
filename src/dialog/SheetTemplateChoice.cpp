// The "Arch:" combo of the "Parametry" tab: the sheets of the catalogue, the
// six geometry edits filled from the one picked, and its code kept with a
// label format.
#include <exception>
#include <utility>

#include "dialog/TfrmMain.h"
#include "host_api/ModulePaths.h"
#include "platform/LocaleInfo.h"
#include "platform/PrintSurface.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

// The key beside the stored controls' keys. Older readers skip it; a format
// without it is "vlastní".
constexpr const char* kChosenSheetKey = "cbArch.Sheet";

}  // namespace

SheetTemplates ShippedSheetCatalogue() {
  const std::string file = LocateSheetCatalogue({LibraryFilePath(), HostExecutablePath()});
  if (file.empty()) return {};
  try {
    return SheetTemplates::Load(file);
  } catch (const std::exception&) {
    // A damaged catalogue leaves the user the sheet of their own numbers;
    // "korval sheets" tells what is wrong with it.
    return {};
  }
}

void TfrmMain::SetSheetCatalogue(SheetTemplates catalogue) {
  sheetCatalogue_ = std::move(catalogue);
  auto& combo = Ctl<ComboBox>("cbArch");
  std::vector<std::string> items = {combo.Items().empty() ? "vlastní" : combo.Items().front()};
  for (const SheetTemplate& sheet : sheetCatalogue_.All())
    items.push_back(SheetTemplateCaption(sheet, Locale().DecimalSeparator()));
  combo.SetItems(std::move(items));
  combo.SetItemIndex(0);
  combo.OnChange = [this](Control&) { cbArchChange(); };
}

const SheetTemplate* TfrmMain::ChosenSheet() const {
  const int index = Ctl<ComboBox>("cbArch").ItemIndex();
  const auto& all = sheetCatalogue_.All();
  if (index < 1 || index > static_cast<int>(all.size())) return nullptr;
  return &all[static_cast<std::size_t>(index - 1)];
}

void TfrmMain::ChooseSheet(const SheetTemplate& sheet) {
  const auto& all = sheetCatalogue_.All();
  const auto index = &sheet - all.data();
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(all.size())) return;
  // The resolution and the unprintable strips of the printer in force.
  UpdateSheetInfo(-1, -1);
  PrintSurface& printer = services_.Printer;
  const bool hasPrinter = printer.HasPrinter();
  const SheetEdits edits = SheetEditsFor(
      sheet, Unit, Resolution, hasPrinter ? printer.WasteLeft(SizeUnit::Millimetres) : 0.0,
      hasPrinter ? printer.WasteTop(SizeUnit::Millimetres) : 0.0, Locale().DecimalSeparator());
  const bool byProgram = std::exchange(SheetEditsByProgram, true);
  for (const SheetEdit e : kUnitConversionOrder) Ctl<Edit>(SheetEditName(e)).SetText(edits.Text(e));
  SheetEditsByProgram = byProgram;
  Ctl<ComboBox>("cbArch").SetItemIndex(static_cast<int>(index) + 1);
  DrawTiket();
  Preview();
}

void TfrmMain::cbArchChange() {
  if (const SheetTemplate* sheet = ChosenSheet()) ChooseSheet(*sheet);
}

void TfrmMain::WriteChosenSheet(ProfileFile& file, const std::string& section) const {
  const SheetTemplate* sheet = ChosenSheet();
  // Written for "vlastní" too: the key of an earlier save would bring its
  // sheet back.
  file.WriteString(section, kChosenSheetKey,
                   sheet ? sheet->Codes.front().Maker + ":" + sheet->Codes.front().Name : "");
}

void TfrmMain::ReadChosenSheet(const ProfileFile& file, const std::string& section) {
  const SheetLookup lookup = sheetCatalogue_.Find(file.ReadString(section, kChosenSheetKey, ""));
  const auto index = lookup.Found ? lookup.Found - sheetCatalogue_.All().data() + 1 : 0;
  // Only the choice is restored: the edits hold the format's own numbers.
  Ctl<ComboBox>("cbArch").SetItemIndex(static_cast<int>(index));
}

}  // namespace korval
