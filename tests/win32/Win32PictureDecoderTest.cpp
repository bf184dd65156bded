#include "win32/Win32PictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/PictureDecoder.h"
#include "storage/ProfileTestFolder.h"

namespace korval::win32 {
namespace {

using test::TempFolder;
using test::WriteBytes;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

class Bytes {
 public:
  Bytes& U16(unsigned v) {
    bytes_.push_back(char(v & 0xFF));
    bytes_.push_back(char((v >> 8) & 0xFF));
    return *this;
  }
  Bytes& I16(int v) { return U16(static_cast<unsigned>(v) & 0xFFFF); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  Bytes& Append(const Bytes& other) {
    bytes_ += other.bytes_;
    return *this;
  }
  std::size_t Size() const { return bytes_.size(); }
  const std::string& Str() const { return bytes_; }

 private:
  std::string bytes_;
};

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

// An enhanced metafile of 100 x 50 pixels at 96 dpi: a solid red brush and
// one rectangle (10, 10)-(90, 40).
std::string MakeEmf() {
  Bytes records;
  records.U32(39).U32(24).U32(1).U32(0).U32(0x000000FF).U32(0);  // brush 1: solid, red
  records.U32(37).U32(12).U32(1);                                // select it
  records.U32(43).U32(24).I32(10).I32(10).I32(90).I32(40);       // rectangle
  records.U32(14).U32(20).U32(0).U32(16).U32(20);                // end of file
  Bytes file;
  file.U32(1).U32(88);
  file.I32(0).I32(0).I32(99).I32(49);      // bounds
  file.I32(0).I32(0).I32(2645).I32(1322);  // frame, 0.01 mm
  file.U32(0x464D4520).U32(0x10000);
  file.U32(std::uint32_t(88 + records.Size())).U32(5);
  file.U16(2).U16(0);
  file.U32(0).U32(0).U32(0);
  file.I32(960).I32(960).I32(254).I32(254);
  return file.Append(records).Str();
}

// A placeable metafile whose box of 100 x 50 units at 96 per inch starts at
// (boxLeft, boxTop), with a red rectangle 10 units inside its left, top and
// bottom edges; the records set the window to the box or draw in the box's
// coordinates without saying so.
std::string MakeWmf(int boxLeft, int boxTop, bool setWindow) {
  Bytes records;
  if (setWindow) {
    records.U32(5).U16(0x020B).I16(boxTop).I16(boxLeft);
    records.U32(5).U16(0x020C).I16(50).I16(100);
  }
  records.U32(7).U16(0x02FC).U16(0).U32(0x000000FF).U16(0);
  records.U32(4).U16(0x012D).U16(0);
  records.U32(7).U16(0x041B).I16(boxTop + 40).I16(boxLeft + 90).I16(boxTop + 10).I16(boxLeft + 10);
  records.U32(3).U16(0x0000);
  Bytes header;
  header.U16(1).U16(9).U16(0x0300);
  header.U32(std::uint32_t((18 + records.Size()) / 2));
  header.U16(1).U32(7).U16(0);
  Bytes placeable;
  placeable.U32(0x9AC6CDD7u).U16(0);
  placeable.I16(boxLeft).I16(boxTop).I16(boxLeft + 100).I16(boxTop + 50);
  placeable.U16(96).U32(0);
  unsigned checksum = 0;
  for (std::size_t i = 0; i < placeable.Size(); i += 2) {
    checksum ^= static_cast<unsigned char>(placeable.Str()[i]) |
                (static_cast<unsigned char>(placeable.Str()[i + 1]) << 8);
  }
  placeable.U16(checksum);
  return placeable.Append(header).Append(records).Str();
}

std::uint32_t At(const Picture& picture, int x, int y) {
  return picture.Pixels.at(static_cast<std::size_t>(y * picture.Width + x));
}

bool IsRed(std::uint32_t pixel) {
  const int a = int(pixel >> 24), r = int((pixel >> 16) & 0xFF), g = int((pixel >> 8) & 0xFF),
            b = int(pixel & 0xFF);
  return a > 200 && r > 200 && g < 60 && b < 60;
}

std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = char(seed >> 24);
  }
  return bytes;
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
  ASSERT_EQ(picture.Width, 100);
  ASSERT_EQ(picture.Height, 50);
  EXPECT_TRUE(IsRed(At(picture, 50, 25)));
  EXPECT_TRUE(IsRed(At(picture, 13, 13)));
  EXPECT_TRUE(IsRed(At(picture, 86, 36)));
  EXPECT_FALSE(IsRed(At(picture, 5, 25)));
  EXPECT_FALSE(IsRed(At(picture, 95, 25)));
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
    ASSERT_EQ(picture.Width, 100);
    ASSERT_EQ(picture.Height, 50);
    EXPECT_TRUE(IsRed(At(picture, 50, 25)));
    EXPECT_TRUE(IsRed(At(picture, 14, 14)));
    EXPECT_TRUE(IsRed(At(picture, 85, 35)));
    EXPECT_FALSE(IsRed(At(picture, 4, 25)));
    EXPECT_FALSE(IsRed(At(picture, 96, 25)));
    EXPECT_FALSE(IsRed(At(picture, 50, 46)));
    EXPECT_FALSE(IsRed(At(picture, 50, 4)));
  }
  const Picture example = LoadPictureFile(Example("logo.wmf"));
  EXPECT_EQ(example.Width, 100);
  EXPECT_EQ(example.Height, 50);
  EXPECT_TRUE(IsRed(At(example, 85, 35)));
  EXPECT_EQ(At(example, 4, 4) >> 24, 0u);
}

TEST_F(Win32PictureDecoderTest, DamagedFilesAreErrorsWithoutACrash) {
  const std::string emf = MakeEmf();
  const std::string wmf = MakeWmf(0, 0, true);
  const std::string bmp = MakeBitmap();
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"sum.bmp", Noise(400, 1)},
      {"sum.ico", Noise(400, 2)},
      {"sum.emf", Noise(400, 3)},
      {"sum.wmf", Noise(400, 4)},
      {"prazdny.bmp", ""},
      {"prazdny.emf", ""},
      {"prazdny.wmf", ""},
      {"bmp.ico", bmp},
      {"emf.wmf", emf},
      {"wmf.emf", wmf},
      {"pulka.bmp", bmp.substr(0, 40)},
      {"hlavicka.emf", emf.substr(0, 60)},
      {"hlavicka.wmf", wmf.substr(0, 30)},
      {"bezkonce.emf", emf.substr(0, emf.size() - 20)},
      {"sumpohlavicce.emf", emf.substr(0, 88) + Noise(200, 5)},
      {"dlouhyzaznam.emf", emf.substr(0, 92) + std::string("\xFC\0\0\0", 4) + emf.substr(96)},
      {"obrizaznam.wmf", wmf.substr(0, 34) + std::string("\x07\x00\x00\x6C", 4) + wmf.substr(38)},
  };
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
