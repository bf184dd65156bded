#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Picture.h"

namespace korval {

// Decodes the picture formats the core cannot read by itself: Windows
// bitmaps, icons and both metafile kinds. The backend installs one; metafiles
// come back rendered at their own size.
class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // extensionLower is the file's extension in lower case, without the dot
  // ("bmp", "ico", "emf", "wmf"). Nothing when the file cannot be decoded.
  virtual std::optional<Picture> Decode(const std::string& path,
                                        std::string_view extensionLower) = 0;
};

// The decoder the backend installed; nullptr takes it away again. The
// decoder must outlive its installation.
void SetPictureDecoder(PictureDecoder* decoder);
PictureDecoder* InstalledPictureDecoder();

// A picture file that cannot be loaded: missing, unreadable, damaged, or of
// an extension that is not a picture.
class PictureLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The extension of the file name (the part after the last dot of the last
// path element) in lower case; empty when there is none.
std::string PictureExtension(std::string_view path);

// Decodes a JPEG file into opaque 0xFFRRGGBB pixels with libjpeg. Nothing
// when the file cannot be read, is not a JPEG or ends before its image data.
std::optional<Picture> DecodeJpegFile(const std::string& path);

// Loads a picture file by its extension, compared without regard to case:
// "jpg" and "jpeg" here, "bmp", "ico", "emf" and "wmf" through the installed
// decoder. Throws PictureLoadError.
Picture LoadPictureFile(const std::string& path);

}  // namespace korval
