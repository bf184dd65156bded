#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/PictureDecoder.h"

class QImage;

namespace korval::qt {

// The Linux decoder of the picture formats the core leaves to the backend:
// Windows bitmaps and icons through Qt's image readers, enhanced metafiles
// through libemf2svg and Qt SVG, old Windows metafiles through libwmf.
// Metafiles are rendered at their own size at the design surface's 96 pixels
// per inch, as the picture item shows them.
class QtPictureDecoder final : public PictureDecoder {
 public:
  std::optional<Picture> Decode(const std::string& path, std::string_view extensionLower) override;
};

// Registers one decoder for the life of the process (SetPictureDecoder).
void InstallPictureDecoder();

// Rows of 0xAARRGGBB pixels of any QImage; Empty for a null image.
Picture PictureFromImage(const QImage& image);

}  // namespace korval::qt
