#include "platform/Font.h"

#include <cmath>

namespace korval {

// Both conversions round like the platform's MulDiv: to nearest, halves away
// from zero.
void Font::SetHeight(int height) {
  Height = height;
  Size = static_cast<int>(std::lround(-height * 72.0 / kDesignPixelsPerInch));
}

void Font::SetSize(int size) {
  Size = size;
  Height = -static_cast<int>(std::lround(size * double(kDesignPixelsPerInch) / 72.0));
}

}  // namespace korval
