#include "print/SheetReadouts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "doubles/FakePrintSurface.h"

namespace korval {
namespace {

using test::FakePrintSurface;

// A4 on a printer with different resolutions and unprintable strips on
// every side, so that mixing up axes or strips shows.
FakePrintSurface::Printer A4Printer(std::string name) {
  FakePrintSurface::Printer printer;
  printer.Name = std::move(name);
  printer.DpiX = 300;
  printer.DpiY = 600;
  printer.PaperWidthIn = 8.27;
  printer.PaperHeightIn = 11.69;
  printer.WasteLeftIn = 0.25;
  printer.WasteRightIn = 0.15;
  printer.WasteTopIn = 0.2;
  printer.WasteBottomIn = 0.3;
  return printer;
}

class SheetReadoutsTest : public ::testing::Test {
 protected:
  void UsePrinters(std::vector<FakePrintSurface::Printer> printers, int selected) {
    surface_.printers_ = std::move(printers);
    surface_.selected_ = selected;
  }
  SheetReadouts Readouts(MeasureUnit unit, char separator = ',') {
    input_.Unit = unit;
    input_.DecimalSeparator = separator;
    return ComputeSheetReadouts(surface_, input_);
  }

  FakePrintSurface surface_;
  SheetInfoInput input_;
};

TEST_F(SheetReadoutsTest, DotsModeWithAPrinter) {
  UsePrinters({A4Printer("Zebra")}, 0);
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  // Printable 7.87 × 11.19 inches at 300 × 600 dpi; paper 8.27 × 11.69.
  EXPECT_EQ(out.lblVelTisk, "2361 x 6714 pt.");
  EXPECT_EQ(out.lblStrana, "2481 x 7014 pt.");
  EXPECT_EQ(out.lblTiskarna, "Zebra (300 x 600 dpi)");
  EXPECT_EQ(out.lblTiskarnaHint, "Zebra (300 x 600 dpi)");
  EXPECT_EQ(out.lblPopis1, std::nullopt);
  EXPECT_FLOAT_EQ(out.DotsPerMmX, 11.811024f);
  EXPECT_FLOAT_EQ(out.DotsPerMmY, 23.622047f);
  EXPECT_FLOAT_EQ(out.DotsPerPixelX, 3.125f);  // 300 dpi over 96 ppi
  EXPECT_FLOAT_EQ(out.DotsPerPixelY, 6.25f);
}

TEST_F(SheetReadoutsTest, MillimetreModeWithAPrinter) {
  UsePrinters({A4Printer("Zebra")}, 0);
  input_.LabelWidthMm = 50.4;
  input_.LabelHeightMm = 30.6;
  const SheetReadouts out = Readouts(MeasureUnit::Millimetres);
  // 7.87 × 25.4 = 199.898, 11.19 × 25.4 = 284.226.
  EXPECT_EQ(out.lblVelTisk, "199,90 x 284,23 mm");
  EXPECT_EQ(out.lblStrana, "210,06 x 296,93 mm");
  EXPECT_EQ(out.lblVelEtiket, "50 x 31 mm");
  EXPECT_EQ(out.lblTiskarna, "Zebra (300 x 600 dpi)");
  EXPECT_FLOAT_EQ(out.DotsPerMmX, 11.811024f);
  EXPECT_FLOAT_EQ(out.DotsPerMmY, 23.622047f);

  EXPECT_EQ(Readouts(MeasureUnit::Millimetres, '.').lblStrana, "210.06 x 296.93 mm");
}

TEST_F(SheetReadoutsTest, LabelSizeInDotsUsesTheResolutionInForceBefore) {
  // The label was entered as 400 × 200 dots at 10 and 20 dots per mm; the
  // read-out shows those dots although the printer now reports others.
  UsePrinters({A4Printer("Zebra")}, 0);
  input_.Resolution = {10.0f, 20.0f};
  input_.LabelWidthMm = 40;
  input_.LabelHeightMm = 10;
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblVelEtiket, "400 x 200 pt.");
  EXPECT_FLOAT_EQ(out.DotsPerMmX, 11.811024f);
}

TEST_F(SheetReadoutsTest, DotReadoutsRoundHalvesToEven) {
  FakePrintSurface::Printer printer;
  printer.Name = "P";
  printer.DpiX = 100;
  printer.DpiY = 100;
  printer.PaperWidthIn = 2.125;   // 212.5 dots
  printer.PaperHeightIn = 3.375;  // 337.5 dots
  UsePrinters({printer}, 0);
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblVelTisk, "212 x 338 pt.");
  EXPECT_EQ(out.lblStrana, "212 x 338 pt.");
}

TEST_F(SheetReadoutsTest, ResolutionOfTheSelectedPrinter) {
  FakePrintSurface::Printer other = A4Printer("Other");
  other.DpiX = 203;
  other.DpiY = 203;
  UsePrinters({A4Printer("Zebra"), other}, 1);
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblTiskarna, "Other (203 x 203 dpi)");
  EXPECT_FLOAT_EQ(out.DotsPerMmX, 7.992126f);
  EXPECT_FLOAT_EQ(out.DotsPerMmY, 7.992126f);
}

TEST_F(SheetReadoutsTest, PixelsPerInchOfTheDialog) {
  UsePrinters({A4Printer("Zebra")}, 0);
  input_.PixelsPerInch = 120;
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_FLOAT_EQ(out.DotsPerPixelX, 2.5f);
  EXPECT_FLOAT_EQ(out.DotsPerPixelY, 5.0f);
}

TEST_F(SheetReadoutsTest, PrinterNameOfTenCharactersIsShownWhole) {
  UsePrinters({A4Printer("ABCDEFGHIJ")}, 0);
  EXPECT_EQ(Readouts(MeasureUnit::Dots).lblTiskarna, "ABCDEFGHIJ (300 x 600 dpi)");
  UsePrinters({A4Printer("Tiskárna Č")}, 0);  // ten characters, more bytes
  EXPECT_EQ(Readouts(MeasureUnit::Dots).lblTiskarna, "Tiskárna Č (300 x 600 dpi)");
}

TEST_F(SheetReadoutsTest, LongerPrinterNameIsCutInTheReadoutOnly) {
  UsePrinters({A4Printer("ABCDEFGHIJK")}, 0);
  SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblTiskarna, "ABCDEFGHI... (300 x 600 dpi)");
  EXPECT_EQ(out.lblTiskarnaHint, "ABCDEFGHIJK (300 x 600 dpi)");

  UsePrinters({A4Printer("Tiskárna Čj")}, 0);
  out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblTiskarna, "Tiskárna ... (300 x 600 dpi)");
  EXPECT_EQ(out.lblTiskarnaHint, "Tiskárna Čj (300 x 600 dpi)");
}

TEST_F(SheetReadoutsTest, NoPrinterDotsMode) {
  input_.LabelWidthMm = 25.4;
  input_.LabelHeightMm = 50.8;
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.lblTiskarna, "<žádná tiskárna>");
  EXPECT_EQ(out.lblPopis1, "<žádné informace>");
  EXPECT_EQ(out.lblTiskarnaHint, std::nullopt);
  // 8.5 × 25.4 = 215.9 and 11 × 25.4 = 279.4, rounded.
  EXPECT_EQ(out.lblStrana, "216 x 279 mm");
  // The label size at 300 dpi.
  EXPECT_EQ(out.lblVelEtiket, "300 x 600 pt.");
  EXPECT_EQ(out.DotsPerMmX, 11.811024f);
  EXPECT_EQ(out.DotsPerMmY, 11.811024f);
  EXPECT_FLOAT_EQ(out.DotsPerPixelX, 3.125f);
  EXPECT_FLOAT_EQ(out.DotsPerPixelY, 3.125f);
}

TEST_F(SheetReadoutsTest, NoPrinterMillimetreMode) {
  const SheetReadouts out = Readouts(MeasureUnit::Millimetres);
  EXPECT_EQ(out.lblVelTisk, "215,90 x 279,40 mm");
  EXPECT_EQ(out.lblStrana, "216 x 279 mm");
  EXPECT_EQ(out.lblPopis1, "<žádné informace>");
}

TEST_F(SheetReadoutsTest, NoPrinterFallsBackFromAnEarlierResolution) {
  input_.Resolution = {23.622047f, 23.622047f};
  const SheetReadouts out = Readouts(MeasureUnit::Dots);
  EXPECT_EQ(out.DotsPerMmX, kNoPrinterDotsPerMm);
  EXPECT_EQ(out.DotsPerMmY, kNoPrinterDotsPerMm);
}

TEST(ApplyCustomPaperSize, OnlyWhenBothSizesAreGiven) {
  FakePrintSurface surface;
  surface.printers_ = {A4Printer("Zebra")};
  surface.selected_ = 0;
  ApplyCustomPaperSize(surface, -1, -1);
  ApplyCustomPaperSize(surface, 4, -1);
  ApplyCustomPaperSize(surface, -1, 6);
  EXPECT_TRUE(surface.customPaperSizes_.empty());
  ApplyCustomPaperSize(surface, 4, 6);
  const std::vector<std::pair<double, double>> expected = {{4.0, 6.0}};
  EXPECT_EQ(surface.customPaperSizes_, expected);
}

TEST(SheetCountText, SaysTheLabelsOfASheetInCzech) {
  EXPECT_EQ(SheetCountText(3, 7), "3 × 7 = 21 etiket");
  EXPECT_EQ(SheetCountText(1, 1), "1 × 1 = 1 etiketa");
  EXPECT_EQ(SheetCountText(2, 2), "2 × 2 = 4 etikety");
  EXPECT_EQ(SheetCountText(5, 1), "5 × 1 = 5 etiket");
  EXPECT_EQ(SheetCountText(0, 7), "Na arch se nevejde žádná etiketa");
  EXPECT_EQ(SheetCountText(65536, 65536), "65536 × 65536 = 4294967296 etiket");
}

}  // namespace
}  // namespace korval
