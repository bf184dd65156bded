// Picture files as the picture item loads them: the kind is told by the
// first bytes, as a file of that kind would start, and the file is decoded
// through the same path as the item's (libjpeg here, Qt and the metafile
// libraries of the backend for the rest).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzFolder.h"
#include "platform/PictureDecoder.h"
#include "qt/QtApplication.h"

namespace {

const char* ExtensionOf(const std::uint8_t* data, std::size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return "jpg";
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return "bmp";
  if (size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0) return "ico";
  if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0) return "emf";
  return "wmf";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    korval::qt::EnsureApplication();
    return true;
  }();
  (void)ready;
  const std::string name = std::string("obrazek.") + ExtensionOf(data, size);
  const std::string path = korval::fuzz::Folder().Write(name, data, size);
  try {
    const korval::Picture picture = korval::LoadPictureFile(path);
    (void)picture;
  } catch (const korval::PictureLoadError&) {
  }
  return 0;
}
