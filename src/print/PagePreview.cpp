// The "Náhled" tab: the sheet in its proportions with the printable area and
// an outline per label position from the start position on, and the pick of
// the start position by a click on a position.
#include <algorithm>

#include "dialog/TfrmMain.h"
#include "platform/NumberFormat.h"
#include "platform/PrintSurface.h"
#include "print/LayoutGrid.h"
#include "print/NullCanvas.h"
#include "print/SheetReadouts.h"
#include "print/PreviewContents.h"

namespace korval {
namespace {

// Room that the group box keeps around the sheet for its frame and caption.
constexpr int kGroupBoxRoom = 60;
constexpr int kHelpContextPreview = 4;
constexpr Color kOutsideMark = Rgb(220, 0, 0);

int Trunc(double value) {
  return static_cast<int>(value);
}

}  // namespace

void TfrmMain::Preview() {
  if (OnScreen && Ctl<PageControl>("PageControl1").ActivePage() == 0) DrawTiket();

  const PrintSurface& printer = services_.Printer;
  const double paperWidth = printer.PaperWidth(SizeUnit::Inches);
  const double paperHeight = printer.PaperHeight(SizeUnit::Inches);
  const double ratio = paperWidth / paperHeight;
  const auto& group = Ctl<Control>("gbPreview");
  int width = 0;
  int height = 0;
  if (paperHeight >= paperWidth) {
    height = std::max(0, group.Height() - kGroupBoxRoom);
    width = static_cast<int>(RoundHalfEven(ratio * height));
  } else {
    width = std::max(0, group.Width() - kGroupBoxRoom);
    height = static_cast<int>(RoundHalfEven(width / ratio));
  }
  // The paint box fills its panel completely.
  auto& box = Ctl<Control>("Image1");
  box.SetBounds(0, 0, width, height);
  GridInput fullSheet = SheetOnPaper();
  fullSheet.StartCol = 0;
  fullSheet.StartRow = 0;
  const LayoutGrid sheet(fullSheet);
  Ctl<TLabel>("lblNaArch").SetCaption(SheetCountText(sheet.ColumnCount(), sheet.RowCount()));
  Ctl<Control>("DSPreview")
      .SetBounds(group.Width() / 2 - box.Width() / 2, group.Height() / 2 - box.Height() / 2 + 5,
                 width, height);
  RedrawPreview();
}

void TfrmMain::RedrawPreview() {
  if (PreviewCanvas != nullptr) {
    DrawPage(*PreviewCanvas, PageMode::Preview);
    return;
  }
  // Outside a paint the pass still picks the start position; the view is
  // asked to paint the box, which draws it where it can be seen.
  NullCanvas nowhere;
  DrawPage(nowhere, PageMode::Preview);
  Ctl<Control>("Image1").Invalidate();
}

void TfrmMain::DrawPreviewPage(Canvas& canvas) {
  CanvasStateGuard keep(canvas);
  const auto& box = Ctl<Control>("Image1");
  const int width = box.Width();
  const int height = box.Height();
  const Rect whole{0, 0, width, height};
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.FillRect(whole);

  // Paint-box pixels per printer dot.
  const PrintSurface& printer = services_.Printer;
  const GridInput onPaper = SheetOnPaper();
  const double sx = onPaper.SurfaceWidth > 0 ? width / onPaper.SurfaceWidth : 0;
  const double sy = onPaper.SurfaceHeight > 0 ? height / onPaper.SurfaceHeight : 0;

  // Positions count from the printable area. A printer that reports any
  // strip as 0 is taken to report none, and the labels start at the corner.
  const double wasteLeft = printer.WasteLeft(SizeUnit::Inches);
  const double wasteTop = printer.WasteTop(SizeUnit::Inches);
  const double wasteRight = printer.WasteRight(SizeUnit::Inches);
  const double wasteBottom = printer.WasteBottom(SizeUnit::Inches);
  int ox = 0;
  int oy = 0;
  if (wasteLeft != 0 && wasteTop != 0 && wasteRight != 0 && wasteBottom != 0) {
    const int left = Trunc(wasteLeft * 25.4 * Resolution.DotsPerMmX * sx);
    const int top = Trunc(wasteTop * 25.4 * Resolution.DotsPerMmY * sy);
    const int right = width - Trunc(wasteRight * 25.4 * Resolution.DotsPerMmX * sx);
    const int bottom = height - Trunc(wasteBottom * 25.4 * Resolution.DotsPerMmY * sy);
    canvas.SetPenColor(kBlack);
    canvas.SetPenStyle(PenStyle::Dot);
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.LineTo(right, bottom);
    canvas.LineTo(left, bottom);
    canvas.LineTo(left, top);
    canvas.SetPenStyle(PenStyle::Solid);
    ox = left;
    oy = top;
  }

  // Which positions exist is decided on the sheet in printer dots, exactly
  // as the print job decides it; a grid fitted to the small preview would
  // round a label a pixel too wide and drop a column that the printer
  // prints, and a start position picked there would not be the one printed.
  // The preview only scales the positions down.
  const LayoutGrid grid(onPaper);
  GridInput input = onPaper;
  input.SurfaceWidth = width;
  input.SurfaceHeight = height;
  input.ScaleX = sx;
  input.ScaleY = sy;
  const GridMetrics scaled = LayoutGrid(input).Metrics();
  // With "Podrobnosti" the labels themselves, under their outlines.
  if (Ctl<CheckBox>("PodrobnostiPrew").Checked())
    PaintPreviewContents(*this, canvas, grid, scaled, Point{ox, oy}, sx, sy);
  auto& reset = Ctl<Control>("sbReset");
  const Point offset = PrintOffsetDots();
  canvas.SetBrushColor(kBlack);
  for (const GridPosition& position : grid) {
    const Rect r = PreviewCell(position, scaled, Point{ox, oy});
    // Strictly inside: a click on an outline or between two labels picks
    // nothing.
    if (r.Left < ClickPoint.X && ClickPoint.X < r.Right && r.Top < ClickPoint.Y &&
        ClickPoint.Y < r.Bottom) {
      StartCol = position.Col;
      StartRow = position.Row;
      reset.SetEnabled(position.Col > 0 || position.Row > 0);
    }
    canvas.FrameRect(r);
    // A label that the printer cannot print whole is crossed out in red: the
    // print will ask before it cuts it.
    if (ReachesOutside(position, offset)) {
      canvas.SetPenColor(kOutsideMark);
      canvas.MoveTo(r.Left, r.Top);
      canvas.LineTo(r.Right - 1, r.Bottom - 1);
      canvas.MoveTo(r.Right - 1, r.Top);
      canvas.LineTo(r.Left, r.Bottom - 1);
      canvas.SetBrushColor(kOutsideMark);
      canvas.FrameRect(r);
      canvas.SetBrushColor(kBlack);
      canvas.SetPenColor(kBlack);
    }
  }
  canvas.FrameRect(whole);
}

void TfrmMain::Image1MouseDown(int x, int y) {
  // A chosen start position stays until "Storno tisk od p." resets it.
  if (StartCol > 0 || StartRow > 0) return;
  ClickPoint = Point{x, y};
  // The first pass picks the position under the click, the second draws the
  // sheet from it on.
  RedrawPreview();
  Preview();
}

void TfrmMain::TabSheet2Enter() {
  Ctl<PageControl>("PageControl1").SetHelpContext(kHelpContextPreview);
  Preview();
}

}  // namespace korval
