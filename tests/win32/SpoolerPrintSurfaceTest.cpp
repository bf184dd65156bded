#include "win32/SpoolerPrintSurface.h"

#include <gtest/gtest.h>

#include "doubles/ScriptedUi.h"

namespace korval::win32 {
namespace {

// The test machine's Wine has no printer (no print system runs); a machine
// with printers checks nothing here.
TEST(SpoolerPrintSurfaceTest, WithoutPrintersTheSurfaceHasALetterSheetAndOpensNoJob) {
  test::ScriptedUi ui;
  SpoolerPrintSurface surface(ui);
  if (!surface.Printers().empty()) GTEST_SKIP() << "this machine has printers";
  EXPECT_FALSE(surface.HasPrinter());
  EXPECT_EQ(surface.PrinterIndex(), -1);
  EXPECT_EQ(surface.DpiX(), 300);
  EXPECT_EQ(surface.DpiY(), 300);
  EXPECT_DOUBLE_EQ(surface.PaperWidth(SizeUnit::Inches), 8.5);
  EXPECT_DOUBLE_EQ(surface.PaperHeight(SizeUnit::Millimetres), 279.4);
  EXPECT_DOUBLE_EQ(surface.WasteLeft(SizeUnit::Inches), 0.0);
  surface.SetCustomPaperSize(4, 6);
  EXPECT_DOUBLE_EQ(surface.PaperWidth(SizeUnit::Inches), 8.5);
  EXPECT_FALSE(surface.ShowPrintDialog());

  EXPECT_FALSE(surface.BeginJob("Tisk etiket (Etikety)"));
  ASSERT_EQ(ui.messages_.size(), 1u);
  EXPECT_EQ(ui.messages_[0].Text, "No printers are defined, aborting print job.");
  EXPECT_EQ(ui.messages_[0].Icon, MessageIcon::Error);
  EXPECT_THROW(surface.PageCanvas(), std::logic_error);
}

}  // namespace
}  // namespace korval::win32
