#pragma once

#include <cstdint>

namespace korval {

// Colours are stored the Windows way, because formats keep them as numbers:
// a plain colour is 0x00BBGGRR (red in the low byte); a system colour is
// 0x80000000 plus the system colour index, so it reads as a negative number.
using Color = std::int32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kWindowTextColor = static_cast<Color>(0x80000008u);  // -2147483640
inline constexpr Color kWindowColor = static_cast<Color>(0x80000005u);
inline constexpr Color kButtonFaceColor = static_cast<Color>(0x8000000Fu);

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) {
  return c & 0xFF;
}
constexpr int GreenOf(Color c) {
  return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Color c) {
  return (c >> 16) & 0xFF;
}
constexpr bool IsSystemColor(Color c) {
  return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0;
}

// The plain RGB value a colour stands for. System colours take the values of
// a standard light desktop scheme, which is what a printed label must show.
Color ResolveColor(Color c);

}  // namespace korval
