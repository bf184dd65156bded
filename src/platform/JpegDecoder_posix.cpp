// JPEG pictures through libjpeg. The Windows cross toolchain carries no
// libjpeg headers, so the Windows build brings this function its own way.
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <fstream>
#include <iterator>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/PictureDecoder.h"

namespace korval {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return; it jumps back to the decoding function instead. Warnings are kept
// quiet, except that data ending before the image does marks the picture as
// damaged (libjpeg would otherwise fill the rest with grey).
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  if (level < 0) {
    ++manager->base.num_warnings;
    if (manager->base.msg_code == JWRN_JPEG_EOF) manager->truncated = true;
  }
}

void OutputMessage(j_common_ptr) {}

// A picture is held whole in memory: anything larger than this is a damaged
// header, not a label picture.
constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

std::uint32_t Opaque(unsigned r, unsigned g, unsigned b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Only plain data crosses the jump: the pixels live in the caller's Picture,
// which is valid whether decoding ends normally or by longjmp.
bool Decode(const unsigned char* data, unsigned long size, Picture& out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.emit_message = EmitMessage;
  errors.base.output_message = OutputMessage;
  errors.truncated = false;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  // The size comes from the header, before anything is decoded: a progressive
  // picture is decompressed whole at the start, so a header that claims
  // 30000 x 30000 would cost gigabytes before any later check.
  if (info.image_width == 0 || info.image_height == 0 ||
      static_cast<std::size_t>(info.image_width) * info.image_height > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // CMYK stays CMYK (libjpeg converts it to nothing else); everything else
  // comes out as RGB, grey included.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  // Adobe writes CMYK inverted; its marker says so.
  const bool inverted = cmyk && info.saw_Adobe_marker;
  jpeg_start_decompress(&info);
  const JDIMENSION width = info.output_width;
  const JDIMENSION height = info.output_height;
  const int components = info.output_components;
  if (width == 0 || height == 0 || static_cast<std::size_t>(width) * height > kMaxPixels ||
      components != (cmyk ? 4 : 3)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  out.Width = static_cast<int>(width);
  out.Height = static_cast<int>(height);
  out.Pixels.assign(static_cast<std::size_t>(width) * height, 0xFFFFFFFFu);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             width * static_cast<JDIMENSION>(components), 1);
  while (info.output_scanline < height) {
    const JDIMENSION y = info.output_scanline;
    if (jpeg_read_scanlines(&info, row, 1) != 1) break;
    std::uint32_t* target = out.Pixels.data() + static_cast<std::size_t>(y) * width;
    const JSAMPLE* source = row[0];
    for (JDIMENSION x = 0; x < width; ++x, source += components) {
      if (!cmyk) {
        target[x] = Opaque(source[0], source[1], source[2]);
      } else {
        unsigned c = source[0], m = source[1], ye = source[2], k = source[3];
        if (!inverted) {
          c = 255 - c;
          m = 255 - m;
          ye = 255 - ye;
          k = 255 - k;
        }
        // Inverted CMYK: each value is already "amount of white".
        target[x] = Opaque(c * k / 255, m * k / 255, ye * k / 255);
      }
    }
  }
  const bool complete = info.output_scanline == height;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return complete && !errors.truncated;
}

}  // namespace

std::optional<Picture> DecodeJpegFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  if (in.bad() || bytes.empty()) return std::nullopt;
  Picture picture;
  if (!Decode(bytes.data(), static_cast<unsigned long>(bytes.size()), picture)) return std::nullopt;
  return picture;
}

}  // namespace korval
