#include "qt/QtPictureDecoder.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "qt/QtApplication.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/font.h>
#include <libwmf/gd.h>
#include <algorithm>

namespace korval::qt {
namespace {

// Metafiles are measured at the resolution of the design surface.
constexpr double kPixelsPerInch = 96.0;
// Pictures are held whole in memory; a larger one is a damaged header.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

// Divided, not multiplied: a metafile's bounds of +-2^31 make sides whose
// product overflows any signed integer.
bool SizeUsable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels / width;
}

std::optional<QByteArray> ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (bytes.isEmpty()) return std::nullopt;
  return bytes;
}

std::int32_t Int32At(const QByteArray& bytes, qsizetype offset) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<qsizetype>(i)]);
  return static_cast<std::int32_t>(v);
}

std::int16_t Int16At(const QByteArray& bytes, qsizetype offset) {
  const auto lo = static_cast<unsigned char>(bytes[offset]);
  const auto hi = static_cast<unsigned char>(bytes[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

// --- Bitmaps and icons ---------------------------------------------------

std::optional<Picture> DecodeRaster(const std::string& path, const char* format) {
  QImageReader reader(QString::fromStdString(path), format);
  // The extension decides, as it does for every other picture: a PNG named
  // ".bmp" is a damaged bitmap.
  reader.setDecideFormatFromContent(false);
  const QImage image = reader.read();
  if (image.isNull() || !SizeUsable(image.width(), image.height())) return std::nullopt;
  return PictureFromImage(image);
}

// --- Enhanced metafiles --------------------------------------------------

// The header record: type 1, its size, bounds (device pixels, inclusive),
// frame (hundredths of a millimetre, inclusive), then the " EMF" signature.
constexpr qsizetype kEmfHeaderSize = 88;
constexpr std::int32_t kEmfSignature = 0x464D4520;

// libemf2svg reads what the records point to without checking that it lies
// inside them; so every record must lie inside the file, and the header's
// description and pixel format inside the header.
bool EmfRecordsUsable(const QByteArray& bytes) {
  const auto size = static_cast<std::uint64_t>(bytes.size());
  const auto headerSize = static_cast<std::uint32_t>(Int32At(bytes, 4));
  if (headerSize < kEmfHeaderSize || headerSize > size) return false;
  const auto inHeader = [&](qsizetype countAt, qsizetype offsetAt, std::uint64_t unit) {
    if (headerSize < offsetAt + 4) return true;  // an older, shorter header
    const auto count = static_cast<std::uint32_t>(Int32At(bytes, countAt));
    const auto offset = static_cast<std::uint32_t>(Int32At(bytes, offsetAt));
    return count == 0 || (offset >= kEmfHeaderSize && offset + count * unit <= headerSize);
  };
  if (!inHeader(60, 64, 2) || !inHeader(88, 92, 1)) return false;  // description, pixel format
  std::uint64_t at = 0;
  while (at + 8 <= size) {
    const auto type = static_cast<std::uint32_t>(Int32At(bytes, qsizetype(at)));
    const auto length = static_cast<std::uint32_t>(Int32At(bytes, qsizetype(at) + 4));
    if (length < 8 || length % 4 != 0 || at + length > size) return false;
    if (type == 14) return true;  // end of file
    at += length;
  }
  return false;
}

std::optional<Picture> DecodeEmf(const std::string& path) {
  std::optional<QByteArray> bytes = ReadFile(path);
  if (!bytes || bytes->size() < kEmfHeaderSize || Int32At(*bytes, 0) != 1 ||
      Int32At(*bytes, 40) != kEmfSignature || !EmfRecordsUsable(*bytes))
    return std::nullopt;
  // The picture's own size is its frame at screen resolution; a writer that
  // left the frame empty still gave the bounds.
  const double frameWidth = double(Int32At(*bytes, 32)) - Int32At(*bytes, 24);
  const double frameHeight = double(Int32At(*bytes, 36)) - Int32At(*bytes, 28);
  std::int64_t width = std::llround(frameWidth * kPixelsPerInch / 2540.0);
  std::int64_t height = std::llround(frameHeight * kPixelsPerInch / 2540.0);
  if (width <= 0 || height <= 0) {
    width = std::int64_t{Int32At(*bytes, 16)} - Int32At(*bytes, 8) + 1;
    height = std::int64_t{Int32At(*bytes, 20)} - Int32At(*bytes, 12) + 1;
  }

  // A header without a description may still point somewhere with its
  // offset, which the format says to ignore; libemf2svg then reads a string
  // there up to its end, past the file's.
  if (Int32At(*bytes, 60) == 0 && Int32At(*bytes, 4) >= 68) {
    bytes->replace(64, 4, QByteArray(4, '\0'));
  }

  generatorOptions options{};
  options.nameSpace = nullptr;  // plain SVG element names
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  char* svg = nullptr;
  std::size_t svgLength = 0;
  const int converted =
      emf2svg(bytes->data(), static_cast<std::size_t>(bytes->size()), &svg, &svgLength, &options);
  const QByteArray svgText = svg != nullptr ? QByteArray(svg, qsizetype(svgLength)) : QByteArray();
  std::free(svg);
  if (converted == 0 || svgText.isEmpty()) return std::nullopt;

  QSvgRenderer renderer(svgText);
  if (!renderer.isValid()) return std::nullopt;
  if (width <= 0 || height <= 0) {
    width = renderer.defaultSize().width();
    height = renderer.defaultSize().height();
  }
  if (!SizeUsable(width, height)) return std::nullopt;
  QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, double(width), double(height)));
  painter.end();
  return PictureFromImage(image);
}

// --- Windows metafiles ---------------------------------------------------

// The placeable header in front of most metafile files: key, handle,
// bounding box in logical units, logical units per inch, checksum.
constexpr qsizetype kPlaceableHeaderSize = 22;
constexpr std::int32_t kPlaceableKey = static_cast<std::int32_t>(0x9AC6CDD7u);

struct PlaceableHeader {
  int Left, Top, Right, Bottom, Inch;
};

std::optional<PlaceableHeader> ReadPlaceableHeader(const QByteArray& bytes) {
  if (bytes.size() < kPlaceableHeaderSize || Int32At(bytes, 0) != kPlaceableKey)
    return std::nullopt;
  PlaceableHeader header{Int16At(bytes, 6), Int16At(bytes, 8), Int16At(bytes, 10),
                         Int16At(bytes, 12), static_cast<std::uint16_t>(Int16At(bytes, 14))};
  if (header.Inch == 0 || header.Right <= header.Left || header.Bottom <= header.Top)
    return std::nullopt;
  return header;
}

// The metafile header (after the placeable one) as libwmf trusts it: it sizes
// its record buffer by the largest record the header announces, so a header
// of a few bytes could make it allocate gigabytes. No record can be larger
// than the file that holds it.
bool WmfHeaderUsable(const QByteArray& bytes) {
  const qsizetype at =
      bytes.size() >= 4 && Int32At(bytes, 0) == kPlaceableKey ? kPlaceableHeaderSize : 0;
  if (bytes.size() < at + 18) return false;
  const auto type = static_cast<std::uint16_t>(Int16At(bytes, at));
  const auto headerWords = static_cast<std::uint16_t>(Int16At(bytes, at + 2));
  const auto largestRecordWords = static_cast<std::uint32_t>(Int32At(bytes, at + 12));
  if (!(type == 1 || type == 2) || headerWords != 9 ||
      std::uint64_t{largestRecordWords} * 2 > static_cast<std::uint64_t>(bytes.size() - at))
    return false;
  // The records must lead whole to the end record, which has three words:
  // libwmf plays on past a broken one and crashes in its text drawing.
  qsizetype record = at + 18;
  while (record + 6 <= bytes.size()) {
    const auto words = static_cast<std::uint32_t>(Int32At(bytes, record));
    if (words < 3 || words > std::uint32_t(bytes.size() - record) / 2) return false;
    if (Int16At(bytes, record + 4) == 0x0000) return words == 3;
    record += qsizetype(words) * 2;
  }
  return false;
}

// Whether any record of the metafile writes text. Only text needs libwmf's
// fonts; when none is drawn, the decoder must work on a machine without
// them. A file whose records cannot be walked counts as drawing text, so
// libwmf decides about it with its fonts as ever.
bool WmfDrawsText(const QByteArray& bytes) {
  qsizetype at = bytes.size() >= 4 && Int32At(bytes, 0) == kPlaceableKey ? kPlaceableHeaderSize : 0;
  if (bytes.size() < at + 18) return true;
  const auto headerWords = static_cast<std::uint16_t>(Int16At(bytes, at + 2));
  at += qsizetype{headerWords} * 2;
  while (at + 6 <= bytes.size()) {
    const auto words = static_cast<std::uint32_t>(Int32At(bytes, at));
    const auto function = static_cast<std::uint16_t>(Int16At(bytes, at + 4));
    if (function == 0x0000) return false;                                             // end of file
    if (function == 0x0521 || function == 0x0A32 || function == 0x062F) return true;  // text
    if (words < 3 || words > std::uint32_t(bytes.size() - at) / 2) return true;
    at += qsizetype(words) * 2;
  }
  return true;
}

// Stands in for libwmf's font lookup when nothing is written: the player
// still selects a font into every device context, and without the font
// files the lookup fails the whole picture.
void MapNoFont(wmfAPI*, wmfFont*) {}

// libwmf is a C library that hands out one API object per picture; this
// makes sure it is destroyed on every way out.
class WmfSession {
 public:
  WmfSession() {
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api_, flags, &options) != wmf_E_None) {
      if (api_ != nullptr) wmf_api_destroy(api_);
      api_ = nullptr;
    }
  }
  ~WmfSession() {
    if (api_ == nullptr) return;
    if (open_) wmf_mem_close(api_);
    wmf_api_destroy(api_);
  }
  WmfSession(const WmfSession&) = delete;
  WmfSession& operator=(const WmfSession&) = delete;

  wmfAPI* Api() const { return api_; }
  bool Open(QByteArray& bytes) {
    open_ = wmf_mem_open(api_, reinterpret_cast<unsigned char*>(bytes.data()),
                         static_cast<long>(bytes.size())) == wmf_E_None;
    return open_;
  }

 private:
  wmfAPI* api_ = nullptr;
  bool open_ = false;
};

// libwmf hands the finished PNG to this, piece by piece.
int CollectPng(void* context, char* buffer, int length) {
  static_cast<QByteArray*>(context)->append(buffer, length);
  return length;
}

std::optional<Picture> DecodeWmf(const std::string& path) {
  std::optional<QByteArray> bytes = ReadFile(path);
  if (!bytes || !WmfHeaderUsable(*bytes)) return std::nullopt;
  // A placeable header whose box is empty or turned over is damage: libwmf
  // reads the box itself and crashes drawing text into it.
  if (Int32At(*bytes, 0) == kPlaceableKey && !ReadPlaceableHeader(*bytes)) return std::nullopt;
  WmfSession session;
  if (session.Api() == nullptr || !session.Open(*bytes)) return std::nullopt;
  wmfAPI* api = session.Api();
  if (!WmfDrawsText(*bytes)) wmf_ipa_font_map_set(api, MapNoFont);
  wmfD_Rect drawn;  // what the records draw, in points from the window origin
  if (wmf_scan(api, 0, &drawn) != wmf_E_None) return std::nullopt;

  wmfD_Rect frame = drawn;
  unsigned int width = 0;
  unsigned int height = 0;
  if (const std::optional<PlaceableHeader> header = ReadPlaceableHeader(*bytes)) {
    // The picture is the header's box, margins included, not just what is
    // drawn in it. Most writers put the window origin at the box's corner;
    // some draw in the box's own coordinates and leave the origin at 0.
    const double scale = 72.0 / header->Inch;
    const double boxWidth = (header->Right - header->Left) * scale;
    const double boxHeight = (header->Bottom - header->Top) * scale;
    const auto originFor = [](double drawnFrom, double drawnTo, double boxFrom, double size) {
      constexpr double kSlack = 1.0;
      if (drawnFrom >= -kSlack && drawnTo <= size + kSlack) return 0.0;
      if (drawnFrom >= boxFrom - kSlack && drawnTo <= boxFrom + size + kSlack) return boxFrom;
      return 0.0;
    };
    frame.TL.x = float(originFor(drawn.TL.x, drawn.BR.x, header->Left * scale, boxWidth));
    frame.TL.y = float(originFor(drawn.TL.y, drawn.BR.y, header->Top * scale, boxHeight));
    frame.BR.x = float(frame.TL.x + boxWidth);
    frame.BR.y = float(frame.TL.y + boxHeight);
    width = static_cast<unsigned>(
        std::lround((header->Right - header->Left) * kPixelsPerInch / header->Inch));
    height = static_cast<unsigned>(
        std::lround((header->Bottom - header->Top) * kPixelsPerInch / header->Inch));
  } else if (wmf_display_size(api, &width, &height, kPixelsPerInch, kPixelsPerInch) != wmf_E_None) {
    return std::nullopt;
  }
  if (!SizeUsable(width, height) || !(frame.BR.x > frame.TL.x) || !(frame.BR.y > frame.TL.y))
    return std::nullopt;

  // The gd device renders into a PNG image that is handed out through the
  // sink: the image it would otherwise return can only be freed from inside
  // libwmf, so that way each picture would leak its pixels.
  wmf_gd_t* device = WMF_GD_GetData(api);
  if ((device->flags & WMF_GD_SUPPORTS_PNG) == 0) return std::nullopt;
  QByteArray png;
  device->type = wmf_gd_png;
  device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
  device->sink.context = &png;
  device->sink.function = CollectPng;
  device->width = width;
  device->height = height;
  device->bbox = frame;
  if (wmf_play(api, 0, &frame) != wmf_E_None || png.isEmpty()) return std::nullopt;
  const QImage image = QImage::fromData(png, "PNG");
  if (image.isNull() || image.width() != int(width) || image.height() != int(height))
    return std::nullopt;
  return PictureFromImage(image);
}

}  // namespace

Picture PictureFromImage(const QImage& image) {
  Picture picture;
  if (image.isNull()) return picture;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  picture.Width = argb.width();
  picture.Height = argb.height();
  picture.Pixels.resize(std::size_t(picture.Width) * std::size_t(picture.Height));
  for (int y = 0; y < picture.Height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(argb.constScanLine(y));
    std::copy(row, row + picture.Width,
              picture.Pixels.begin() + std::ptrdiff_t(y) * std::ptrdiff_t(picture.Width));
  }
  return picture;
}

std::optional<Picture> QtPictureDecoder::Decode(const std::string& path,
                                                std::string_view extensionLower) {
  EnsureApplication();  // image plug-ins and the font database live in it
  if (extensionLower == "bmp") return DecodeRaster(path, "bmp");
  if (extensionLower == "ico") return DecodeRaster(path, "ico");
  if (extensionLower == "emf") return DecodeEmf(path);
  if (extensionLower == "wmf") return DecodeWmf(path);
  return std::nullopt;
}

void InstallPictureDecoder() {
  static QtPictureDecoder decoder;
  SetPictureDecoder(&decoder);
}

}  // namespace korval::qt
