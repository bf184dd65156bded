#include "qt/QtPrintSurface.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "doubles/CommandOutput.h"
#include "doubles/DialogFixture.h"
#include "doubles/PrivateCupsd.h"
#include "doubles/ScriptedUi.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"
#include "storage/ProfileTestFolder.h"

namespace korval::qt {
namespace {

using test::ReadBytes;
using test::ScriptedUi;
using test::TempFolder;

bool PrintSystemHasPrinters() {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool HaveTool(const char* tool) {
  const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

using test::CommandOutput;

// The value of one "Name: value" line of pdfinfo's report.
std::string PdfInfo(const std::string& file, const std::string& key) {
  const std::string report = CommandOutput("pdfinfo '" + file + "' 2>/dev/null");
  const std::size_t at = report.find(key + ":");
  if (at == std::string::npos) return {};
  std::size_t from = report.find_first_not_of(' ', at + key.size() + 1);
  const std::size_t to = report.find('\n', from);
  return report.substr(from, to - from);
}

int IndexOf(const PrintSurface& surface, const std::string& name) {
  const auto printers = surface.Printers();
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i] == name) return static_cast<int>(i);
  }
  return -1;
}

class QtPrintSurfaceTest : public ::testing::Test {
 protected:
  QtPrintSurfaceTest() : surface_(ui_) { surface_.SetPdfOutputFile(folder_.File("etikety.pdf")); }
  void SelectPdf() {
    const int pdf = IndexOf(surface_, QtPrintSurface::kPdfPrinterName);
    ASSERT_GE(pdf, 0);
    surface_.SelectPrinter(pdf);
    ASSERT_EQ(surface_.PrinterIndex(), pdf);
  }

  TempFolder folder_;
  ScriptedUi ui_;
  QtPrintSurface surface_;
};

TEST_F(QtPrintSurfaceTest, PdfPrinterIsListedLastAndSelectable) {
  const auto printers = surface_.Printers();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back(), "PDF");
  EXPECT_TRUE(surface_.HasPrinter());
  SelectPdf();
  EXPECT_EQ(surface_.DpiX(), 600);
  EXPECT_EQ(surface_.DpiY(), 600);
  // A PDF page is printable to its edges.
  for (SizeUnit unit : {SizeUnit::Inches, SizeUnit::Millimetres}) {
    EXPECT_EQ(surface_.WasteLeft(unit), 0.0);
    EXPECT_EQ(surface_.WasteTop(unit), 0.0);
    EXPECT_EQ(surface_.WasteRight(unit), 0.0);
    EXPECT_EQ(surface_.WasteBottom(unit), 0.0);
  }
  EXPECT_GT(surface_.PaperWidth(SizeUnit::Inches), 5.0);
  EXPECT_NEAR(surface_.PaperHeight(SizeUnit::Millimetres),
              surface_.PaperHeight(SizeUnit::Inches) * 25.4, 1e-9);
}

TEST_F(QtPrintSurfaceTest, PdfIsTheDefaultWhenThePrintSystemHasNone) {
  if (PrintSystemHasPrinters()) GTEST_SKIP() << "the print system lists printers";
  EXPECT_EQ(surface_.Printers(), std::vector<std::string>{"PDF"});
  EXPECT_EQ(surface_.DefaultPrinterName(), "PDF");
  EXPECT_EQ(surface_.PrinterIndex(), 0);  // the default is selected from the start
  surface_.SelectPrinter(-1);
  EXPECT_EQ(surface_.PrinterIndex(), 0);
  surface_.SelectPrinter(7);  // out of range: the default again
  EXPECT_EQ(surface_.PrinterIndex(), 0);
}

TEST_F(QtPrintSurfaceTest, WithoutAnyPrinterAJobIsRefusedWithAMessage) {
  if (PrintSystemHasPrinters()) GTEST_SKIP() << "the print system lists printers";
  ScriptedUi ui;
  QtPrintSurface bare(ui, false);
  EXPECT_TRUE(bare.Printers().empty());
  EXPECT_FALSE(bare.HasPrinter());
  EXPECT_EQ(bare.PrinterIndex(), -1);
  EXPECT_EQ(bare.DefaultPrinterName(), "");
  // The sheet a missing printer reports.
  EXPECT_EQ(bare.DpiX(), 300);
  EXPECT_EQ(bare.PaperWidth(SizeUnit::Inches), 8.5);
  EXPECT_EQ(bare.PaperHeight(SizeUnit::Inches), 11.0);
  EXPECT_EQ(bare.WasteLeft(SizeUnit::Inches), 0.0);
  EXPECT_FALSE(bare.BeginJob("Tisk etiket (Etikety)"));
  ASSERT_EQ(ui.messages_.size(), 1u);
  EXPECT_EQ(ui.messages_[0].Text, "No printers are defined, aborting print job.");
  EXPECT_EQ(ui.messages_[0].Icon, MessageIcon::Error);
  EXPECT_THROW(bare.PageCanvas(), std::logic_error);
}

TEST_F(QtPrintSurfaceTest, CustomPaperSizeChangesTheMetricsAndStaysWithThePrinter) {
  SelectPdf();
  surface_.SetCustomPaperSize(4.0, 2.5);  // wider than long, as a label roll may be
  EXPECT_DOUBLE_EQ(surface_.PaperWidth(SizeUnit::Inches), 4.0);
  EXPECT_DOUBLE_EQ(surface_.PaperHeight(SizeUnit::Inches), 2.5);
  EXPECT_NEAR(surface_.PaperWidth(SizeUnit::Millimetres), 101.6, 1e-9);
  EXPECT_NEAR(surface_.PaperHeight(SizeUnit::Millimetres), 63.5, 1e-9);
  surface_.RefreshMetrics();
  surface_.SelectPrinter(surface_.PrinterIndex());  // selecting it again keeps the paper
  EXPECT_DOUBLE_EQ(surface_.PaperWidth(SizeUnit::Inches), 4.0);

  surface_.SetCustomPaperSize(2.0, 3.25);
  EXPECT_DOUBLE_EQ(surface_.PaperWidth(SizeUnit::Inches), 2.0);
  EXPECT_DOUBLE_EQ(surface_.PaperHeight(SizeUnit::Inches), 3.25);
  surface_.SetCustomPaperSize(-1, -1);  // no size: nothing changes
  EXPECT_DOUBLE_EQ(surface_.PaperWidth(SizeUnit::Inches), 2.0);
}

TEST_F(QtPrintSurfaceTest, JobOfTwoPagesBecomesAPdfFile) {
  SelectPdf();
  surface_.SetCustomPaperSize(4.0, 2.5);
  ASSERT_TRUE(surface_.BeginJob("Tisk etiket (Etikety)"));
  surface_.LockCanvas();
  Canvas& first = surface_.PageCanvas();
  EXPECT_EQ(first.DpiX(), 600);
  first.FillRect({0, 0, 100, 100});
  Rect text{100, 100, 1200, 400};
  first.DrawText("Název", text, DT_LEFT);
  surface_.NewPage();
  surface_.PageCanvas().FillRect({50, 50, 200, 200});
  surface_.UnlockCanvas();
  surface_.EndJob();

  const std::string file = surface_.PdfOutputFile();
  EXPECT_EQ(ReadBytes(file).substr(0, 4), "%PDF");
  EXPECT_THROW(surface_.PageCanvas(), std::logic_error);
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo is not installed";
  EXPECT_EQ(PdfInfo(file, "Pages"), "2");
  EXPECT_EQ(PdfInfo(file, "Title"), "Tisk etiket (Etikety)");
  EXPECT_EQ(PdfInfo(file, "Page size").substr(0, 13), "288 x 180 pts");
}

TEST_F(QtPrintSurfaceTest, CanvasCountsPrinterDotsFromThePrintableCorner) {
  SelectPdf();
  surface_.SetCustomPaperSize(2.0, 1.0);
  ASSERT_TRUE(surface_.BeginJob("Zkušební tisk (Etikety)"));
  Canvas& canvas = surface_.PageCanvas();
  canvas.SetBrushColor(kBlack);
  canvas.FillRect({0, 0, 300, 150});  // half an inch by a quarter, at 600 dpi
  surface_.EndJob();
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  const std::string prefix = folder_.File("strana");
  std::system(
      ("pdftoppm -r 72 -png -singlefile '" + surface_.PdfOutputFile() + "' '" + prefix + "'")
          .c_str());
  const QImage page(QString::fromStdString(prefix + ".png"));
  ASSERT_EQ(page.width(), 144);
  ASSERT_EQ(page.height(), 72);
  const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 64; };
  EXPECT_TRUE(dark(0, 0));
  EXPECT_TRUE(dark(34, 16));
  EXPECT_FALSE(dark(38, 5));
  EXPECT_FALSE(dark(5, 20));
  EXPECT_FALSE(dark(100, 50));
}

TEST_F(QtPrintSurfaceTest, PdfGoesToLabelsPdfInTheCurrentFolderUnlessSet) {
  ScriptedUi ui;
  QtPrintSurface fresh(ui);
  EXPECT_EQ(fresh.PdfOutputFile(), "labels.pdf");
  fresh.SelectPrinter(IndexOf(fresh, "PDF"));
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Path());
  const bool begun = fresh.BeginJob("Tisk etiket (Etikety)");
  if (begun) fresh.EndJob();
  std::filesystem::current_path(start);
  ASSERT_TRUE(begun);
  EXPECT_EQ(ReadBytes(folder_.File("labels.pdf")).substr(0, 4), "%PDF");
}

TEST_F(QtPrintSurfaceTest, DialogsAnswerNoAtOnceWithoutADisplay) {
  // On a real display the dialogs would wait for a person.
  if (QGuiApplication::platformName() != QLatin1String("offscreen"))
    GTEST_SKIP() << "a display is present";
  EXPECT_FALSE(surface_.ShowPrintDialog());
  EXPECT_FALSE(surface_.ShowPrinterSetupDialog());
}

TEST_F(QtPrintSurfaceTest, JobRulesAreKept) {
  SelectPdf();
  EXPECT_THROW(surface_.NewPage(), std::logic_error);
  EXPECT_THROW(surface_.EndJob(), std::logic_error);
  ASSERT_TRUE(surface_.BeginJob("Tisk etiket (Etikety)"));
  EXPECT_THROW(surface_.BeginJob("Tisk etiket (Etikety)"), std::logic_error);
  EXPECT_THROW(surface_.SelectPrinter(0), std::logic_error);
  // The canvas lock may be taken again by the thread that holds it.
  surface_.LockCanvas();
  surface_.LockCanvas();
  surface_.UnlockCanvas();
  surface_.UnlockCanvas();
  surface_.EndJob();
  EXPECT_TRUE(ui_.messages_.empty());
}

// Jobs for the print system's queues, against a scheduler of the test's own.
class QtPrintSurfaceCupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVAL_NEED_PRIVATE_CUPSD(cups_);
  }

  test::PrivateCupsd cups_{{{"Etikety", true, false, ""}, {"Zmizi", true, false, ""}}};
  ScriptedUi ui_;
};

TEST_F(QtPrintSurfaceCupsTest, TheQueueGetsTheJobWithItsPagesAndTitle) {
  QtPrintSurface surface(ui_, false);
  ASSERT_EQ(surface.Printers(), (std::vector<std::string>{"Etikety", "Zmizi"}));
  surface.SelectPrinter(0);
  ASSERT_TRUE(surface.BeginJob("Tisk etiket (Etikety)"));
  surface.PageCanvas().FillRect({0, 0, 100, 100});
  surface.NewPage();
  surface.PageCanvas().FillRect({0, 0, 100, 100});
  EXPECT_TRUE(surface.EndJob());
  EXPECT_TRUE(ui_.messages_.empty());
  const std::string document = cups_.WaitForOutput("Etikety");
  ASSERT_EQ(document.substr(0, 4), "%PDF");
  TempFolder folder;
  test::WriteBytes(folder.File("job.pdf"), document);
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo is not installed";
  EXPECT_EQ(PdfInfo(folder.File("job.pdf"), "Pages"), "2");
  EXPECT_EQ(PdfInfo(folder.File("job.pdf"), "Title"), "Tisk etiket (Etikety)");
}

TEST_F(QtPrintSurfaceCupsTest, APrinterThatVanishedDuringTheJobIsReported) {
  QtPrintSurface surface(ui_, false);
  surface.SelectPrinter(1);
  ASSERT_EQ(surface.Printers().at(1), "Zmizi");
  ASSERT_TRUE(surface.BeginJob("Tisk etiket (Etikety)"));
  surface.PageCanvas().FillRect({0, 0, 100, 100});
  ASSERT_EQ(cups_.Run("lpadmin -x Zmizi"), 0);
  EXPECT_FALSE(surface.EndJob());
  ASSERT_EQ(ui_.messages_.size(), 1u);
  EXPECT_EQ(ui_.messages_[0].Caption, "Chyba");
  EXPECT_EQ(ui_.messages_[0].Icon, MessageIcon::Error);
  EXPECT_NE(ui_.messages_[0].Text.find("Tiskárna Zmizi úlohu nepřijala: "), std::string::npos)
      << ui_.messages_[0].Text;
  EXPECT_NE(ui_.messages_[0].Text.find("does not exist"), std::string::npos)
      << ui_.messages_[0].Text;
}

}  // namespace
}  // namespace korval::qt

namespace korval::qt {
namespace {

// A label page drawn on blank paper leaves out what cannot show (white on
// white, painter states kept around each text, one fill per bar); printed,
// it must be the page drawn plainly, pixel for pixel. The label has texts
// (one wrapped), a price, a barcode with its number and a text with a white
// background over the bars, where the background must stay.
TEST(BlankPaperTest, ALabelPagePrintsAsTheOneDrawnPlainly) {
  if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
  EnsureApplication();
  test::DialogFixture f;
  f.SetGoods({test::RecordBuilder()
                  .Name("Žluťoučký kůň – sýr Eidam 30 % s dlouhým názvem")
                  .Number("SYR-0301")
                  .PriceAWithVat(149.21)
                  .Ean("8594001001019")
                  .Build()});
  TfrmMain& d = f.Dialog();
  d.Ctl<CheckBox>("CheckBox2").OnClick = nullptr;
  d.Ctl<CheckBox>("cbRamecek").SetChecked(true);
  for (const char* name : {"lNazev", "lCislo", "lcena2", "NrEANCode", "lText1"})
    d.Ctl<Control>(name).SetVisible(true);
  d.Ctl<TLabel>("lNazev").SetWordWrap(true);
  d.Ctl<Control>("lNazev").SetBounds(8, 6, 150, 36);
  d.Ctl<TLabel>("lText1").SetCaption("AKCE");
  d.Ctl<Control>("lText1").SetBounds(40, 140, 60, 16);
  d.Resolution = PrinterResolution{600 / 25.4f, 600 / 25.4f};
  d.DotsPerPixelX = 6.25f;
  d.DotsPerPixelY = 6.25f;
  ASSERT_TRUE(d.BindGoodsItem(0));

  test::TempFolder folder;
  const auto print = [&](const std::string& name, bool blankPaper) {
    const std::string file = folder.File(name + ".pdf");
    QPdfWriter writer(QString::fromStdString(file));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QSizeF(150, 60), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    {
      QtCanvas canvas(painter, 600, 600);
      if (blankPaper) canvas.DrawOnBlankPaper();
      canvas.SetBrushColor(kWhite);
      d.PaintTiket(canvas, 0, 0);
      d.PaintTiket(canvas, 1700, 0);
    }
    painter.end();
    std::system(("pdftoppm -r 300 -gray -singlefile '" + file + "' '" + folder.File(name) + "'")
                    .c_str());
    return std::make_pair(QImage(QString::fromStdString(folder.File(name) + ".pgm")),
                          std::filesystem::file_size(file));
  };
  const auto [plain, plainBytes] = print("plain", false);
  const auto [lean, leanBytes] = print("lean", true);
  ASSERT_FALSE(plain.isNull());
  ASSERT_EQ(lean.size(), plain.size());
  int differing = 0;
  int ink = 0;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      if (qGray(plain.pixel(x, y)) < 128) ++ink;
      // The rasteriser shades the edges of bars filled as one path a little
      // differently (an eighth of grey) than bars filled one by one; a
      // pixel counts as changed when it changes by more than a quarter.
      if (std::abs(qGray(plain.pixel(x, y)) - qGray(lean.pixel(x, y))) > 64) ++differing;
    }
  }
  EXPECT_GT(ink, 10000) << "the labels were not drawn";
  EXPECT_LE(differing, 8);
  EXPECT_LT(leanBytes, plainBytes);
}

}  // namespace
}  // namespace korval::qt
