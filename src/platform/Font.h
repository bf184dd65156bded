#pragma once

#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace korval {

enum class FontPitch { fpDefault, fpVariable, fpFixed };

// Style members in the order formats write them.
enum FontStyleBit : std::uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using FontStyles = std::uint8_t;

// A font as items carry it and formats store it. Height is in pixels of the
// surface the font belongs to; a negative height is the character (em) height
// without internal leading, a positive one the cell height. Size is in points.
// On the design surface (96 pixels per inch) Height -19 and Size 14 describe
// the same font; SetHeight and SetSize keep the two in step.
struct Font {
  static constexpr int kDesignPixelsPerInch = 96;

  int Charset = 1;  // DEFAULT_CHARSET
  Color FontColor = kWindowTextColor;
  int Height = -11;
  std::string Name = "MS Sans Serif";
  FontPitch Pitch = FontPitch::fpDefault;
  int Size = 8;
  FontStyles Style = 0;

  void SetHeight(int height);
  void SetSize(int size);
  bool Has(FontStyleBit bit) const { return (Style & bit) != 0; }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace korval
