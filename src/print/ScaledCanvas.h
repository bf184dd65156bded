#pragma once

#include "platform/StatefulCanvas.h"

namespace korval {

// Draws onto another canvas at another scale: what is drawn here in units of
// one device (printer dots of a label) lands on the target scaled by
// (ScaleX, ScaleY) and shifted to the origin, in the target's units (pixels of
// the page preview). Drawing code sees the resolution it was written for, so
// barcode module widths and label sizes come out as on the printed page and
// only then shrink.
//
// Font heights scale with ScaleY (a font given by points is first made a
// height at this canvas's resolution); a height that would round to nothing
// stays one unit, since 0 would ask the target for its default font. Text
// measurements come back in this canvas's units. Pictures drawn at their own
// size are stretched to their scaled size.
//
// The target's pen, brush and font are set for every call; keep them with a
// CanvasStateGuard around the scaled drawing.
class ScaledCanvas final : public StatefulCanvas {
 public:
  ScaledCanvas(Canvas& target, double scaleX, double scaleY, int dpiX, int dpiY);

  // Where this canvas's (0, 0) lies on the target.
  void SetOrigin(Point origin) { origin_ = origin; }

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }

  void FillRect(const Rect& r) override;
  void FrameRect(const Rect& r) override;
  void Rectangle(const Rect& r) override;
  void DrawFocusRect(const Rect& r) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  int DrawText(std::string_view text, Rect& r, unsigned flags) override;
  void TextOut(int x, int y, std::string_view text) override;
  Size TextExtent(std::string_view text) override;
  void Draw(int x, int y, const Picture& picture) override;
  void StretchDraw(const Rect& r, const Picture& picture) override;

  // The font as the target gets it.
  Font ScaledFont(const Font& font) const;

 private:
  int X(int x) const;
  int Y(int y) const;
  Rect Map(const Rect& r) const;
  int BackX(int length) const;
  int BackY(int length) const;
  // Hands this canvas's pen, brush and scaled font to the target.
  void Apply();

  Canvas& target_;
  double scaleX_;
  double scaleY_;
  int dpiX_;
  int dpiY_;
  Point origin_{0, 0};
};

}  // namespace korval
