// The page preview with the labels shown, drawn by Qt, against the printed
// sheet drawn at the preview's scale: the same labels in the same cells.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/PngSheetSurface.h"
#include "doubles/DialogFixture.h"
#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"

namespace korval::qt {
namespace {

using test::FakePrintSurface;
using test::RecordBuilder;

// A sheet picture kept in memory for the comparison.
class KeptSheet final : public cli::SheetImage {
 public:
  KeptSheet(std::vector<QImage>& kept, int width, int height, int dpi)
      : kept_(kept), image_(width, height, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    painter_.begin(&image_);
    canvas_ = std::make_unique<QtCanvas>(painter_, dpi, dpi);
  }
  Canvas& GetCanvas() override { return *canvas_; }
  bool SavePng(const std::string&) override {
    canvas_.reset();
    painter_.end();
    kept_.push_back(image_);
    return true;
  }

 private:
  std::vector<QImage>& kept_;
  QImage image_;
  QPainter painter_;
  std::unique_ptr<QtCanvas> canvas_;
};

// A 600 dpi printer with paper of 8 × 10 inches and printable area 0.25 inch
// in from the left and 0.45 inch from the top, shown in a preview of
// 200 × 250 pixels: 24 dots a pixel, the printable area's corner at (6.25,
// 11.25), which the preview cuts and the sheet rounds to (6, 11).
// The sheet as a picture at 25 dpi has the same scale. Labels of 1200 dots
// with gaps of 240 dots are cells of 50 pixels, 60 apart.
class PreviewPixelsTest : public ::testing::Test {
 protected:
  static constexpr int kCell = 50;
  static constexpr int kPitch = 60;
  static constexpr Point kCorner{6, 11};

  void SetUp() override {
    EnsureApplication();
    f_.printer.printers_ = {
        FakePrintSurface::Printer{"Etikety", 600, 600, 8.0, 10.0, 0.25, 0.45, 0.25, 0.25}};
    f_.printer.SelectPrinter(0);
    surface_ = std::make_unique<cli::PngSheetSurface>(
        f_.printer, "unused.png", 25, [this](int width, int height, int dpi) {
          return std::make_unique<KeptSheet>(sheets_, width, height, dpi);
        });
    // Goods whose labels look unlike each other: a thin letter, a wide word.
    f_.SetGoods({RecordBuilder().Name("I").Count(3).Build(),
                 RecordBuilder().Name("WM").Count(2).Build(),
                 RecordBuilder().Name("o").Count(1).Build()});
    f_.host.SetLabelPrinterIndex(0);
    dialog_ = std::make_unique<TfrmMain>(
        DialogServices{f_.host, f_.ui, *surface_, f_.locale, f_.clock, {}});
    TfrmMain& d = *dialog_;
    d.UpdateSheetInfo(-1, -1);
    d.Ctl<Control>("gbPreview").SetBounds(0, 0, 417, 310);
    for (const auto& [name, text] : {std::pair{"rxseOsax", "1200"}, std::pair{"rxseOsay", "1200"},
                                     std::pair{"meOdsazX", "240"}, std::pair{"meOdsazY", "240"}}) {
      d.Ctl<Edit>(name).SetText(text);
    }
    auto& name = d.Ctl<TLabel>("lNazev");
    name.SetVisible(true);
    name.SetBounds(0, 0, 192, 192);  // the whole label: 1200 dots at 6.25 dots a pixel
    Font font = name.GetFont();
    font.SetHeight(-60);
    font.FontColor = kBlack;
    font.Name = "DejaVu Sans";
    font.Style = fsBold;
    name.SetFont(font);
    // In the middle of the label, so that a shift shows in the ink's centre.
    name.SetAlignment(TAlignment::taCenter);
    name.SetLayout(TTextLayout::tlCenter);
    // No frame: a frame moved into a cell by a shift would hide the shift.
    d.Ctl<CheckBox>("cbRamecek").SetChecked(false);
    d.BindGoodsItem(0);
    d.DrawTiket();
  }

  QImage PaintPreview() {
    TfrmMain& d = *dialog_;
    d.Preview();
    const auto& box = d.Ctl<Control>("Image1");
    QImage image(box.Width(), box.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter, 96, 96);
    d.PreviewCanvas = &canvas;
    d.RedrawPreview();
    d.PreviewCanvas = nullptr;
    return image;
  }

  // The ink inside a cell (its outlines and frame at the edges left out):
  // the share of dark pixels and their centre, with the picture looked at
  // moved by (dx, dy) pixels.
  struct Ink {
    double Share = 0;
    double X = 0;
    double Y = 0;
  };
  static Ink InkOf(const QImage& image, int col, int row, int dx = 0, int dy = 0) {
    const int left = kCorner.X + col * kPitch + 2 + dx;
    const int top = kCorner.Y + row * kPitch + 2 + dy;
    Ink ink;
    int dark = 0;
    for (int y = top; y < top + kCell - 4; ++y) {
      for (int x = left; x < left + kCell - 4; ++x) {
        if (qGray(image.pixel(x, y)) >= 128) continue;
        ++dark;
        ink.X += x - left;
        ink.Y += y - top;
      }
    }
    if (dark > 0) {
      ink.X /= dark;
      ink.Y /= dark;
    }
    ink.Share = static_cast<double>(dark) / ((kCell - 4) * (kCell - 4));
    return ink;
  }
  // The same label drawn twice at slightly different scales rounds its
  // glyphs and edges a pixel either way: the ink may differ by a sixth and
  // its centre by a pixel and a half.
  static bool SameLabel(const Ink& a, const Ink& b) {
    if (std::abs(a.Share - b.Share) > std::max(a.Share, b.Share) / 6 + 0.002) return false;
    if (a.Share == 0 || b.Share == 0) return true;
    return std::abs(a.X - b.X) <= 1.5 && std::abs(a.Y - b.Y) <= 1.5;
  }

  test::DialogFixture f_;
  std::vector<QImage> sheets_;
  std::unique_ptr<cli::PngSheetSurface> surface_;
  std::unique_ptr<TfrmMain> dialog_;
};

TEST_F(PreviewPixelsTest, PreviewShowsTheLabelsOfThePrintedSheet) {
  TfrmMain& d = *dialog_;
  d.Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  d.Preview();
  d.Image1MouseDown(kCorner.X + kPitch + 20, kCorner.Y + 20);  // start at (1, 0)
  ASSERT_EQ(d.StartCol, 1);
  ASSERT_EQ(d.StartRow, 0);
  const QImage preview = PaintPreview();
  ASSERT_EQ(preview.size(), QSize(200, 250));

  d.PrintTikets();
  ASSERT_FALSE(sheets_.empty());
  const QImage& sheet = sheets_.front();
  ASSERT_EQ(sheet.size(), preview.size());

  // Six labels from (1, 0): I, I, I, WM, WM, o; position (0, 0) and
  // everything after the sixth label stay empty on both.
  int differing = 0;
  int shifted = 0;
  int reordered = 0;
  for (int position = 0; position < 12; ++position) {
    SCOPED_TRACE(position);
    const int col = position % 3;
    const int row = position / 3;
    const Ink shown = InkOf(preview, col, row);
    EXPECT_EQ(shown.Share > 0, position >= 1 && position <= 6);
    if (!SameLabel(shown, InkOf(sheet, col, row))) ++differing;
    // The measure tells a sheet three pixels off, and a label of the next
    // position, from the right one.
    if (shown.Share == 0) continue;
    if (!SameLabel(shown, InkOf(sheet, col, row, 3, 0))) ++shifted;
    if (!SameLabel(shown, InkOf(sheet, col, row, 0, -3))) ++shifted;
    if (position == 1 || position == 4 || position == 6) {
      const int before = position - 1;
      if (!SameLabel(shown, InkOf(sheet, col, row, (before % 3 - col) * kPitch,
                                  (before / 3 - row) * kPitch)))
        ++reordered;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(shifted, 2 * 6);
  EXPECT_EQ(reordered, 3);
}

// The preview is painted on every repaint; with the labels of a sheet of
// 65 positions it must stay quick. Two items: one bind each per paint.
TEST_F(PreviewPixelsTest, ASheetOfSixtyFiveLabelsPaintsQuickly) {
  TfrmMain& d = *dialog_;
  f_.SetGoods(
      {RecordBuilder().Name("I").Count(40).Build(), RecordBuilder().Name("WM").Count(40).Build()});
  d.BindGoodsItem(1);
  // 5 × 13 labels of 880 × 440 dots with no gaps.
  for (const auto& [name, text] : {std::pair{"rxseOsax", "880"}, std::pair{"rxseOsay", "440"},
                                   std::pair{"meOdsazX", "0"}, std::pair{"meOdsazY", "0"}}) {
    d.Ctl<Edit>(name).SetText(text);
  }
  const QImage outlines = PaintPreview();
  d.Ctl<CheckBox>("PodrobnostiPrew").SetChecked(true);
  ASSERT_NE(PaintPreview(), outlines);
  const auto start = std::chrono::steady_clock::now();
  constexpr int kPaints = 10;
  for (int i = 0; i < kPaints; ++i) PaintPreview();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
      kPaints;
  std::printf("preview with 65 labels: %.1f ms a paint\n", ms);
  EXPECT_LT(ms, 250.0);
}

}  // namespace
}  // namespace korval::qt
