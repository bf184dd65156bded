#pragma once

#include <QFont>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/StatefulCanvas.h"

class QPainter;
class QColor;

namespace korval::qt {

// The Qt font for a canvas font whose Height is in device units of a device
// of dpiY dots per inch. A negative height is the character (em) height, a
// positive one the cell height; 0 takes the point Size. Windows font names
// that are not installed map to DejaVu faces of the same kind, which carry the
// Czech letters.
QFont QtFontFor(const Font& font, int dpiY);

// The canvas on a QPainter: a QImage of any resolution, a printer page, a
// widget. The resolution is given, since a QImage only knows it as dots per
// metre and a printer's logical resolution is the caller's choice.
//
// Behaves as the platform's GDI does where the label cares: rectangles right-
// and bottom-exclusive and never anti-aliased, so bars stay crisp; FillRect,
// FrameRect and Rectangle's inside paint nothing while the brush style is
// Clear (a hollow brush); text in the font's colour, on the brush colour while
// the brush is Solid; LineTo leaves out the end point; DrawFocusRect inverts
// every other pixel of the frame (on image devices), so a second call undoes
// the first.
class QtCanvas final : public StatefulCanvas {
 public:
  QtCanvas(QPainter& painter, int dpiX, int dpiY);

  int DpiX() const override { return dpiX_; }
  int DpiY() const override { return dpiY_; }

  void FillRect(const Rect& r) override;
  void FillRects(std::span<const Rect> rects) override;
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
  void Save() override;
  void Restore() override;

  // The canvas is a printed page of its own that starts blank (white) and
  // nothing else draws on: drawing then leaves out what cannot show — a
  // white fill or text background on paper still blank there — and keeps no
  // painter state of its own around a piece of drawing. The page's content
  // is smaller and quicker to write, and prints the same.
  void DrawOnBlankPaper();
  // A new page of such a canvas: blank again.
  void PageBegins() { inked_.clear(); }

 private:
  // Whether the colour would show where r lies: not white, or on paper that
  // has something drawn there already.
  bool Shows(Color color, const Rect& r) const;
  void Inked(const Rect& r);
  const QFont& CurrentFont();
  // Font, colour and background of a text drawn within area.
  void PrepareText(const Rect& area);
  void DrawLine(int x0, int y0, int x1, int y1);

  QPainter& painter_;
  int dpiX_;
  int dpiY_;
  Point position_;
  // The Qt fonts made for the canvas fonts last used; fonts are costly to make.
  static constexpr std::size_t kFontsKept = 16;
  std::vector<std::pair<Font, QFont>> madeFonts_;
  // The sizes of the texts last measured.
  struct Extent {
    Font font;
    std::string text;
    Size size;
  };
  static constexpr std::size_t kExtentsKept = 16;
  std::vector<Extent> extents_;
  bool blankPaper_ = false;
  // What has been drawn on the page so far, as rectangles.
  std::vector<Rect> inked_;
};

}  // namespace korval::qt
