#pragma once

#include <optional>
#include <string>

#include "platform/PrintSurface.h"
#include "print/SheetGeometry.h"

namespace korval {

// The read-outs of the "Parametry" tab and the resolution values, worked out
// from the page metrics of the selected printer. The metrics are read afresh
// on every call; nothing here is cached, as the printer or its paper may have
// changed behind the dialog's back.

struct SheetInfoInput {
  MeasureUnit Unit = MeasureUnit::Dots;
  double LabelWidthMm = 0;
  double LabelHeightMm = 0;
  // The resolution in force before this call. The label size read-out is
  // made with it, before the new resolution is taken from the printer: in
  // dots the label size was derived with that same resolution, so the
  // read-out shows the dots the user typed.
  PrinterResolution Resolution;
  char DecimalSeparator = ',';
  // The dialog's logical pixels per inch (96 at the usual screen setting).
  int PixelsPerInch = 96;
};

struct SheetReadouts {
  std::string lblVelTisk;  // printable area, beside "Plocha tisku:"
  // The caption "Plocha tisku:" becomes "<žádné informace>" when no printer
  // is installed; otherwise the caption is left as it is.
  std::optional<std::string> lblPopis1;
  std::string lblVelEtiket;  // label size
  std::string lblTiskarna;   // printer name (cut) and resolution
  // With a printer: the same with the full name. Left as it is otherwise.
  std::optional<std::string> lblTiskarnaHint;
  std::string lblStrana;  // paper size
  // 32-bit, as everywhere (see PrinterResolution).
  float DotsPerMmX = kNoPrinterDotsPerMm;
  float DotsPerMmY = kNoPrinterDotsPerMm;
  float DotsPerPixelX = 0;
  float DotsPerPixelY = 0;
};

// The read-outs for the surface's selected printer. Sizes are asked for in
// inches in dots mode and in millimetres in millimetre mode. Printable area
// and paper in dots are inches × dpi rounded (halves to even) as "%d x %d
// pt."; in millimetres two decimals as "%f x %f mm"; the label size is
// formatted "#####0" per side. With no printer installed the paper is shown as
// inches × 25.4 rounded, "%d x %d mm", in either unit, and the resolution
// falls back to 300 dpi. A printer name longer than 10 characters is cut to 9
// and "...".
SheetReadouts ComputeSheetReadouts(const PrintSurface& surface, const SheetInfoInput& input);

// How many labels a sheet holds, "3 × 7 = 21 etiket", with the noun in the
// number's Czech form (1 etiketa, 2 to 4 etikety, otherwise etiket).
std::string SheetCountText(int columns, int rows);

// Sets a custom paper size of width × height inches on the selected printer,
// unless either is −1 (the callers that only refresh the read-outs pass
// −1, −1).
//
// Order for the dialog's refresh with a paper size: ComputeSheetReadouts
// first, take over its texts and resolution, then ApplyCustomPaperSize. The
// read-outs thus still show the page as it was; the redraw that follows a
// printer change shows the new one.
void ApplyCustomPaperSize(PrintSurface& surface, double widthInches, double heightInches);

}  // namespace korval
