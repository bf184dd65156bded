#include "label/TImage.h"

namespace korval {

void TImage::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  Changed("Picture");
}

void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Changed("Stretch");
}

}  // namespace korval
