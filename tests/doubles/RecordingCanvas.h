#pragma once

#include <string>
#include <vector>

#include "platform/StatefulCanvas.h"

namespace korval::test {

// A canvas that keeps every drawing call with the state it was made in.
// Text metrics are simple and exact so tests can compute with them: a text
// is |font height| units high and (|font height| + 1) / 2 units wide per
// character.
class RecordingCanvas final : public StatefulCanvas {
 public:
  enum class Op {
    FillRect,
    FrameRect,
    Rectangle,
    FocusRect,
    MoveTo,
    LineTo,
    DrawText,
    TextOut,
    Draw,
    StretchDraw
  };

  struct Call {
    Op op = Op::FillRect;
    Rect rect;  // the rectangle, or (x, y, x, y) for points
    std::string text;
    unsigned flags = 0;
    Color penColor = kBlack;
    PenStyle penStyle = PenStyle::Solid;
    Color brushColor = kWhite;
    BrushStyle brushStyle = BrushStyle::Solid;
    Font font;
    int pictureWidth = 0;
    int pictureHeight = 0;
  };

  explicit RecordingCanvas(int dpiX = 96, int dpiY = 96);

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }

  void FillRect(const Rect& r) override { Record(Op::FillRect, r); }
  void FrameRect(const Rect& r) override { Record(Op::FrameRect, r); }
  void Rectangle(const Rect& r) override { Record(Op::Rectangle, r); }
  void DrawFocusRect(const Rect& r) override { Record(Op::FocusRect, r); }
  void MoveTo(int x, int y) override { Record(Op::MoveTo, Rect{x, y, x, y}); }
  void LineTo(int x, int y) override { Record(Op::LineTo, Rect{x, y, x, y}); }
  int DrawText(std::string_view text, Rect& r, unsigned flags) override;
  void TextOut(int x, int y, std::string_view text) override;
  Size TextExtent(std::string_view text) override;
  void Draw(int x, int y, const Picture& picture) override;
  void StretchDraw(const Rect& r, const Picture& picture) override;
  void Restore() override;

  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<Call> CallsOf(Op op) const;
  void Clear() { calls_.clear(); }

 private:
  Call& Record(Op op, const Rect& r);

  int dpiX_;
  int dpiY_;
  std::vector<Call> calls_;
};

}  // namespace korval::test
