// The dialog's window placement, kept in section "Formular" of the store file
// in force: read once at creation (from the host-named file), written when
// the dialog closes.
#include <cstdlib>

#include "dialog/TfrmMain.h"
#include "host_api/StartUp.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr const char* kSection = "Formular";
constexpr Color kDialogColor = kButtonFaceColor;

// An empty store file is the placement file named after the host program;
// a name without any full stop gets ".INI".
std::string PlacementFileName(const std::string& storeFile, const std::string& hostExecutable) {
  std::string name = storeFile;
  if (name.empty()) {
    const std::string program = hostExecutable.substr(FolderPart(hostExecutable).size());
    const std::size_t dot = program.rfind('.');
    name = (dot == std::string::npos ? program : program.substr(0, dot)) + ".INI";
  }
  if (name.find('.') == std::string::npos) name += ".INI";
  return name;
}

}  // namespace

void TfrmMain::ReadWindowPlacement() {
  const ProfileFile file(PlacementFileName(StoreFile, services_.HostExecutable));
  const auto ppi =
      ParseInt(file.ReadString(kSection, "PixelsPerInch", std::to_string(kPixelsPerInch)));
  if (ppi.value_or(0) != kPixelsPerInch) return;
  if (const auto flags = ParseInt(file.ReadString(kSection, "Flags", ""))) Placement.Flags = *flags;
  const std::string normal = file.ReadString(kSection, "NormalPos", "");
  if (normal.empty()) return;

  int values[4] = {Placement.NormalPos.Left, Placement.NormalPos.Top, Placement.NormalPos.Right,
                   Placement.NormalPos.Bottom};
  std::size_t start = 0;
  for (int& value : values) {
    const std::size_t comma = normal.find(',', start);
    const std::string piece =
        normal.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (const auto number = ParseInt(piece)) value = *number;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (values[0] < values[2]) Placement.NormalPos = Rect{values[0], values[1], values[2], values[3]};
  const int show = ParseInt(file.ReadString(kSection, "ShowCmd", "0")).value_or(0);
  Placement.ShowCmd = (show == 2 || show == 6) ? 2 : show == 3 ? 3 : 1;
}

void TfrmMain::WriteWindowPlacement() {
  ProfileFile file(PlacementFileName(StoreFile, services_.HostExecutable));
  const Rect& r = Placement.NormalPos;
  file.WriteString(kSection, "Flags", std::to_string(Placement.Flags));
  file.WriteString(kSection, "ShowCmd", std::to_string(Placement.ShowCmd));
  file.WriteString(kSection, "NormalPos",
                   FormatText("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom));
  file.WriteString(kSection, "PixelsPerInch", std::to_string(kPixelsPerInch));
  file.WriteString(kSection, "Color", std::to_string(kDialogColor));
  PlacementWritten = true;
}

}  // namespace korval
