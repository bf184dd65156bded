#include "doubles/RecordingCanvas.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/Text.h"

namespace korval::test {

RecordingCanvas::RecordingCanvas(int dpiX, int dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}

RecordingCanvas::Call& RecordingCanvas::Record(Op op, const Rect& r) {
  Call call;
  call.op = op;
  call.rect = r;
  call.penColor = state_.penColor;
  call.penStyle = state_.penStyle;
  call.brushColor = state_.brushColor;
  call.brushStyle = state_.brushStyle;
  call.font = state_.font;
  calls_.push_back(std::move(call));
  return calls_.back();
}

Size RecordingCanvas::TextExtent(std::string_view text) {
  const int h = std::abs(state_.font.Height);
  return Size{static_cast<int>(CharCount(text)) * ((h + 1) / 2), h};
}

int RecordingCanvas::DrawText(std::string_view text, Rect& r, unsigned flags) {
  const Size extent = TextExtent(text);
  if ((flags & DT_CALCRECT) != 0) {
    r.Right = r.Left + extent.Cx;
    r.Bottom = r.Top + extent.Cy;
    return extent.Cy;
  }
  Call& call = Record(Op::DrawText, r);
  call.text = std::string(text);
  call.flags = flags;
  return extent.Cy;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
  Call& call = Record(Op::TextOut, Rect{x, y, x, y});
  call.text = std::string(text);
}

void RecordingCanvas::Draw(int x, int y, const Picture& picture) {
  Call& call = Record(Op::Draw, Rect{x, y, x + picture.Width, y + picture.Height});
  call.pictureWidth = picture.Width;
  call.pictureHeight = picture.Height;
}

void RecordingCanvas::StretchDraw(const Rect& r, const Picture& picture) {
  Call& call = Record(Op::StretchDraw, r);
  call.pictureWidth = picture.Width;
  call.pictureHeight = picture.Height;
}

void RecordingCanvas::Restore() {
  // Stricter than a device: an unbalanced Restore is a fault of the code under test.
  if (SaveDepth() == 0) throw std::logic_error("RecordingCanvas: Restore without Save");
  StatefulCanvas::Restore();
}

std::vector<RecordingCanvas::Call> RecordingCanvas::CallsOf(Op op) const {
  std::vector<Call> out;
  for (const auto& c : calls_)
    if (c.op == op) out.push_back(c);
  return out;
}

}  // namespace korval::test
