#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "platform/PictureDecoder.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/Utf8Path.h"

namespace korval {
namespace {

bool FileExists(const std::string& name) {
  std::error_code error;
  return !name.empty() && std::filesystem::exists(Utf8Path(name), error);
}

// A picture that failed to load is painted over with the picture's brush,
// which is white: the item keeps its size and shows nothing.
void BlankPicture(TImage& image) {
  Picture blank = image.GetPicture();
  blank.Pixels.assign(
      static_cast<std::size_t>(std::max(blank.Width, 0)) * std::max(blank.Height, 0), 0xFFFFFFFFu);
  image.SetPicture(std::move(blank));
}

}  // namespace

void TfrmMain::EBitMapChange() {
  const std::string fileName = TrimControl(Ctl<Edit>("EBitMap").Text());
  if (!FileExists(fileName) || !Ctl<CheckBox>("cbBitMAp").Checked()) return;
  Ui& ui = services_.UserInterface;
  ui.ProcessPendingEvents();
  ui.SetCursor(Cursor::HourGlass);
  auto& image = Ctl<TImage>("imgBitMap");
  try {
    image.SetPicture(LoadPictureFile(fileName));
  } catch (...) {
    // A picture that cannot be read is no reason to stop editing the label;
    // the empty item shows the user that the file was not taken.
    BlankPicture(image);
  }
  ui.SetCursor(Cursor::Default);
}

void TfrmMain::EBitMapButtonClick() {
  // The dialog changes the current folder on some platforms, and the printer
  // settings file lives in the current folder.
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  const std::optional<std::string> fileName = services_.UserInterface.OpenPictureDialog(
      ControlText(kFormName, "OpenPictureDialog1", "Title", "Vyber obrázek"),
      ControlText(kFormName, "OpenPictureDialog1", "Filter", "Bitmaps (*.bmp)|*.bmp"));
  if (fileName) Ctl<Edit>("EBitMap").SetText(*fileName);
  if (!error) std::filesystem::current_path(folder, error);
}

}  // namespace korval
