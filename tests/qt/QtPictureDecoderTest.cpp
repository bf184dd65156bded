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
#include <vector>

#include "platform/PictureDecoder.h"
#include "qt/QtApplication.h"

#include "storage/ProfileTestFolder.h"

namespace korval::qt {
namespace {

using test::TempFolder;
using test::WriteBytes;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// --- Metafiles written byte by byte -----------------------------------------

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

// An enhanced metafile of 100 x 50 pixels at 96 dpi: the header, a solid red
// brush selected, one rectangle (10, 10)-(90, 40), the end record.
std::string MakeEmf(bool withEnd = true) {
  Bytes records;
  records.U32(39).U32(24).U32(1).U32(0).U32(0x000000FF).U32(0);  // brush 1: solid, red
  records.U32(37).U32(12).U32(1);                                // select it
  records.U32(43).U32(24).I32(10).I32(10).I32(90).I32(40);       // rectangle
  if (withEnd) records.U32(14).U32(20).U32(0).U32(16).U32(20);   // end of file
  const std::uint32_t recordCount = withEnd ? 5 : 4;
  Bytes file;
  file.U32(1).U32(88);                     // header record
  file.I32(0).I32(0).I32(99).I32(49);      // bounds, device pixels, inclusive
  file.I32(0).I32(0).I32(2645).I32(1322);  // frame, 0.01 mm: 100 x 50 at 96 dpi
  file.U32(0x464D4520).U32(0x10000);       // " EMF", version
  file.U32(std::uint32_t(88 + records.Size())).U32(recordCount);
  file.U16(2).U16(0);                        // handles, reserved
  file.U32(0).U32(0).U32(0);                 // no description, no palette
  file.I32(960).I32(960).I32(254).I32(254);  // reference device: 96 dpi
  return file.Append(records).Str();
}

// A placeable Windows metafile of 100 x 50 logical units at 96 per inch whose
// box starts at (boxLeft, boxTop): a solid red brush and one rectangle 10
// units inside the box's left, top and bottom edges. With setWindow the
// records put the window origin at the box's corner, as most writers do;
// without it they draw in the box's own coordinates.
std::string MakeWmf(int boxLeft, int boxTop, bool setWindow) {
  Bytes records;
  if (setWindow) {
    records.U32(5).U16(0x020B).I16(boxTop).I16(boxLeft);  // window origin (y, x)
    records.U32(5).U16(0x020C).I16(50).I16(100);          // window extent (y, x)
  }
  records.U32(7).U16(0x02FC).U16(0).U32(0x000000FF).U16(0);  // brush: solid, red
  records.U32(4).U16(0x012D).U16(0);                         // select object 0
  records.U32(7)
      .U16(0x041B)
      .I16(boxTop + 40)
      .I16(boxLeft + 90)
      .I16(boxTop + 10)
      .I16(boxLeft + 10);      // rectangle: bottom, right, top, left
  records.U32(3).U16(0x0000);  // end of file
  Bytes header;
  header.U16(1).U16(9).U16(0x0300);
  header.U32(std::uint32_t((18 + records.Size()) / 2));  // size in words
  header.U16(1).U32(7).U16(0);                           // objects, largest record (words), unused
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

// Deterministic noise, so that a failure can be reproduced.
std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = char(seed >> 24);
  }
  return bytes;
}

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
  const Picture picture = LoadPictureFile(Write("kresba.emf", MakeEmf()));
  ASSERT_EQ(picture.Width, 100);
  ASSERT_EQ(picture.Height, 50);
  EXPECT_TRUE(IsRed(At(picture, 50, 25)));
  EXPECT_TRUE(IsRed(At(picture, 13, 13)));
  EXPECT_TRUE(IsRed(At(picture, 86, 36)));
  // Outside the rectangle the metafile paints nothing.
  EXPECT_FALSE(IsRed(At(picture, 5, 25)));
  EXPECT_FALSE(IsRed(At(picture, 95, 25)));
  EXPECT_FALSE(IsRed(At(picture, 50, 45)));
  EXPECT_EQ(At(picture, 2, 2) >> 24, 0u);
}

TEST_F(QtPictureDecoderTest, WindowsMetafileKeepsItsBoxAroundTheDrawing) {
  // The same picture whether the records move the window origin to the box
  // or draw in the box's own coordinates.
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
}

// The metafile with its bounds and frame (left, top, right, bottom) replaced.
std::string WithEmfBox(std::string emf, const std::array<std::int32_t, 4>& bounds,
                       const std::array<std::int32_t, 4>& frame) {
  std::memcpy(emf.data() + 8, bounds.data(), sizeof bounds);
  std::memcpy(emf.data() + 24, frame.data(), sizeof frame);
  return emf;
}

TEST_F(QtPictureDecoderTest, DamagedFilesAreErrorsWithoutACrash) {
  const std::string emf = MakeEmf();
  constexpr std::int32_t kLow = INT32_MIN;
  constexpr std::int32_t kHigh = INT32_MAX;
  const std::string wmf = MakeWmf(0, 0, true);
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::green);
  const std::string png = folder_.File("obrazek.png");
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
  const std::string pngBytes = test::ReadBytes(png);
  const std::string bmp = folder_.File("cely.bmp");
  ASSERT_TRUE(image.save(QString::fromStdString(bmp), "BMP"));
  const std::string bmpBytes = test::ReadBytes(bmp);

  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"sum.bmp", Noise(400, 1)},
      {"sum.ico", Noise(400, 2)},
      {"sum.emf", Noise(400, 3)},
      {"sum.wmf", Noise(400, 4)},
      {"prazdny.bmp", ""},
      {"prazdny.emf", ""},
      {"prazdny.wmf", ""},
      {"png.bmp", pngBytes},  // another format under the name of a bitmap
      {"bmp.ico", bmpBytes},
      {"emf.wmf", emf},
      {"wmf.emf", wmf},
      {"pulka.bmp", bmpBytes.substr(0, 40)},
      {"hlavicka.emf", emf.substr(0, 60)},
      {"hlavicka.wmf", wmf.substr(0, 30)},
      {"bezkonce.emf", MakeEmf(false).substr(0, 100)},
      {"sumpohlavicce.emf", emf.substr(0, 88) + Noise(200, 5)},
      {"sumpohlavicce.wmf", wmf.substr(0, 40) + Noise(200, 6)},
      // Sides of 2^32 pixels: a size check that multiplied overflowed.
      {"obri.emf", WithEmfBox(emf, {kLow, kLow, kHigh, kHigh}, {0, 0, 0, 0})},
      {"obriramec.emf", WithEmfBox(emf, {0, 0, 99, 49}, {kLow, kLow, kHigh, kHigh})},
      // The file the pictures fuzz target found: its header's description (90
      // characters at offset 40) runs past the header and the file.
      {"popis.emf", std::string("\x01\x00\x00\x00\x58\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x63\x31\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x55\x0A\x00\x00\x2A\x05\x00\x00\x20\x45\x4D\x46\x00\x00\x01\x00"
                                "\x84\x00\x00\x00\x03\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00"
                                "\x5A\x00\x00\x00\x28\x00\x00\x00\x0E\x00\x00\x00\x14\x00\x00\x00"
                                "\x00\x00\x00\x00\x10\x00\x00\x00\x14\x00\x00\x00",
                                92)},
      // A record running past the end of the file.
      {"dlouhyzaznam.emf", emf.substr(0, 92) + std::string("\xFC\0\0\0", 4) + emf.substr(96)},
      // A header announcing a record of 3.6 GB in a file of 116 bytes.
      {"obrizaznam.wmf", wmf.substr(0, 34) + std::string("\x07\x00\x00\x6C", 4) + wmf.substr(38)},
  };
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
