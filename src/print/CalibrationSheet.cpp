// The calibration sheet: the label grid of the current format with a cross
// at every label corner, millimetre rulers along the printable area's top
// and left edges, and a line saying which printer and offset printed it.
// Printed on a sheet of labels, it shows how far the printer puts things
// from where the sheet has them; the clerk reads the two numbers off the
// rulers and stores them as the printer's offset.
#include <algorithm>
#include <string>

#include "dialog/TfrmMain.h"
#include "platform/LocaleInfo.h"
#include "platform/NumberFormat.h"
#include "platform/PrintSurface.h"
#include "print/LayoutGrid.h"
#include "print/PrintRun.h"

namespace korval {
namespace {

constexpr const char* kCalibrationTitle = "Kalibrace tisku (Etikety)";
// In millimetres: the arms of a corner cross, the stroke of every mark.
constexpr double kCrossArm = 3.0;
constexpr double kStroke = 0.2;

int Dots(double mm, float dotsPerMm) {
  return static_cast<int>(RoundHalfEven(mm * dotsPerMm));
}

// Marks are filled rectangles rather than lines: a line one printer dot wide
// is too faint to read at 600 dpi.
class Marks {
 public:
  Marks(Canvas& canvas, const PrinterResolution& resolution, Point offset)
      : canvas_(canvas),
        offset_(offset),
        strokeX_(std::max(1, Dots(kStroke, resolution.DotsPerMmX))),
        strokeY_(std::max(1, Dots(kStroke, resolution.DotsPerMmY))) {
    canvas_.SetBrushStyle(BrushStyle::Solid);
    canvas_.SetBrushColor(kBlack);
  }
  // A vertical stroke from (x, top) down to bottom.
  void Vertical(int x, int top, int bottom) {
    canvas_.FillRect({offset_.X + x - strokeX_ / 2, offset_.Y + top,
                      offset_.X + x - strokeX_ / 2 + strokeX_, offset_.Y + bottom});
  }
  void Horizontal(int y, int left, int right) {
    canvas_.FillRect({offset_.X + left, offset_.Y + y - strokeY_ / 2, offset_.X + right,
                      offset_.Y + y - strokeY_ / 2 + strokeY_});
  }
  void Cross(int x, int y, int armX, int armY) {
    Vertical(x, y - armY, y + armY);
    Horizontal(y, x - armX, x + armX);
  }

 private:
  Canvas& canvas_;
  Point offset_;
  int strokeX_;
  int strokeY_;
};

}  // namespace

bool TfrmMain::PrintCalibrationSheet() {
  PrintSurface& printer = services_.Printer;
  JobOffset = PrintOffsetDots();
  const PrinterResolution& res = Resolution;
  const double paperW = printer.PaperWidth(SizeUnit::Millimetres);
  const double paperH = printer.PaperHeight(SizeUnit::Millimetres);
  const double wasteL = printer.WasteLeft(SizeUnit::Millimetres);
  const double wasteT = printer.WasteTop(SizeUnit::Millimetres);
  const double areaW = paperW - wasteL - printer.WasteRight(SizeUnit::Millimetres);
  const double areaH = paperH - wasteT - printer.WasteBottom(SizeUnit::Millimetres);

  PrintRun job(printer, kCalibrationTitle);
  if (!job.IsOpen()) return false;
  {
    const CanvasLock lock(printer);
    Canvas& canvas = printer.PageCanvas();
    Marks marks(canvas, res, JobOffset);
    const int armX = Dots(kCrossArm, res.DotsPerMmX);
    const int armY = Dots(kCrossArm, res.DotsPerMmY);
    GridInput full = SheetOnPaper();
    full.StartCol = 0;
    full.StartRow = 0;
    for (const GridPosition& p : LayoutGrid(full)) {
      const Rect& r = p.Bounds;
      for (const Point corner : {Point{r.Left, r.Top}, Point{r.Right, r.Top},
                                 Point{r.Left, r.Bottom}, Point{r.Right, r.Bottom}})
        marks.Cross(corner.X, corner.Y, armX, armY);
    }

    // The rulers count millimetres from the paper's edge as the printer
    // knows it: the printable area starts wasteL and wasteT into the paper.
    Font numbers = canvas.GetFont();
    numbers.Name = "Arial";
    numbers.FontColor = kBlack;
    numbers.SetHeight(-Dots(2.5, res.DotsPerMmY));
    canvas.SetFont(numbers);
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenColor(kBlack);
    for (int mm = static_cast<int>(wasteL); mm <= static_cast<int>(paperW); ++mm) {
      const double along = mm - wasteL;
      if (along < 0 || along > areaW) continue;
      const int x = Dots(along, res.DotsPerMmX);
      const double length = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
      marks.Vertical(x, 0, Dots(length, res.DotsPerMmY));
      if (mm % 10 == 0)
        canvas.TextOut(JobOffset.X + x + Dots(0.5, res.DotsPerMmX),
                       JobOffset.Y + Dots(3.5, res.DotsPerMmY), std::to_string(mm));
    }
    for (int mm = static_cast<int>(wasteT); mm <= static_cast<int>(paperH); ++mm) {
      const double along = mm - wasteT;
      if (along < 0 || along > areaH) continue;
      const int y = Dots(along, res.DotsPerMmY);
      const double length = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
      marks.Horizontal(y, 0, Dots(length, res.DotsPerMmX));
      if (mm % 10 == 0 && mm > 0)
        canvas.TextOut(JobOffset.X + Dots(3.5, res.DotsPerMmX),
                       JobOffset.Y + y + Dots(0.5, res.DotsPerMmY), std::to_string(mm));
    }

    const PrintOffset offset = PrintOffsetMm();
    const char comma = Locale().DecimalSeparator();
    const std::string caption = "Kalibrace: " + SelectedPrinterName() + ", posun X " +
                                FormatFixed(offset.XMm, 2, comma) + " mm, Y " +
                                FormatFixed(offset.YMm, 2, comma) + " mm";
    canvas.TextOut(JobOffset.X + Dots(12, res.DotsPerMmX), JobOffset.Y + Dots(12, res.DotsPerMmY),
                   caption);
  }
  return job.End();
}

}  // namespace korval
