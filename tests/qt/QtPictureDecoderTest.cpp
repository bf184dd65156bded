#include "qt/QtPictureDecoder.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "doubles/PictureFiles.h"
#include "platform/PictureDecoder.h"
#include "qt/QtApplication.h"
#include "storage/ProfileTestFolder.h"

namespace korval::qt {
namespace {

using test::At;
using test::ExpectEmfRectangle;
using test::ExpectWmfRectangle;
using test::IsRed;
using test::kBlue;
using test::kRed;
using test::MakeEmf;
using test::MakeWmf;
using test::Noise;
using test::TempFolder;
using test::WriteBytes;

class QtPictureDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    InstallPictureDecoder();
  }
  void TearDown() override { SetPictureDecoder(nullptr); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string file = folder_.File(name);
    WriteBytes(file, bytes);
    return file;
  }
  TempFolder folder_;
};

TEST_F(QtPictureDecoderTest, BitmapDecodesPixelForPixel) {
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 0));
  for (int y = 0; y < 10; ++y) {
    for (int x = 10; x < 20; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
  }
  image.setPixel(0, 9, qRgb(1, 2, 3));  // bottom-up rows in the file: the last row first
  for (const char* name : {"logo.bmp", "LOGO2.BMP"}) {
    SCOPED_TRACE(name);
    const std::string file = folder_.File(name);
    ASSERT_TRUE(image.save(QString::fromStdString(file), "BMP"));
    const Picture picture = LoadPictureFile(file);
    ASSERT_EQ(picture.Width, 20);
    ASSERT_EQ(picture.Height, 10);
    EXPECT_EQ(At(picture, 0, 0), kRed);
    EXPECT_EQ(At(picture, 19, 0), kBlue);
    EXPECT_EQ(At(picture, 0, 9), 0xFF010203u);
  }
}

TEST_F(QtPictureDecoderTest, IconKeepsItsTransparency) {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 8; y < 24; ++y) {
    for (int x = 8; x < 24; ++x) image.setPixel(x, y, qRgba(0, 0, 255, 255));
  }
  const std::string file = folder_.File("ikona.ico");
  ASSERT_TRUE(image.save(QString::fromStdString(file), "ICO"));
  const Picture picture = LoadPictureFile(file);
  ASSERT_EQ(picture.Width, 32);
  ASSERT_EQ(picture.Height, 32);
  EXPECT_EQ(At(picture, 16, 16), kBlue);
  EXPECT_EQ(At(picture, 2, 2) >> 24, 0u);
}

TEST_F(QtPictureDecoderTest, EnhancedMetafileRendersAtItsFrameSize) {
  // The offset of a description of no characters means nothing, wherever it
  // points; the one the fuzz target found points at the end of the file.
  std::string pointingPastTheEnd = MakeEmf();
  const auto end = static_cast<std::uint32_t>(pointingPastTheEnd.size());
  std::memcpy(pointingPastTheEnd.data() + 64, &end, sizeof end);
  for (const std::string& emf : {MakeEmf(), pointingPastTheEnd}) {
    const Picture picture = LoadPictureFile(Write("kresba.emf", emf));
    ExpectEmfRectangle(picture);
    // Outside the rectangle the metafile paints nothing.
    EXPECT_FALSE(IsRed(At(picture, 50, 45)));
    EXPECT_EQ(At(picture, 2, 2) >> 24, 0u);
  }
}

TEST_F(QtPictureDecoderTest, WindowsMetafileKeepsItsBoxAroundTheDrawing) {
  // The same picture whether the records move the window origin to the box
  // or draw in the box's own coordinates.
  for (const auto& [left, top, setWindow] :
       {std::tuple{0, 0, true}, std::tuple{100, 100, true}, std::tuple{100, 100, false}}) {
    SCOPED_TRACE(testing::Message() << left << "," << top << " window " << setWindow);
    const Picture picture = LoadPictureFile(Write("kresba.WMF", MakeWmf(left, top, setWindow)));
    ExpectWmfRectangle(picture);
  }
}

TEST_F(QtPictureDecoderTest, DamagedFilesAreErrorsWithoutACrash) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::green);
  const std::string png = folder_.File("obrazek.png");
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
  const std::string pngBytes = test::ReadBytes(png);
  const std::string bmp = folder_.File("cely.bmp");
  ASSERT_TRUE(image.save(QString::fromStdString(bmp), "BMP"));
  const std::string bmpBytes = test::ReadBytes(bmp);

  // The cases of this decoder's own, then those every decoder must refuse.
  std::vector<std::pair<std::string, std::string>> damaged = {
      {"png.bmp", pngBytes},  // another format under the name of a bitmap
      {"bezkonce.emf", MakeEmf(false).substr(0, 100)},
  };
  for (auto& file : test::DamagedPictureFiles(bmpBytes)) damaged.push_back(std::move(file));
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    EXPECT_THROW(LoadPictureFile(Write(name, bytes)), PictureLoadError);
  }
}

TEST_F(QtPictureDecoderTest, DecoderAnswersNothingForFormatsItDoesNotKnow) {
  QtPictureDecoder decoder;
  const std::string file = Write("kresba.emf", MakeEmf());
  EXPECT_TRUE(decoder.Decode(file, "emf").has_value());
  EXPECT_FALSE(decoder.Decode(file, "png").has_value());
  EXPECT_FALSE(decoder.Decode(folder_.File("neni.bmp"), "bmp").has_value());
}

}  // namespace
}  // namespace korval::qt
