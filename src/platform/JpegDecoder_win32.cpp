// JPEG pictures through the Windows Imaging Component, which every Windows
// since XP SP3 carries: the cross toolchain has no libjpeg, and the system's
// decoder handles what the system's own viewers open (CMYK included).
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/PictureDecoder.h"
#include "platform/WideText.h"

namespace korval {
namespace {

// Holds one reference to a COM object.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (object_ != nullptr) object_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* operator->() const { return object_; }
  T* Get() const { return object_; }
  // For the functions that hand out a new reference.
  T** Out() { return &object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  T* object_ = nullptr;
};

// COM for the calling thread while decoding. The host may have initialised
// COM on this thread already: in the same apartment kind (S_FALSE, which
// must be balanced too) or in the other one (RPC_E_CHANGED_MODE), where COM
// is usable as it is and must not be uninitialised by this code.
class ComApartment {
 public:
  ComApartment() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    usable_ = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    initialised_ = SUCCEEDED(result);
  }
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  bool Usable() const { return usable_; }

 private:
  bool usable_ = false;
  bool initialised_ = false;
};

// A picture is held whole in memory: anything larger than this is a damaged
// header, not a label picture.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

// Every JPEG file starts with the start-of-image marker and a further
// marker. The system decoder would take any format it knows; a file named
// ".jpg" that holds something else is no JPEG.
bool StartsAsJpeg(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char start[3] = {};
  DWORD read = 0;
  const bool ok = ::GetFileType(file) == FILE_TYPE_DISK &&
                  ::ReadFile(file, start, sizeof start, &read, nullptr) && read == sizeof start;
  ::CloseHandle(file);
  return ok && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

bool Decode(const std::wstring& path, Picture& out) {
  ComRef<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.OutVoid())))
    return false;
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return false;
  GUID container{};
  if (FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatJpeg)
    return false;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
      std::uint64_t{width} * height > kMaxPixels)
    return false;
  // Grey, RGB and CMYK pictures alike come out as bytes B, G, R, A: on a
  // little-endian machine, the 0xAARRGGBB of a Picture's pixel.
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  Picture picture;
  picture.Width = static_cast<int>(width);
  picture.Height = static_cast<int>(height);
  picture.Pixels.assign(std::size_t{width} * height, 0);
  const UINT stride = width * 4;
  // Decoding happens here; damaged or cut data fails it.
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                   reinterpret_cast<BYTE*>(picture.Pixels.data()))))
    return false;
  // A JPEG has no transparency.
  for (std::uint32_t& pixel : picture.Pixels) pixel |= 0xFF000000u;
  out = std::move(picture);
  return true;
}

}  // namespace

std::optional<Picture> DecodeJpegFile(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  if (wide.empty() || !StartsAsJpeg(wide)) return std::nullopt;
  const ComApartment com;
  if (!com.Usable()) return std::nullopt;
  Picture picture;
  if (!Decode(wide, picture)) return std::nullopt;
  return picture;
}

}  // namespace korval
