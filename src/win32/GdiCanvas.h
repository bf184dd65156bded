#pragma once

#include <string_view>

#include "platform/StatefulCanvas.h"

// The device context handle as windows.h declares it (STRICT handles), so
// that this header needs none of windows.h's macros.
struct HDC__;
struct HFONT__;

namespace korval::win32 {

// The canvas on a GDI device context: a printer page, a memory bitmap, a
// window being painted. The context stays the caller's; the canvas draws on
// it and leaves no object of its own selected into it between two calls, so
// the context can be used, saved or deleted after any call.
//
// GDI itself gives the platform's behaviour the canvas promises: right- and
// bottom-exclusive rectangles, LineTo without its end point, DrawText with
// the DT_* flags as they come (clipping to the rectangle unless DT_NOCLIP),
// an inverting DrawFocusRect. Like the Qt canvas, FillRect, FrameRect and
// Rectangle's inside paint nothing while the brush style is Clear, the gaps
// of a dotted line are left as they were, and pictures are drawn with their
// transparency.
class GdiCanvas final : public StatefulCanvas {
 public:
  explicit GdiCanvas(HDC__* dc);
  // A canvas that reports ppi as its resolution whatever the context's: a
  // window drawing the label at the design resolution on any screen.
  GdiCanvas(HDC__* dc, int ppi);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  int DpiX() const override;
  int DpiY() const override;

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
  // Besides pen, brush and font, the context's own state (clipping, text
  // colour and background, ...) is saved with SaveDC.
  void Save() override;
  void Restore() override;

 private:
  // The font for the canvas font in force, made when it changed.
  HFONT__* CurrentFont();
  void PrepareText();

  HDC__* dc_;
  // 0: the context's own resolution.
  int ppi_ = 0;
  // GDI keeps a current position too, but SaveDC and RestoreDC would carry
  // it along; the canvas's position is not part of its saved state.
  Point position_;
  Font madeFor_;
  HFONT__* font_ = nullptr;
};

}  // namespace korval::win32
