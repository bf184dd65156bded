#include "print/NullCanvas.h"

namespace korval {

int NullCanvas::DrawText(std::string_view, Rect& r, unsigned flags) {
  if ((flags & DT_CALCRECT) != 0) {
    r.Right = r.Left;
    r.Bottom = r.Top;
  }
  return 0;
}

}  // namespace korval
