#include "win32/Win32PictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "doubles/PictureFiles.h"
#include "platform/PictureDecoder.h"
#include "storage/ProfileTestFolder.h"

namespace korval::win32 {
namespace {

using test::At;
using test::Bytes;
using test::ExpectEmfRectangle;
using test::ExpectWmfRectangle;
using test::IsRed;
using test::kBlue;
using test::kRed;
using test::MakeEmf;
using test::MakeWmf;
using test::TempFolder;
using test::WriteBytes;

// A 24-bit bitmap of 20 x 10: red left half, blue right half, and one pixel
// of (1, 2, 3) in the bottom-left corner. Rows are stored bottom-up.
std::string MakeBitmap() {
  constexpr int kWidth = 20;
  constexpr int kHeight = 10;
  constexpr int kRow = kWidth * 3;  // a multiple of 4 already
  Bytes file;
  file.U16(0x4D42).U32(54 + kRow * kHeight).U32(0).U32(54);
  file.U32(40).I32(kWidth).I32(kHeight).U16(1).U16(24).U32(0).U32(kRow * kHeight);
  file.I32(2835).I32(2835).U32(0).U32(0);
  std::string pixels;
  for (int storedRow = 0; storedRow < kHeight; ++storedRow) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char r = x < 10 ? 255 : 0, g = 0, b = x < 10 ? 0 : 255;
      if (storedRow == 0 && x == 0) std::tie(r, g, b) = std::tuple{1, 2, 3};
      pixels += {char(b), char(g), char(r)};
    }
  }
  return file.Str() + pixels;
}

std::string Example(const std::string& name) {
  return std::string(KORVAL_SOURCE_DIR) + "/examples/pictures/" + name;
}

class Win32PictureDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallPictureDecoder(); }
  void TearDown() override { SetPictureDecoder(nullptr); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string file = folder_.File(name);
    WriteBytes(file, bytes);
    return file;
  }
  TempFolder folder_;
};

TEST_F(Win32PictureDecoderTest, BitmapDecodesPixelForPixelTopRowFirst) {
  const Picture picture = LoadPictureFile(Write("obrazek.BMP", MakeBitmap()));
  ASSERT_EQ(picture.Width, 20);
  ASSERT_EQ(picture.Height, 10);
  EXPECT_EQ(At(picture, 1, 0), kRed);
  EXPECT_EQ(At(picture, 19, 0), kBlue);
  EXPECT_EQ(At(picture, 0, 9), 0xFF010203u);
}

TEST_F(Win32PictureDecoderTest, IconKeepsItsTransparency) {
  const Picture picture = LoadPictureFile(Example("logo.ico"));
  ASSERT_EQ(picture.Width, 8);
  ASSERT_EQ(picture.Height, 8);
  EXPECT_EQ(At(picture, 3, 3), kRed);
  EXPECT_EQ(At(picture, 0, 0) >> 24, 0u);
  EXPECT_EQ(At(picture, 7, 7) >> 24, 0u);
}

TEST_F(Win32PictureDecoderTest, EnhancedMetafileRendersAtItsFrameSizeAndIsTransparentAround) {
  const Picture picture = LoadPictureFile(Write("kresba.emf", MakeEmf()));
  ExpectEmfRectangle(picture);
  EXPECT_EQ(At(picture, 2, 2) >> 24, 0u);

  // The example: a rectangle in the default pen and brush, a black outline
  // round a white inside, nothing around it.
  const Picture example = LoadPictureFile(Example("logo.emf"));
  ASSERT_EQ(example.Width, 100);
  ASSERT_EQ(example.Height, 50);
  EXPECT_EQ(At(example, 10, 20), 0xFF000000u);
  EXPECT_EQ(At(example, 50, 25), 0xFFFFFFFFu);
  EXPECT_EQ(At(example, 5, 5) >> 24, 0u);
}

TEST_F(Win32PictureDecoderTest, WindowsMetafileKeepsItsBoxAroundTheDrawing) {
  for (const auto& [left, top, setWindow] :
       {std::tuple{0, 0, true}, std::tuple{100, 100, true}, std::tuple{100, 100, false}}) {
    SCOPED_TRACE(testing::Message() << left << "," << top << " window " << setWindow);
    const Picture picture = LoadPictureFile(Write("kresba.WMF", MakeWmf(left, top, setWindow)));
    ExpectWmfRectangle(picture);
  }
  const Picture example = LoadPictureFile(Example("logo.wmf"));
  EXPECT_EQ(example.Width, 100);
  EXPECT_EQ(example.Height, 50);
  EXPECT_TRUE(IsRed(At(example, 85, 35)));
  EXPECT_EQ(At(example, 4, 4) >> 24, 0u);
}

TEST_F(Win32PictureDecoderTest, DamagedFilesAreErrorsWithoutACrash) {
  const std::string emf = MakeEmf();
  // The end record missing while the header still counts it, then the files
  // every decoder must refuse.
  std::vector<std::pair<std::string, std::string>> damaged = {
      {"bezkonce.emf", emf.substr(0, emf.size() - 20)},
  };
  for (auto& file : test::DamagedPictureFiles(MakeBitmap())) damaged.push_back(std::move(file));
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    EXPECT_THROW(LoadPictureFile(Write(name, bytes)), PictureLoadError);
  }
}

TEST_F(Win32PictureDecoderTest, DecoderAnswersNothingForFormatsItDoesNotKnow) {
  Win32PictureDecoder decoder;
  const std::string file = Write("kresba.emf", MakeEmf());
  EXPECT_TRUE(decoder.Decode(file, "emf").has_value());
  EXPECT_FALSE(decoder.Decode(file, "png").has_value());
  EXPECT_FALSE(decoder.Decode(folder_.File("neni.bmp"), "bmp").has_value());
}

}  // namespace
}  // namespace korval::win32
