// Symbols painted through the Qt canvas at printer and screen resolutions
// must scan: ZXing reads them back. Code 11 has no reader; its painted
// modules are compared with zint's instead.
#include <gtest/gtest.h>
#include <zint.h>

#include <ZXing/ReadBarcode.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "SymbolImage.h"
#include "ZintOracle.h"
#include "barcode/BarcodeEncoder.h"
#include "barcode/BarcodeText.h"
#include "barcode/ModuleWidths.h"

namespace korval::test {
namespace {

BarcodeLook Look(const std::string& code, TBarCodeType type, bool addCheck, double barWidth,
                 int dpi) {
  BarcodeLook look;
  look.Code = code;
  look.Type = type;
  BarcodeOptions options;
  options.AddCheckChar = addCheck;
  look.Elements = BuildElements(code, type, options);
  look.BarWidth = barWidth;
  // The item font of the label, scaled to the device as printing scales it.
  look.Font.Height = static_cast<int>(std::lround(-11.0 * dpi / 96));
  return look;
}

std::string Scan(const QImage& image, ZXing::BarcodeFormat format) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                              ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
  ZXing::DecodeHints hints;
  hints.setFormats(format);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  return result.isValid() ? result.text() : std::string("(nothing read)");
}

struct ScanCase {
  std::string code;
  TBarCodeType type;
  bool addCheck;
  ZXing::BarcodeFormat format;
  std::string read;  // what a scanner reads
};

const ScanCase kCases[] = {
    {"590123412345", bcEAN_13, false, ZXing::BarcodeFormat::EAN13, "5901234123457"},
    {"4006381333931", bcEAN_13, false, ZXing::BarcodeFormat::EAN13, "4006381333931"},
    {"9638507", bcEAN_8, false, ZXing::BarcodeFormat::EAN8, "96385074"},
    {"85951631", bcEAN_8, false, ZXing::BarcodeFormat::EAN8, "85951631"},
    {"03600029145", bcUPC_A, false, ZXing::BarcodeFormat::UPCA, "036000291452"},
    // UPC-E is read as number system, six digits and check digit.
    {"654321", bcUPC_E, false, ZXing::BarcodeFormat::UPCE, "06543217"},
    {"425261", bcUPC_E, false, ZXing::BarcodeFormat::UPCE, "04252614"},
    {"123456", bcUPC_E, false, ZXing::BarcodeFormat::UPCE, "01234565"},
    {"123456", bcInterleaved2of5, false, ZXing::BarcodeFormat::ITF, "123456"},
    {"1234567", bcInterleaved2of5, true, ZXing::BarcodeFormat::ITF, "12345670"},
    {"1540014128876", bcInterleaved2of5, true, ZXing::BarcodeFormat::ITF, "15400141288763"},
    {"98765432109", bcInterleaved2of5, false, ZXing::BarcodeFormat::ITF, "098765432109"},
};

class ScanTest : public ::testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(ScanTest, PaintedSymbolsScan) {
  const auto [dpi, barWidth] = GetParam();
  const int margin = dpi / 4;
  for (const ScanCase& c : kCases) {
    const BarcodeLook look = Look(c.code, c.type, c.addCheck, barWidth, dpi);
    // Wide enough for the symbol: the 200 x 75 default control, or wider.
    const ModuleWidths widths = ComputeModuleWidths(dpi, barWidth, 1);
    const int needed = SymbolWidth(look.Elements, widths) + 4 * widths.Bar;
    Rect item = ScaledItem(200, 75, dpi, margin);
    item.Right = std::max(item.Right, item.Left + needed);
    const QImage image = PaintSymbolImage(look, dpi, item, margin);
    EXPECT_EQ(Scan(image, c.format), c.read)
        << c.code << " at " << dpi << " dpi, bar width " << barWidth;
  }
}

// What zbar reads from a symbol; it reads Interleaved 2 of 5 of any length,
// where ZXing takes six digits and more only.
std::string ScanWithZbar(const QImage& image, const std::string& file) {
  if (!image.save(QString::fromStdString(file), "PNG")) return "(not saved)";
  std::string text;
  const std::string command = "zbarimg -q --raw -Si25.min-length=1 '" + file + "' 2>/dev/null";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text.empty() ? "(nothing read)" : text;
}

// The digits written with an Interleaved 2 of 5 symbol are the ones its bars
// carry: the "0" that makes the count even and the check digit included.
TEST(ScanTest, WrittenInterleaved2of5DigitsAreTheScannedOnes) {
  if (std::system("command -v zbarimg >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "zbarimg is not installed";
  constexpr int kDpi = 300;
  const std::string file = (std::filesystem::temp_directory_path() /
                            ("korval-itf-" + std::to_string(::getpid()) + ".png"))
                               .string();
  for (const bool addCheck : {true, false}) {
    for (const char* code : {"5", "123", "1234", "12345"}) {
      const BarcodeLook look = Look(code, bcInterleaved2of5, addCheck, 13, kDpi);
      const QImage image = PaintSymbolImage(look, kDpi, ScaledItem(200, 75, kDpi, 75), 75);
      EXPECT_EQ(WrittenText(code, bcInterleaved2of5, addCheck), ScanWithZbar(image, file))
          << code << (addCheck ? " with" : " without") << " the check digit";
    }
  }
  std::filesystem::remove(file);
}

INSTANTIATE_TEST_SUITE_P(Devices, ScanTest,
                         ::testing::Combine(::testing::Values(96, 203, 300, 600),
                                            ::testing::Values(10.0, 13.0)));

// Across the middle of the bars the painted row is zint's symbol with every
// module as wide as the device's module width: no smoothed edges, no lost or
// doubled pixels.
TEST(PaintedModulesTest, ARowThroughTheBarsIsTheSymbolModuleByModule) {
  struct Case {
    std::string code;
    TBarCodeType type;
    bool addCheck;
    int symbology;
    int option2;
  };
  for (const Case& c : {Case{"590123412345", bcEAN_13, false, BARCODE_EANX, 0},
                        Case{"654321", bcUPC_E, false, BARCODE_UPCE, 0},
                        Case{"123-45", bcCode11, true, BARCODE_CODE11, 0},
                        Case{"1234567890", bcCode11, false, BARCODE_CODE11, 2}}) {
    for (int dpi : {96, 203, 300, 600}) {
      const BarcodeLook look = Look(c.code, c.type, c.addCheck, 13, dpi);
      const ModuleWidths widths = ComputeModuleWidths(dpi, 13, 1);
      const Rect item = ScaledItem(300, 75, dpi, 10);
      const QImage image = PaintSymbolImage(look, dpi, item, 10);
      const auto zint = ZintEncode(c.symbology, c.option2, c.code);
      ASSERT_TRUE(zint.has_value());
      std::string expected;
      for (char module : zint->Modules) expected.append(widths.Bar, module);
      const int width = static_cast<int>(expected.size());
      const int left = item.Left + (item.Width() - width) / 2;
      const int y = item.Top + item.Height() / 3;
      std::string row;
      for (int x = left - 2; x < left + width + 2; ++x) {
        const QRgb pixel = image.pixel(x, y);
        ASSERT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255))
            << "grey pixel at " << x << " in " << c.code << " at " << dpi << " dpi";
        row += qRed(pixel) == 0 ? '1' : '0';
      }
      EXPECT_EQ(row, "00" + expected + "00") << c.code << " at " << dpi << " dpi";
    }
  }
}

}  // namespace
}  // namespace korval::test
