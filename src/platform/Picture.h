#pragma once

#include <cstdint>
#include <vector>

namespace korval {

// A decoded picture: rows of 0xAARRGGBB pixels, top row first. Metafiles are
// rendered into one of these at their own size when they are loaded.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  bool Empty() const { return Width <= 0 || Height <= 0; }
};

}  // namespace korval
