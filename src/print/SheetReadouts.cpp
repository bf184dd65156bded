#include "print/SheetReadouts.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "dialog/Texts.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace korval {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr std::size_t kShownNameLength = 10;
constexpr std::size_t kCutNameLength = 9;

// "%d x %d pt." of two rounded values; written by hand because the values
// are 64-bit and a "%lld" is not understood by every C runtime we build for.
std::string WholePair(double a, double b, std::string_view unit) {
  return std::to_string(RoundHalfEven(a)) + " x " + std::to_string(RoundHalfEven(b)) + " " +
         std::string(unit);
}

// "%f x %f mm": two decimals with the locale's separator.
std::string FixedPairMm(double a, double b, char separator) {
  return FormatFixed(a, 2, separator) + " x " + FormatFixed(b, 2, separator) + " mm";
}

std::string MaskPair(double a, double b, std::string_view unit, char separator) {
  return FormatFloatMask(a, "#####0", separator) + " x " + FormatFloatMask(b, "#####0", separator) +
         " " + std::string(unit);
}

std::string SelectedPrinterName(const PrintSurface& surface) {
  const std::vector<std::string> printers = surface.Printers();
  const int index = surface.PrinterIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= printers.size()) return {};
  return printers[static_cast<std::size_t>(index)];
}

// Long names would push the resolution out of the read-out's room.
std::string ShortPrinterName(const std::string& name) {
  if (CharCount(name) <= kShownNameLength) return name;
  return LeftChars(name, kCutNameLength) + "...";
}

std::string PrinterText(const std::string& name, int dpiX, int dpiY) {
  return FormatText("%s (%d x %d dpi)", name.c_str(), dpiX, dpiY);
}

float DotsPerPixel(float dotsPerMm, int pixelsPerInch) {
  return static_cast<float>(static_cast<double>(dotsPerMm) /
                            (static_cast<double>(pixelsPerInch) / kMmPerInch));
}

}  // namespace

SheetReadouts ComputeSheetReadouts(const PrintSurface& surface, const SheetInfoInput& input) {
  SheetReadouts out;
  const bool dots = input.Unit == MeasureUnit::Dots;
  const SizeUnit unit = dots ? SizeUnit::Inches : SizeUnit::Millimetres;
  const char separator = input.DecimalSeparator;

  const double printableWidth =
      surface.PaperWidth(unit) - surface.WasteLeft(unit) - surface.WasteRight(unit);
  const double printableHeight =
      surface.PaperHeight(unit) - surface.WasteTop(unit) - surface.WasteBottom(unit);
  if (dots) {
    out.lblVelTisk =
        WholePair(printableWidth * surface.DpiX(), printableHeight * surface.DpiY(), "pt.");
  } else {
    out.lblVelTisk = FixedPairMm(printableWidth, printableHeight, separator);
  }

  if (dots) {
    out.lblVelEtiket = MaskPair(
        input.LabelWidthMm * static_cast<double>(input.Resolution.DotsPerMmX),
        input.LabelHeightMm * static_cast<double>(input.Resolution.DotsPerMmY), "pt.", separator);
  } else {
    out.lblVelEtiket = MaskPair(input.LabelWidthMm, input.LabelHeightMm, "mm", separator);
  }

  if (!surface.HasPrinter()) {
    out.lblTiskarna = MessageText("NoPrinterName", "<žádná tiskárna>");
    out.lblPopis1 = MessageText("NoPrinterInfo", "<žádné informace>");
    out.lblStrana = WholePair(surface.PaperWidth(SizeUnit::Inches) * kMmPerInch,
                              surface.PaperHeight(SizeUnit::Inches) * kMmPerInch, "mm");
    out.DotsPerMmX = kNoPrinterDotsPerMm;
    out.DotsPerMmY = kNoPrinterDotsPerMm;
  } else {
    const std::string name = SelectedPrinterName(surface);
    const int dpiX = surface.DpiX();
    const int dpiY = surface.DpiY();
    out.lblTiskarna = PrinterText(ShortPrinterName(name), dpiX, dpiY);
    out.lblTiskarnaHint = PrinterText(name, dpiX, dpiY);
    if (dots) {
      out.lblStrana = WholePair(surface.PaperWidth(SizeUnit::Inches) * dpiX,
                                surface.PaperHeight(SizeUnit::Inches) * dpiY, "pt.");
    } else {
      out.lblStrana = FixedPairMm(surface.PaperWidth(SizeUnit::Millimetres),
                                  surface.PaperHeight(SizeUnit::Millimetres), separator);
    }
    out.DotsPerMmX = static_cast<float>(dpiX / kMmPerInch);
    out.DotsPerMmY = static_cast<float>(dpiY / kMmPerInch);
  }

  out.DotsPerPixelX = DotsPerPixel(out.DotsPerMmX, input.PixelsPerInch);
  out.DotsPerPixelY = DotsPerPixel(out.DotsPerMmY, input.PixelsPerInch);
  return out;
}

void ApplyCustomPaperSize(PrintSurface& surface, double widthInches, double heightInches) {
  if (widthInches != -1 && heightInches != -1) {
    surface.SetCustomPaperSize(widthInches, heightInches);
  }
}

std::string SheetCountText(int columns, int rows) {
  if (columns <= 0 || rows <= 0) return "Na arch se nevejde žádná etiketa";
  const long long count = static_cast<long long>(columns) * rows;
  const char* noun = count == 1 ? "etiketa" : count >= 2 && count <= 4 ? "etikety" : "etiket";
  return std::to_string(columns) + " × " + std::to_string(rows) + " = " + std::to_string(count) +
         " " + noun;
}

}  // namespace korval
