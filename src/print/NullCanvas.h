#pragma once

#include <vector>

#include "platform/StatefulCanvas.h"

namespace korval {

// A canvas that draws nothing. The page preview runs its drawing routine
// outside a view's paint too, because the same pass picks the start position;
// without a paint box to draw on it draws here. Drawing state is kept, so
// code that reads back what it set still works.
class NullCanvas final : public StatefulCanvas {
 public:
  int DpiX() const override { return kDpi; }
  int DpiY() const override { return kDpi; }

  void FillRect(const Rect&) override {}
  void FrameRect(const Rect&) override {}
  void Rectangle(const Rect&) override {}
  void DrawFocusRect(const Rect&) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  // Text takes no room here: a measurement gives an empty rectangle.
  int DrawText(std::string_view text, Rect& r, unsigned flags) override;
  void TextOut(int, int, std::string_view) override {}
  Size TextExtent(std::string_view) override { return Size{}; }
  void Draw(int, int, const Picture&) override {}
  void StretchDraw(const Rect&, const Picture&) override {}

 private:
  static constexpr int kDpi = 96;

  struct State {
    Color Pen = kBlack;
    PenStyle PenLine = PenStyle::Solid;
    Color Brush = kWhite;
    BrushStyle BrushFill = BrushStyle::Solid;
    Font TextFont;
  };

  State state_;
  std::vector<State> saved_;
};

}  // namespace korval
