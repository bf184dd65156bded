// How fast barcodes are built and painted. A sheet of labels paints one
// barcode per label, so paints per second bound how fast a sheet is laid out.
// Prints figures only; it never fails on speed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodePainter.h"

#ifdef KORVAL_BENCH_WITH_QT
#include <QImage>
#include <QPainter>

#include "qt/QtApplication.h"
#include "qt/QtCanvas.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;
using korval::TBarCodeType;

// A canvas that draws nothing: the painter's own cost.
class NullCanvas final : public korval::Canvas {
 public:
  explicit NullCanvas(int dpi) : dpi_(dpi) {}
  int DpiX() const override { return dpi_; }
  int DpiY() const override { return dpi_; }
  void SetPenColor(korval::Color) override {}
  korval::Color PenColor() const override { return korval::kBlack; }
  void SetPenStyle(korval::PenStyle) override {}
  korval::PenStyle GetPenStyle() const override { return korval::PenStyle::Solid; }
  void SetBrushColor(korval::Color) override {}
  korval::Color BrushColor() const override { return korval::kWhite; }
  void SetBrushStyle(korval::BrushStyle) override {}
  korval::BrushStyle GetBrushStyle() const override { return korval::BrushStyle::Solid; }
  void SetFont(const korval::Font& font) override { font_ = font; }
  const korval::Font& GetFont() const override { return font_; }
  void FillRect(const korval::Rect&) override { ++fills_; }
  void FrameRect(const korval::Rect&) override {}
  void Rectangle(const korval::Rect&) override {}
  void DrawFocusRect(const korval::Rect&) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  int DrawText(std::string_view, korval::Rect&, unsigned) override { return 0; }
  void TextOut(int, int, std::string_view) override {}
  korval::Size TextExtent(std::string_view text) override {
    const int h = std::abs(font_.Height);
    return korval::Size{static_cast<int>(text.size()) * h / 2, h};
  }
  void Draw(int, int, const korval::Picture&) override {}
  void StretchDraw(const korval::Rect&, const korval::Picture&) override {}
  void Save() override {}
  void Restore() override {}
  long Fills() const { return fills_; }

 private:
  int dpi_;
  korval::Font font_;
  long fills_ = 0;
};

struct Symbology {
  const char* name;
  TBarCodeType type;
  std::size_t length;
};

const Symbology kSymbologies[] = {
    {"EAN-13", korval::bcEAN_13, 12},      {"EAN-8", korval::bcEAN_8, 7},
    {"UPC-A", korval::bcUPC_A, 11},        {"UPC-E", korval::bcUPC_E, 6},
    {"ITF", korval::bcInterleaved2of5, 5}, {"Code 11", korval::bcCode11, 11},
};

std::vector<std::string> Codes(std::size_t length, int count) {
  std::vector<std::string> codes;
  unsigned seed = 12345;
  for (int i = 0; i < count; ++i) {
    std::string code;
    for (std::size_t k = 0; k < length; ++k) {
      seed = seed * 1103515245u + 12345u;
      code += static_cast<char>('0' + (seed >> 16) % 10);
    }
    codes.push_back(code);
  }
  return codes;
}

// Runs body repeatedly for about the given time; returns calls per second.
template <typename Body>
double PerSecond(double seconds, Body body) {
  long calls = 0;
  const auto start = Clock::now();
  std::chrono::duration<double> elapsed{};
  do {
    for (int i = 0; i < 64; ++i) body(calls++);
    elapsed = Clock::now() - start;
  } while (elapsed.count() < seconds);
  return static_cast<double>(calls) / elapsed.count();
}

korval::BarcodeLook LookFor(const Symbology& s, const std::string& code, int dpi) {
  korval::BarcodeLook look;
  look.Code = code;
  look.Type = s.type;
  look.Elements = korval::BuildElements(code, s.type, korval::BarcodeOptions{});
  look.BarWidth = 10;
  look.TallGuardBars = true;
  look.Font.Height = -11 * dpi / 96;
  return look;
}

}  // namespace

int main() {
  const double seconds = 0.5;
  std::printf("%-8s %16s %18s", "", "encodes/s", "paints/s (null)");
#ifdef KORVAL_BENCH_WITH_QT
  korval::qt::EnsureApplication();
  std::printf(" %22s", "paints/s (Qt 600 dpi)");
#endif
  std::printf("\n");

  long sink = 0;
  for (const Symbology& s : kSymbologies) {
    const std::vector<std::string> codes = Codes(s.length, 256);
    const double encodes = PerSecond(seconds, [&](long i) {
      sink += static_cast<long>(
          korval::BuildElements(codes[i % 256], s.type, korval::BarcodeOptions{}).size());
    });

    // The fixed barcode item (179 x 37 pixels) on a 600 dpi page.
    const korval::Rect item{0, 0, 1119, 231};
    std::vector<korval::BarcodeLook> looks;
    for (const std::string& code : codes) looks.push_back(LookFor(s, code, 600));
    NullCanvas null(600);
    const double nullPaints =
        PerSecond(seconds, [&](long i) { korval::PaintBarcodeTo(null, item, looks[i % 256]); });
    sink += null.Fills();
    std::printf("%-8s %16.0f %18.0f", s.name, encodes, nullPaints);

#ifdef KORVAL_BENCH_WITH_QT
    QImage image(item.Right, item.Bottom, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    QPainter painter(&image);
    korval::qt::QtCanvas canvas(painter, 600, 600);
    const double qtPaints =
        PerSecond(seconds, [&](long i) { korval::PaintBarcodeTo(canvas, item, looks[i % 256]); });
    painter.end();
    std::printf(" %22.0f", qtPaints);
#endif
    std::printf("\n");
  }
  return sink == 42 ? 1 : 0;
}
