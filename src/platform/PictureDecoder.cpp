#include "platform/PictureDecoder.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/Utf8Path.h"

namespace korval {
namespace {

std::atomic<PictureDecoder*>& InstalledDecoder() {
  static std::atomic<PictureDecoder*> decoder{nullptr};
  return decoder;
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\' || c == ':';
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(Utf8Path(path), error);
}

}  // namespace

void SetPictureDecoder(PictureDecoder* decoder) {
  InstalledDecoder().store(decoder);
}

PictureDecoder* InstalledPictureDecoder() {
  return InstalledDecoder().load();
}

std::string PictureExtension(std::string_view path) {
  std::size_t nameStart = 0;
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) {
      nameStart = i;
      break;
    }
  }
  const std::string_view name = path.substr(nameStart);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) c = LowerAscii(c);
  return extension;
}

Picture LoadPictureFile(const std::string& path) {
  if (!IsRegularFile(path)) throw PictureLoadError("Soubor " + path + " neexistuje.");
  const std::string extension = PictureExtension(path);
  std::optional<Picture> picture;
  if (extension == "jpg" || extension == "jpeg") {
    picture = DecodeJpegFile(path);
  } else if (extension == "bmp" || extension == "ico" || extension == "emf" || extension == "wmf") {
    PictureDecoder* decoder = InstalledPictureDecoder();
    if (decoder == nullptr) throw PictureLoadError("Obrázky typu ." + extension + " nelze načíst.");
    picture = decoder->Decode(path, extension);
  } else {
    // The picture dialog offers only the formats above; anything else is a
    // file the user typed by hand or a format stored by another build.
    throw PictureLoadError("Neznámá přípona obrázku (." + extension + ").");
  }
  if (!picture || picture->Empty() ||
      picture->Pixels.size() !=
          static_cast<std::size_t>(picture->Width) * static_cast<std::size_t>(picture->Height))
    throw PictureLoadError("Obrázek " + path + " je poškozen.");
  return std::move(*picture);
}

}  // namespace korval
