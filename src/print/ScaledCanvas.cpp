#include "print/ScaledCanvas.h"

#include <cmath>

namespace korval {
namespace {

constexpr double kPointsPerInch = 72.0;

int Round(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

ScaledCanvas::ScaledCanvas(Canvas& target, double scaleX, double scaleY, int dpiX, int dpiY)
    : target_(target), scaleX_(scaleX), scaleY_(scaleY), dpiX_(dpiX), dpiY_(dpiY) {}

int ScaledCanvas::X(int x) const {
  return origin_.X + Round(x * scaleX_);
}

int ScaledCanvas::Y(int y) const {
  return origin_.Y + Round(y * scaleY_);
}

// Edges are mapped one by one, so neighbouring rectangles (the bars of a
// barcode) stay neighbours without gaps or overlaps.
Rect ScaledCanvas::Map(const Rect& r) const {
  return Rect{X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)};
}

int ScaledCanvas::BackX(int length) const {
  return scaleX_ > 0 ? Round(length / scaleX_) : 0;
}

int ScaledCanvas::BackY(int length) const {
  return scaleY_ > 0 ? Round(length / scaleY_) : 0;
}

Font ScaledCanvas::ScaledFont(const Font& font) const {
  Font scaled = font;
  int height = font.Height;
  if (height == 0 && font.Size != 0) height = -Round(font.Size * dpiY_ / kPointsPerInch);
  if (height == 0) return scaled;
  int onTarget = Round(height * scaleY_);
  if (onTarget == 0) onTarget = height < 0 ? -1 : 1;
  scaled.Height = onTarget;
  return scaled;
}

void ScaledCanvas::Apply() {
  target_.SetPenColor(PenColor());
  target_.SetPenStyle(GetPenStyle());
  target_.SetBrushColor(BrushColor());
  target_.SetBrushStyle(GetBrushStyle());
  target_.SetFont(ScaledFont(GetFont()));
}

void ScaledCanvas::FillRect(const Rect& r) {
  Apply();
  target_.FillRect(Map(r));
}

void ScaledCanvas::FrameRect(const Rect& r) {
  Apply();
  target_.FrameRect(Map(r));
}

void ScaledCanvas::Rectangle(const Rect& r) {
  Apply();
  target_.Rectangle(Map(r));
}

void ScaledCanvas::DrawFocusRect(const Rect& r) {
  Apply();
  target_.DrawFocusRect(Map(r));
}

void ScaledCanvas::MoveTo(int x, int y) {
  target_.MoveTo(X(x), Y(y));
}

void ScaledCanvas::LineTo(int x, int y) {
  Apply();
  target_.LineTo(X(x), Y(y));
}

int ScaledCanvas::DrawText(std::string_view text, Rect& r, unsigned flags) {
  Apply();
  Rect onTarget = Map(r);
  const int height = target_.DrawText(text, onTarget, flags);
  if ((flags & DT_CALCRECT) != 0) {
    r.Right = r.Left + BackX(onTarget.Width());
    r.Bottom = r.Top + BackY(onTarget.Height());
  }
  return BackY(height);
}

void ScaledCanvas::TextOut(int x, int y, std::string_view text) {
  Apply();
  target_.TextOut(X(x), Y(y), text);
}

Size ScaledCanvas::TextExtent(std::string_view text) {
  Apply();
  const Size size = target_.TextExtent(text);
  return Size{BackX(size.Cx), BackY(size.Cy)};
}

void ScaledCanvas::Draw(int x, int y, const Picture& picture) {
  StretchDraw(Rect{x, y, x + picture.Width, y + picture.Height}, picture);
}

void ScaledCanvas::StretchDraw(const Rect& r, const Picture& picture) {
  const Rect onTarget = Map(r);
  if (onTarget.Width() <= 0 || onTarget.Height() <= 0) return;
  Apply();
  target_.StretchDraw(onTarget, picture);
}

}  // namespace korval
