#pragma once

// Picture files written byte by byte after the published layouts, for the
// tests of both backends' picture decoders: the same bytes go through Qt's
// decoder on Linux and GDI's under Wine, so a difference between the two is
// the decoders' and not the test files'.

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Picture.h"

namespace korval::test {

inline constexpr std::uint32_t kRed = 0xFFFF0000u;
inline constexpr std::uint32_t kBlue = 0xFF0000FFu;

// Little-endian fields appended in order, as the file formats store them.
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
// brush selected, one rectangle (10, 10)-(90, 40), the end record. Without
// the end record the header counts one record less and is that much shorter.
inline std::string MakeEmf(bool withEnd = true) {
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
inline std::string MakeWmf(int boxLeft, int boxTop, bool setWindow) {
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

inline std::uint32_t At(const Picture& picture, int x, int y) {
  return picture.Pixels.at(static_cast<std::size_t>(y * picture.Width + x));
}

// Near red rather than exactly red: each backend renders metafiles with its
// own drawing code, whose colours and edges need not match to the bit.
inline bool IsRed(std::uint32_t pixel) {
  const int a = int(pixel >> 24), r = int((pixel >> 16) & 0xFF), g = int((pixel >> 8) & 0xFF),
            b = int(pixel & 0xFF);
  return a > 200 && r > 200 && g < 60 && b < 60;
}

// Deterministic noise, so that a failure can be reproduced.
inline std::string Noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = char(seed >> 24);
  }
  return bytes;
}

// Damaged picture files (name, bytes) that every decoder must refuse with an
// error rather than crash on or decode into garbage. bmp is a whole, valid
// bitmap file: each backend writes its own.
// The metafile with its bounds and frame (left, top, right, bottom) replaced.
inline std::string WithEmfBox(std::string emf, const std::array<std::int32_t, 4>& bounds,
                              const std::array<std::int32_t, 4>& frame) {
  std::memcpy(emf.data() + 8, bounds.data(), sizeof bounds);
  std::memcpy(emf.data() + 24, frame.data(), sizeof frame);
  return emf;
}

inline std::vector<std::pair<std::string, std::string>> DamagedPictureFiles(
    const std::string& bmp) {
  const std::string emf = MakeEmf();
  const std::string wmf = MakeWmf(0, 0, true);
  constexpr std::int32_t kLow = INT32_MIN;
  constexpr std::int32_t kHigh = INT32_MAX;
  return {
      {"sum.bmp", Noise(400, 1)},
      {"sum.ico", Noise(400, 2)},
      {"sum.emf", Noise(400, 3)},
      {"sum.wmf", Noise(400, 4)},
      {"prazdny.bmp", ""},
      {"prazdny.emf", ""},
      {"prazdny.wmf", ""},
      {"bmp.ico", bmp},  // another format under the name of an icon
      {"emf.wmf", emf},
      {"wmf.emf", wmf},
      {"pulka.bmp", bmp.substr(0, 40)},
      {"hlavicka.emf", emf.substr(0, 60)},
      {"hlavicka.wmf", wmf.substr(0, 30)},
      {"sumpohlavicce.emf", emf.substr(0, 88) + Noise(200, 5)},
      // A record running past the end of the file.
      {"dlouhyzaznam.emf", emf.substr(0, 92) + std::string("\xFC\0\0\0", 4) + emf.substr(96)},
      // A header announcing a record of 3.6 GB in a file of 116 bytes.
      {"obrizaznam.wmf", wmf.substr(0, 34) + std::string("\x07\x00\x00\x6C", 4) + wmf.substr(38)},
      {"sumpohlavicce.wmf", wmf.substr(0, 40) + Noise(200, 6)},
      // The placeable box turned over (left 0x3F00 beyond right 100), as the
      // fuzz target gave it with a text record that libwmf then crashed on.
      {"obracenyramec.wmf", wmf.substr(0, 6) + std::string("\x00\x3F", 2) + wmf.substr(8)},
      // The brush record's function worn away to the end record's, its size
      // left at seven words: libwmf played on past it (found by the fuzz
      // target).
      {"kratkykonec.wmf", wmf.substr(0, 64) + std::string("\0\0", 2) + wmf.substr(66)},
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
  };
}

// What every decoder must make of MakeEmf(): the red rectangle at its place
// in the 100 x 50 picture, nothing beside it.
inline void ExpectEmfRectangle(const Picture& picture) {
  ASSERT_EQ(picture.Width, 100);
  ASSERT_EQ(picture.Height, 50);
  EXPECT_TRUE(IsRed(At(picture, 50, 25)));
  EXPECT_TRUE(IsRed(At(picture, 13, 13)));
  EXPECT_TRUE(IsRed(At(picture, 86, 36)));
  EXPECT_FALSE(IsRed(At(picture, 5, 25)));
  EXPECT_FALSE(IsRed(At(picture, 95, 25)));
}

// The same of MakeWmf(), whichever box and window it was made with.
inline void ExpectWmfRectangle(const Picture& picture) {
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

}  // namespace korval::test
