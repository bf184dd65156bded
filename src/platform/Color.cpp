#include "platform/Color.h"

#include <array>

namespace korval {

Color ResolveColor(Color c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  // Indices of the Windows system colours; the values of the classic scheme.
  static constexpr std::array<Color, 31> kScheme = {
      Rgb(212, 208, 200),  // 0 scroll bar
      Rgb(58, 110, 165),   // 1 background
      Rgb(10, 36, 106),    // 2 active caption
      Rgb(128, 128, 128),  // 3 inactive caption
      Rgb(212, 208, 200),  // 4 menu
      Rgb(255, 255, 255),  // 5 window
      Rgb(0, 0, 0),        // 6 window frame
      Rgb(0, 0, 0),        // 7 menu text
      Rgb(0, 0, 0),        // 8 window text
      Rgb(255, 255, 255),  // 9 caption text
      Rgb(212, 208, 200),  // 10 active border
      Rgb(212, 208, 200),  // 11 inactive border
      Rgb(128, 128, 128),  // 12 application workspace
      Rgb(10, 36, 106),    // 13 highlight
      Rgb(255, 255, 255),  // 14 highlight text
      Rgb(212, 208, 200),  // 15 button face
      Rgb(128, 128, 128),  // 16 button shadow
      Rgb(128, 128, 128),  // 17 grey text
      Rgb(0, 0, 0),        // 18 button text
      Rgb(212, 208, 200),  // 19 inactive caption text
      Rgb(255, 255, 255),  // 20 button highlight
      Rgb(64, 64, 64),     // 21 3-D dark shadow
      Rgb(212, 208, 200),  // 22 3-D light
      Rgb(0, 0, 0),        // 23 info text
      Rgb(255, 255, 225),  // 24 info background
      Rgb(0, 0, 0),        // 25 (unused)
      Rgb(0, 0, 128),      // 26 hot light
      Rgb(166, 202, 240),  // 27 gradient active caption
      Rgb(192, 192, 192),  // 28 gradient inactive caption
      Rgb(10, 36, 106),    // 29 menu highlight
      Rgb(212, 208, 200),  // 30 menu bar
  };
  const auto index = static_cast<std::uint32_t>(c) & 0xFFu;
  return index < kScheme.size() ? kScheme[index] : kBlack;
}

}  // namespace korval
