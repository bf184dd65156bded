#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"

namespace korval {

// Text layout flags, the values of the platform's DrawText.
enum DrawTextFlag : unsigned {
  DT_LEFT = 0x0000,
  DT_TOP = 0x0000,
  DT_CENTER = 0x0001,
  DT_RIGHT = 0x0002,
  DT_VCENTER = 0x0004,
  DT_BOTTOM = 0x0008,
  DT_WORDBREAK = 0x0010,
  DT_SINGLELINE = 0x0020,
  DT_NOCLIP = 0x0100,
  DT_CALCRECT = 0x0400,
  DT_NOPREFIX = 0x0800,
};

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, Clear };

// Everything the label, the barcodes and the preview draw with: GDI-like, in
// integer device units. Texts are UTF-8. Drawing state (pen, brush, font) is
// the canvas's own; Save and Restore keep it around a piece of drawing.
//
// Like the platform it stands in for, text is drawn with an opaque background
// in the brush colour while the brush style is Solid, and transparently while
// it is Clear. FillRect and FrameRect use the brush colour; lines and
// Rectangle's outline use the pen.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Resolution of the device in dots per inch.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;

  virtual void SetPenColor(Color color) = 0;
  virtual Color PenColor() const = 0;
  virtual void SetPenStyle(PenStyle style) = 0;
  virtual PenStyle GetPenStyle() const = 0;
  virtual void SetBrushColor(Color color) = 0;
  virtual Color BrushColor() const = 0;
  virtual void SetBrushStyle(BrushStyle style) = 0;
  virtual BrushStyle GetBrushStyle() const = 0;
  // The font's Height is in device units of this canvas.
  virtual void SetFont(const Font& font) = 0;
  virtual const Font& GetFont() const = 0;

  virtual void FillRect(const Rect& r) = 0;
  // Several rectangles in the brush colour, as FillRect each; a device may
  // fill them in one go (the bars of a barcode as one path of a PDF).
  virtual void FillRects(std::span<const Rect> rects) {
    for (const Rect& r : rects) FillRect(r);
  }
  virtual void FrameRect(const Rect& r) = 0;
  // Pen outline, brush fill.
  virtual void Rectangle(const Rect& r) = 0;
  // An inverting dotted frame: drawing it twice leaves the canvas as it was.
  virtual void DrawFocusRect(const Rect& r) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;

  // Draws text into r with the DT_* flags, clipped to r unless DT_NOCLIP.
  // With DT_CALCRECT nothing is drawn and r receives the size the text needs.
  // Returns the height of the text drawn.
  virtual int DrawText(std::string_view text, Rect& r, unsigned flags) = 0;
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual Size TextExtent(std::string_view text) = 0;

  // The picture at its own size, one picture pixel per device unit.
  virtual void Draw(int x, int y, const Picture& picture) = 0;
  // The picture stretched into r.
  virtual void StretchDraw(const Rect& r, const Picture& picture) = 0;

  // Pen, brush and font are pushed and popped.
  virtual void Save() = 0;
  virtual void Restore() = 0;
};

// Keeps a canvas's drawing state for the length of a scope.
class CanvasStateGuard {
 public:
  explicit CanvasStateGuard(Canvas& canvas) : canvas_(canvas) { canvas_.Save(); }
  ~CanvasStateGuard() { canvas_.Restore(); }
  CanvasStateGuard(const CanvasStateGuard&) = delete;
  CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace korval
