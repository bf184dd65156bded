#include <gtest/gtest.h>

#include "barcode/ModuleWidths.h"

namespace korval {
namespace {

struct WidthCase {
  int dpi;
  double barWidth;
  double ratio;
  int bar;
  int space;
};

class ModuleWidthsTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ModuleWidthsTest, BarAndSpaceModules) {
  const WidthCase& c = GetParam();
  EXPECT_EQ(ComputeModuleWidths(c.dpi, c.barWidth, c.ratio), (ModuleWidths{c.bar, c.space}));
}

INSTANTIATE_TEST_SUITE_P(Devices, ModuleWidthsTest,
                         ::testing::Values(
                             // 0.96 pixels rounds to 1 on the screen; a printer's hundredth of an
                             // inch is the floor: 6 dots at 600 dpi even for a tiny wanted width.
                             WidthCase{96, 10, 1, 1, 1}, WidthCase{600, 10, 1, 6, 6},
                             WidthCase{600, 1, 1, 6, 6}, WidthCase{203, 13, 1, 3, 3},
                             WidthCase{203, 10, 1, 2, 2}, WidthCase{300, 10, 1, 3, 3},
                             // Halves round to even: 7.5 -> 8, 2.5 -> 2.
                             WidthCase{600, 12.5, 1, 8, 8}, WidthCase{200, 12.5, 1, 2, 2},
                             // A smallest line of 1.5 dots rounds to 2.
                             WidthCase{150, 5, 1, 2, 2},
                             // The bar module is at least the ratio, rounded; spaces are bars
                             // divided by the ratio, rounded.
                             WidthCase{96, 10, 2, 2, 1}, WidthCase{96, 10, 2.5, 2, 1},
                             WidthCase{96, 40, 3, 4, 1}, WidthCase{600, 20, 1.5, 12, 8},
                             // A ratio that is no ratio counts as 1.
                             WidthCase{96, 10, 0, 1, 1}));

TEST(SymbolWidthTest, BarsAndSpacesWithTheirOwnModuleWidths) {
  const BarcodeElementList list = {{BarcodeElementKind::GuardBar, 1},
                                   {BarcodeElementKind::GuardSpace, 2},
                                   {BarcodeElementKind::Bar, 3},
                                   {BarcodeElementKind::Space, 1},
                                   {BarcodeElementKind::GuardBar, 1}};
  EXPECT_EQ(SymbolWidth(list, ModuleWidths{4, 3}), (1 + 3 + 1) * 4 + (2 + 1) * 3);
  EXPECT_EQ(SymbolWidth({}, ModuleWidths{4, 3}), 0);
}

}  // namespace
}  // namespace korval
