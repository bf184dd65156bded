// Editing on the design surface with the mouse: placing a switched-on item,
// moving and resizing items, the selection handles after a drop, and the two
// read-outs of the mouse position in millimetres.
#include <optional>
#include <string>

#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace korval {
namespace {

// The label is shown at its real size, so design pixels convert to
// millimetres through the screen resolution alone.
int PixelsToMm(int pixels) {
  return static_cast<int>(RoundHalfEven(pixels * 25.4 / TfrmMain::kPixelsPerInch));
}

std::string MouseReadout(int xPixels, int yPixels) {
  return FillPattern(MessagePattern("MouseReadout", "Myš(mm):\r%d:%d"),
                     {std::to_string(PixelsToMm(xPixels)), std::to_string(PixelsToMm(yPixels))});
}

bool InRange(int v, int low, int high) {
  return v >= low && v <= high;
}

// A hit area of the hover test: x and y ranges (inclusive) in the item's own
// pixels, and what a press there drags.
struct HitArea {
  int XLow;
  int XHigh;
  int YLow;
  int YHigh;
  unsigned Sides;
  Cursor Shape;
};

// Only these kinds of item get the handles: the view draws them around
// texts, barcodes and the picture and nothing else.
bool ShowsHandles(const Control& item) {
  return dynamic_cast<const TLabel*>(&item) != nullptr ||
         dynamic_cast<const TBarCodeControl*>(&item) != nullptr ||
         dynamic_cast<const TImage*>(&item) != nullptr;
}

}  // namespace

void TfrmMain::MouseDownClick(Control& item, MouseButton button, int x, int y) {
  // The right button belongs to the item menu.
  if (button != MouseButton::Left) return;
  item.Invalidate();
  Moving = DragSides == dsMove;
  Resizing = !Moving;
  DownX = x;
  DownY = y;
  DragItem = &item;
  DragRect = item.BoundsRect();
  // The view draws the outline (DragOutline) when it paints the surface.
  Ctl<Control>("PaintBox1").Invalidate();
}

void TfrmMain::MouseMoveClick(Control& item, int x, int y) {
  Ctl<TLabel>("Label7").SetCaption(MouseReadout(item.Left() + x, item.Top() + y));

  if ((Moving || Resizing) && DragItem != nullptr) {
    // The item itself stays put until the drop; only its outline follows the
    // mouse, measured from where the button went down.
    const Control& dragged = *DragItem;
    const int dx = x - DownX;
    const int dy = y - DownY;
    const int w = dragged.Width();
    const int h = dragged.Height();
    if (Moving) {
      DragRect = Rect{dragged.Left() + dx, dragged.Top() + dy, dragged.Left() + dx + w,
                      dragged.Top() + dy + h};
    } else {
      if (DragSides & dsRight) DragRect.Right = DragRect.Left + w + dx;
      if (DragSides & dsLeft) DragRect.Left = DragRect.Right - w + dx;
      if (DragSides & dsTop) DragRect.Top = DragRect.Bottom - h + dy;
      if (DragSides & dsBottom) DragRect.Bottom = DragRect.Top + h + dy;
    }
    Ctl<Control>("PaintBox1").Invalidate();
    return;
  }

  // Hover: the first matching area decides what a press here will drag.
  const int s = HandleSize;
  const int w = item.Width();
  const int h = item.Height();
  const HitArea areas[] = {
      {0, s, 0, s, dsLeft | dsTop, Cursor::SizeNWSE},
      {w - s, w, h - s, h, dsRight | dsBottom, Cursor::SizeNWSE},
      {0, s, h - s, h, dsLeft | dsBottom, Cursor::SizeNESW},
      {w - s, w, 0, s, dsRight | dsTop, Cursor::SizeNESW},
      {0, s, (h - s) / 2, h / 2, dsLeft, Cursor::SizeWE},
      {w - s, w, (h - s) / 2, h / 2, dsRight, Cursor::SizeWE},
      {(w - s) / 2, w / 2, 0, s, dsTop, Cursor::SizeNS},
      {(w - s) / 2, w / 2, h - s, h, dsBottom, Cursor::SizeNS},
  };
  DragSides = dsMove;
  ItemCursor = Cursor::Default;
  for (const HitArea& area : areas) {
    if (InRange(x, area.XLow, area.XHigh) && InRange(y, area.YLow, area.YHigh)) {
      DragSides = area.Sides;
      ItemCursor = area.Shape;
      break;
    }
  }

  Ctl<TLabel>("Label8").SetCaption(
      FillPattern(MessagePattern("ItemReadout",
                                 "Objekt: [%s]\rpozice myši(mm): %d : %d "
                                 "\rvelikost objektu(mm): %d : %d"),
                  {item.Hint(), std::to_string(PixelsToMm(x)), std::to_string(PixelsToMm(y)),
                   std::to_string(PixelsToMm(w)), std::to_string(PixelsToMm(h))}));
}

void TfrmMain::MouseUpClick(Control& item, MouseButton button, int x, int y) {
  // The barcode has no menu of its own; it asks for the item menu here.
  if (button == MouseButton::Right && dynamic_cast<TBarCodeControl*>(&item) != nullptr) {
    if (OnPopupRequest) OnPopupRequest(item, x, y);
    return;
  }
  Control& dropped = DragItem != nullptr ? *DragItem : item;
  if (Resizing) {
    // No limit: an outline dragged past the opposite edge is taken as it is.
    dropped.SetBounds(DragRect.Left, DragRect.Top, DragRect.Width(), DragRect.Height());
    Resizing = false;
  }
  if (Moving) {
    dropped.SetBounds(dropped.Left() + x - DownX, dropped.Top() + y - DownY, dropped.Width(),
                      dropped.Height());
    Moving = false;
  }
  DragItem = nullptr;

  SelectionHandles.reset();
  auto& surface = Ctl<Control>("PaintBox1");
  surface.Invalidate();
  DrawTiket();
  if (ShowsHandles(dropped)) {
    // Handles last one painting: the view draws them in its next paint of
    // the surface and then forgets them, as the drawing underneath would
    // cover them at any later repaint.
    SelectionHandles = dropped.BoundsRect();
    surface.Invalidate();
  }
}

void TfrmMain::imgTiketMouseDown(MouseButton /*button*/, int x, int y) {
  if (!PlacingItem() || CurrentItem() == nullptr) return;
  Control& item = *CurrentItem();
  item.SetTop(y);
  item.SetLeft(x);
  item.SetVisible(true);
  // A catalogue item that was never sized would be invisible on the label.
  if (item.Width() <= 0) item.SetWidth(10);
  if (item.Height() <= 0) item.SetHeight(5);
  LeavePlacingMode();  // also the default cursor again
  DrawTiket();
}

void TfrmMain::imgTiketMouseMove(int x, int y) {
  // Only the label itself accepts the item being placed.
  if (PlacingItem()) services_.UserInterface.SetCursor(Cursor::Default);
  Ctl<TLabel>("Label7").SetCaption(MouseReadout(x, y));
  Ctl<TLabel>("Label8").SetCaption("Etiketa : " + Ctl<ComboBox>("cboxSaves").Text());
  Ctl<PageControl>("PageControl1").SetHelpContext(5);
}

void TfrmMain::ScrollBox1MouseMove() {
  if (PlacingItem()) services_.UserInterface.SetCursor(Cursor::NotAllowed);
  Ctl<TLabel>("Label7").SetCaption(MouseReadout(0, 0));
  Ctl<TLabel>("Label8").SetCaption("");
  Ctl<PageControl>("PageControl1").SetHelpContext(3);
}

void TfrmMain::PaintDesignSurface(Canvas& canvas) {
  PaintBox1Paint(canvas);
  PaintItemsForScreen(canvas);
  if (const auto outline = DragOutline()) canvas.DrawFocusRect(*outline);
  if (SelectionHandles) {
    DrawSelectionHandles(canvas, *SelectionHandles, HandleSize, SolidHandles);
    // Drawn once: the next painting covers them, as on the platform.
    SelectionHandles.reset();
  }
}

std::optional<Rect> TfrmMain::DragOutline() const {
  if (Moving || Resizing) return DragRect;
  return std::nullopt;
}

void TfrmMain::DrawSelectionHandles(Canvas& canvas, const Rect& r, int size, bool solid) {
  const int cx = r.Left + (r.Right - size - r.Left) / 2;
  const int cy = r.Top + (r.Bottom - size - r.Top) / 2;
  const Point corners[] = {
      {r.Left, r.Top},
      {r.Left, r.Bottom - size},
      {r.Right - size, r.Top},
      {r.Right - size, r.Bottom - size},
      {cx, r.Bottom - size},
      {cx, r.Top},
      {r.Left, cy},
      {r.Right - size, cy},
  };
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(kBlack);
  for (const Point& p : corners) {
    const Rect square{p.X, p.Y, p.X + size, p.Y + size};
    if (solid) {
      canvas.FillRect(square);
    } else {
      canvas.FrameRect(square);
    }
  }
  canvas.SetBrushColor(kWhite);
}

}  // namespace korval
