#include "win32/WinApi.h"

#include "win32/Win32PictureDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Font.h"
#include "platform/WideText.h"

namespace korval::win32 {
namespace {

// Metafiles are measured at the resolution of the design surface.
constexpr double kPixelsPerInch = Font::kDesignPixelsPerInch;
// Pictures are held whole in memory; a larger one is a damaged header.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;
// No picture file of a label comes near this; a larger file is not read.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 28;

// Divided, not multiplied: a metafile's bounds of +-2^31 make sides whose
// product overflows any signed integer.
bool SizeUsable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels / width;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
      static_cast<std::uint64_t>(size.QuadPart) <= kMaxFileSize) {
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
        read == content.size())
      bytes = std::move(content);
  }
  CloseHandle(file);
  return bytes;
}

std::int32_t Int32At(std::string_view bytes, std::size_t offset) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
  return static_cast<std::int32_t>(v);
}

std::uint32_t UInt32At(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(Int32At(bytes, offset));
}

std::int16_t Int16At(std::string_view bytes, std::size_t offset) {
  const auto lo = static_cast<unsigned char>(bytes[offset]);
  const auto hi = static_cast<unsigned char>(bytes[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

std::uint16_t UInt16At(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(Int16At(bytes, offset));
}

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A 32-bit top-down bitmap to draw on, selected into a memory context.
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : count_(std::size_t(width) * std::size_t(height)) {
    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    if (bitmap_ != nullptr && dc_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (dc_ != nullptr) DeleteDC(dc_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Usable() const { return bits_ != nullptr && old_ != nullptr; }
  HDC Dc() const { return dc_; }
  // The pixels as 0x00RRGGBB, once GDI has finished drawing.
  std::vector<std::uint32_t> Pixels() const {
    GdiFlush();
    return std::vector<std::uint32_t>(bits_, bits_ + count_);
  }

 private:
  std::size_t count_;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// What paint draws, with its transparency. GDI keeps no alpha of its own
// while it draws, so the drawing is made twice, on black and on white: a
// pixel it leaves alone is black in one and white in the other, one it
// covers is the same in both, and one it blends (an icon's soft edge) lies
// in between by its opacity.
template <typename Paint>
std::optional<Picture> RenderTransparent(int width, int height, Paint paint) {
  MemoryBitmap onBlack(width, height);
  MemoryBitmap onWhite(width, height);
  if (!onBlack.Usable() || !onWhite.Usable()) return std::nullopt;
  PatBlt(onBlack.Dc(), 0, 0, width, height, BLACKNESS);
  PatBlt(onWhite.Dc(), 0, 0, width, height, WHITENESS);
  if (!paint(onBlack.Dc()) || !paint(onWhite.Dc())) return std::nullopt;
  const std::vector<std::uint32_t> black = onBlack.Pixels();
  const std::vector<std::uint32_t> white = onWhite.Pixels();
  Picture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.resize(black.size());
  for (std::size_t i = 0; i < black.size(); ++i) {
    int uncovered = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int b = int((black[i] >> shift) & 0xFF);
      const int w = int((white[i] >> shift) & 0xFF);
      uncovered = std::max(uncovered, std::clamp(w - b, 0, 255));
    }
    const std::uint32_t alpha = 255u - std::uint32_t(uncovered);
    if (alpha == 0) continue;  // transparent black, as the vector holds it
    std::uint32_t pixel = alpha << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
      const std::uint32_t b = (black[i] >> shift) & 0xFF;
      pixel |= std::min(255u, (b * 255 + alpha / 2) / alpha) << shift;
    }
    picture.Pixels[i] = pixel;
  }
  return picture;
}

// --- Bitmaps -------------------------------------------------------------

std::optional<Picture> DecodeBitmap(const std::wstring& path) {
  // The extension decides, as for every picture: only a file that starts as
  // a bitmap is handed to the loader.
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes || bytes->size() < 26 || bytes->compare(0, 2, "BM") != 0 ||
      UInt32At(*bytes, 10) >= bytes->size())
    return std::nullopt;
  const auto bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return std::nullopt;
  std::optional<Picture> result;
  BITMAP info{};
  if (GetObjectW(bitmap, sizeof info, &info) != 0 &&
      SizeUsable(info.bmWidth, std::abs(info.bmHeight))) {
    Picture picture;
    picture.Width = info.bmWidth;
    picture.Height = std::abs(info.bmHeight);
    picture.Pixels.resize(std::size_t(picture.Width) * std::size_t(picture.Height));
    BITMAPINFO format = TopDownInfo(picture.Width, picture.Height);
    const HDC dc = CreateCompatibleDC(nullptr);
    const int rows = dc != nullptr ? GetDIBits(dc, bitmap, 0, UINT(picture.Height),
                                               picture.Pixels.data(), &format, DIB_RGB_COLORS)
                                   : 0;
    if (dc != nullptr) DeleteDC(dc);
    if (rows == picture.Height) {
      // Bitmaps are opaque; the fourth byte of a 32-bit one is no alpha.
      for (std::uint32_t& p : picture.Pixels) p |= 0xFF000000u;
      result = std::move(picture);
    }
  }
  DeleteObject(bitmap);
  return result;
}

// --- Icons ---------------------------------------------------------------

// The icon directory: reserved 0, type 1, a count, then 16 bytes per image
// whose data must lie inside the file.
bool IconDirectoryUsable(std::string_view bytes) {
  if (bytes.size() < 6 || UInt16At(bytes, 0) != 0 || UInt16At(bytes, 2) != 1) return false;
  const std::size_t count = UInt16At(bytes, 4);
  if (count == 0 || bytes.size() < 6 + 16 * count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t size = UInt32At(bytes, 6 + 16 * i + 8);
    const std::uint64_t offset = UInt32At(bytes, 6 + 16 * i + 12);
    if (size == 0 || offset < 6 + 16 * count || offset + size > bytes.size()) return false;
  }
  return true;
}

std::optional<Picture> DecodeIcon(const std::wstring& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes || !IconDirectoryUsable(*bytes)) return std::nullopt;
  // Width and height 0: the size of the file's image, not the system's
  // icon size.
  const auto icon =
      static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  if (icon == nullptr) return std::nullopt;
  int width = 0;
  int height = 0;
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP bitmap{};
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
      width = bitmap.bmWidth;
      height = bitmap.bmHeight;
    } else if (info.hbmMask != nullptr && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap) != 0) {
      // A two-colour icon: its mask holds the AND and the XOR halves.
      width = bitmap.bmWidth;
      height = bitmap.bmHeight / 2;
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  }
  std::optional<Picture> picture;
  if (SizeUsable(width, height)) {
    picture = RenderTransparent(width, height, [&](HDC dc) {
      return DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL) != FALSE;
    });
  }
  DestroyIcon(icon);
  return picture;
}

// --- Metafiles -----------------------------------------------------------

// The header record: type 1, its size, bounds (device pixels, inclusive),
// frame (hundredths of a millimetre, inclusive), then the " EMF" signature.
constexpr std::size_t kEmfHeaderSize = 88;
constexpr std::int32_t kEmfSignature = 0x464D4520;

// Every record must lie inside the file and the last one end it; the
// header's description and pixel format must lie inside the header. Players
// read what the records point to on trust.
bool EmfRecordsUsable(std::string_view bytes) {
  if (bytes.size() < kEmfHeaderSize || Int32At(bytes, 0) != 1 ||
      Int32At(bytes, 40) != kEmfSignature)
    return false;
  const std::uint64_t size = bytes.size();
  const std::uint32_t headerSize = UInt32At(bytes, 4);
  if (headerSize < kEmfHeaderSize || headerSize > size) return false;
  const auto inHeader = [&](std::size_t countAt, std::size_t offsetAt, std::uint64_t unit) {
    if (headerSize < offsetAt + 4) return true;  // an older, shorter header
    const std::uint64_t count = UInt32At(bytes, countAt);
    const std::uint64_t offset = UInt32At(bytes, offsetAt);
    return count == 0 || (offset >= kEmfHeaderSize && offset + count * unit <= headerSize);
  };
  if (!inHeader(60, 64, 2) || !inHeader(88, 92, 1)) return false;  // description, pixel format
  std::uint64_t at = 0;
  while (at + 8 <= size) {
    const std::uint32_t type = UInt32At(bytes, std::size_t(at));
    const std::uint32_t length = UInt32At(bytes, std::size_t(at) + 4);
    if (length < 8 || length % 4 != 0 || at + length > size) return false;
    if (type == 14) return true;  // end of file
    at += length;
  }
  return false;
}

// The picture's size at the design surface's resolution: its frame, or
// where a writer left the frame empty, its bounds.
std::pair<std::int64_t, std::int64_t> EmfSize(const ENHMETAHEADER& header) {
  const double frameWidth = double(header.rclFrame.right) - header.rclFrame.left;
  const double frameHeight = double(header.rclFrame.bottom) - header.rclFrame.top;
  std::int64_t width = std::llround(frameWidth * kPixelsPerInch / 2540.0);
  std::int64_t height = std::llround(frameHeight * kPixelsPerInch / 2540.0);
  if (width <= 0 || height <= 0) {
    width = std::int64_t{header.rclBounds.right} - header.rclBounds.left + 1;
    height = std::int64_t{header.rclBounds.bottom} - header.rclBounds.top + 1;
  }
  return {width, height};
}

std::optional<Picture> PlayAtSize(HENHMETAFILE metafile, std::int64_t width, std::int64_t height) {
  if (!SizeUsable(width, height)) return std::nullopt;
  const RECT frame{0, 0, LONG(width), LONG(height)};
  // A record the player cannot play leaves out that record, not the picture.
  return RenderTransparent(int(width), int(height), [&](HDC dc) {
    PlayEnhMetaFile(dc, metafile, &frame);
    return true;
  });
}

std::optional<Picture> DecodeEmf(const std::wstring& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes || !EmfRecordsUsable(*bytes)) return std::nullopt;
  const HENHMETAFILE metafile =
      SetEnhMetaFileBits(UINT(bytes->size()), reinterpret_cast<const BYTE*>(bytes->data()));
  if (metafile == nullptr) return std::nullopt;
  std::optional<Picture> picture;
  ENHMETAHEADER header{};
  if (GetEnhMetaFileHeader(metafile, sizeof header, &header) != 0) {
    const auto [width, height] = EmfSize(header);
    picture = PlayAtSize(metafile, width, height);
  }
  DeleteEnhMetaFile(metafile);
  return picture;
}

// The placeable header in front of most metafile files: key, handle,
// bounding box in logical units, logical units per inch, checksum.
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
// The metafile's own header: type, header size in words, version, size in
// words, objects, largest record in words, unused.
constexpr std::size_t kWmfHeaderSize = 18;

struct PlaceableHeader {
  int Left, Top, Right, Bottom, Inch;
};

std::optional<PlaceableHeader> ReadPlaceableHeader(std::string_view bytes) {
  if (bytes.size() < kPlaceableHeaderSize || UInt32At(bytes, 0) != kPlaceableKey)
    return std::nullopt;
  PlaceableHeader header{Int16At(bytes, 6), Int16At(bytes, 8), Int16At(bytes, 10),
                         Int16At(bytes, 12), UInt16At(bytes, 14)};
  if (header.Inch == 0 || header.Right <= header.Left || header.Bottom <= header.Top)
    return std::nullopt;
  return header;
}

// The header as a player trusts it, and records that lead whole to the end
// record: a record cut short or sized past the file is damage that GDI would
// play as whatever the bytes happen to say.
bool WmfHeaderUsable(std::string_view metafile) {
  if (metafile.size() < kWmfHeaderSize) return false;
  const std::uint16_t type = UInt16At(metafile, 0);
  const std::uint16_t headerWords = UInt16At(metafile, 2);
  const std::uint64_t largestRecordWords = UInt32At(metafile, 12);
  if (!(type == 1 || type == 2) || headerWords != 9 || largestRecordWords * 2 > metafile.size())
    return false;
  std::size_t at = kWmfHeaderSize;
  while (at + 6 <= metafile.size()) {
    const std::uint32_t words = UInt32At(metafile, at);
    if (words < 3 || words > (metafile.size() - at) / 2) return false;
    if (UInt16At(metafile, at + 4) == 0x0000) return words == 3;
    at += std::size_t{words} * 2;
  }
  return false;
}

// The records of a metafile behind a placeable header, led by a window
// origin and extent that make the header's box the picture. Writers that
// set their own window override these; the ones that draw in the box's
// coordinates without saying so are placed right by them.
std::string WithBoxWindow(std::string_view metafile, const PlaceableHeader& box) {
  std::string records(metafile.substr(0, kWmfHeaderSize));
  const auto word = [&records](int value) {
    records.push_back(char(value & 0xFF));
    records.push_back(char((value >> 8) & 0xFF));
  };
  constexpr int kRecordWords = 5;
  for (const auto& [function, y, x] :
       {std::tuple{0x020B, box.Top, box.Left},
        std::tuple{0x020C, box.Bottom - box.Top, box.Right - box.Left}}) {
    word(kRecordWords);
    word(0);
    word(function);
    word(y);
    word(x);
  }
  records += metafile.substr(kWmfHeaderSize);
  // The header's size in words and largest record follow.
  const std::uint32_t words = std::uint32_t(records.size() / 2);
  const std::uint32_t largest = std::max<std::uint32_t>(UInt32At(metafile, 12), kRecordWords);
  for (int i = 0; i < 4; ++i) {
    records[6 + std::size_t(i)] = char((words >> (8 * i)) & 0xFF);
    records[12 + std::size_t(i)] = char((largest >> (8 * i)) & 0xFF);
  }
  return records;
}

// The extent of the first window the records set, while the records can be
// walked.
std::optional<std::pair<int, int>> WindowExtent(std::string_view metafile) {
  std::size_t at = std::size_t{UInt16At(metafile, 2)} * 2;
  while (at + 6 <= metafile.size()) {
    const std::uint32_t words = UInt32At(metafile, at);
    const std::uint16_t function = UInt16At(metafile, at + 4);
    if (function == 0x0000 || words < 3 || words > (metafile.size() - at) / 2) break;
    if (function == 0x020C && words >= 5) {
      const int y = Int16At(metafile, at + 6);
      const int x = Int16At(metafile, at + 8);
      if (x > 0 && y > 0) return std::pair{x, y};
      break;
    }
    at += std::size_t{words} * 2;
  }
  return std::nullopt;
}

std::optional<Picture> DecodeWmf(const std::wstring& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  const bool placeable = bytes->size() >= 4 && UInt32At(*bytes, 0) == kPlaceableKey;
  const std::string_view metafile = std::string_view(*bytes).substr(
      placeable ? std::min(bytes->size(), kPlaceableHeaderSize) : 0);
  if (!WmfHeaderUsable(metafile)) return std::nullopt;

  HENHMETAFILE converted = nullptr;
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (placeable) {
    const std::optional<PlaceableHeader> box = ReadPlaceableHeader(*bytes);
    if (!box) return std::nullopt;
    // The picture is the header's box, margins included, not just what is
    // drawn in it.
    const int boxWidth = box->Right - box->Left;
    const int boxHeight = box->Bottom - box->Top;
    width = std::lround(boxWidth * kPixelsPerInch / box->Inch);
    height = std::lround(boxHeight * kPixelsPerInch / box->Inch);
    METAFILEPICT picture{};
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(boxWidth, 2540, box->Inch);  // hundredths of a millimetre
    picture.yExt = MulDiv(boxHeight, 2540, box->Inch);
    const std::string records = WithBoxWindow(metafile, *box);
    converted = SetWinMetaFileBits(
        UINT(records.size()), reinterpret_cast<const BYTE*>(records.data()), nullptr, &picture);
  } else if (const std::optional<std::pair<int, int>> extent = WindowExtent(metafile)) {
    // Without a box the window the records set is the picture, one logical
    // unit to a pixel.
    width = extent->first;
    height = extent->second;
    METAFILEPICT picture{};
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(extent->first, 2540, int(kPixelsPerInch));
    picture.yExt = MulDiv(extent->second, 2540, int(kPixelsPerInch));
    converted = SetWinMetaFileBits(
        UINT(metafile.size()), reinterpret_cast<const BYTE*>(metafile.data()), nullptr, &picture);
  } else {
    // Neither box nor window: the player's idea of the frame.
    converted = SetWinMetaFileBits(
        UINT(metafile.size()), reinterpret_cast<const BYTE*>(metafile.data()), nullptr, nullptr);
    ENHMETAHEADER header{};
    if (converted != nullptr && GetEnhMetaFileHeader(converted, sizeof header, &header) != 0)
      std::tie(width, height) = EmfSize(header);
  }
  if (converted == nullptr) return std::nullopt;
  std::optional<Picture> picture = PlayAtSize(converted, width, height);
  DeleteEnhMetaFile(converted);
  return picture;
}

}  // namespace

std::optional<Picture> Win32PictureDecoder::Decode(const std::string& path,
                                                   std::string_view extensionLower) {
  const std::wstring widePath = WideFromUtf8(path);
  if (extensionLower == "bmp") return DecodeBitmap(widePath);
  if (extensionLower == "ico") return DecodeIcon(widePath);
  if (extensionLower == "emf") return DecodeEmf(widePath);
  if (extensionLower == "wmf") return DecodeWmf(widePath);
  return std::nullopt;
}

void InstallPictureDecoder() {
  static Win32PictureDecoder decoder;
  SetPictureDecoder(&decoder);
}

}  // namespace korval::win32
