#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/PictureDecoder.h"

namespace korval::win32 {

// The Windows decoder of the picture formats the core leaves to the backend,
// all through GDI: bitmaps as LoadImage reads them, icons as DrawIconEx
// draws them, enhanced and old Windows metafiles as PlayEnhMetaFile plays
// them. Metafiles come out at their own size at the design surface's 96
// pixels per inch, as on Linux; like icons they keep their transparency:
// what they do not paint stays transparent.
class Win32PictureDecoder final : public PictureDecoder {
 public:
  std::optional<Picture> Decode(const std::string& path, std::string_view extensionLower) override;
};

// Registers one decoder for the life of the library (SetPictureDecoder).
void InstallPictureDecoder();

}  // namespace korval::win32
