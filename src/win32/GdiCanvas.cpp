#include "win32/WinApi.h"

#include "win32/GdiCanvas.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WideText.h"

namespace korval::win32 {
namespace {

COLORREF ToColorRef(Color color) {
  // A plain colour is stored as a COLORREF already: 0x00BBGGRR.
  return static_cast<COLORREF>(ResolveColor(color)) & 0x00FFFFFFu;
}

RECT ToRECT(const Rect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

// An object selected into the context for the length of a scope; the one it
// replaced goes back in, so that the object can be deleted afterwards.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A GDI object made for one drawing call, deleted after it (and after the
// Selection that held it, which is declared later and so ends first).
class Owned {
 public:
  explicit Owned(HGDIOBJ object) : object_(object) {}
  ~Owned() {
    if (object_ != nullptr) DeleteObject(object_);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  HGDIOBJ Get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// The background mode for one call, put back after it.
class BackgroundMode {
 public:
  BackgroundMode(HDC dc, int mode) : dc_(dc), old_(SetBkMode(dc, mode)) {}
  ~BackgroundMode() {
    if (old_ != 0) SetBkMode(dc_, old_);
  }
  BackgroundMode(const BackgroundMode&) = delete;
  BackgroundMode& operator=(const BackgroundMode&) = delete;

 private:
  HDC dc_;
  int old_;
};

BYTE PitchOf(FontPitch pitch) {
  switch (pitch) {
    case FontPitch::fpVariable:
      return VARIABLE_PITCH;
    case FontPitch::fpFixed:
      return FIXED_PITCH;
    case FontPitch::fpDefault:
      break;
  }
  return DEFAULT_PITCH;
}

bool Usable(const Picture& picture) {
  return !picture.Empty() &&
         picture.Pixels.size() >= static_cast<std::size_t>(picture.Width) * picture.Height;
}

bool Opaque(const Picture& picture) {
  return std::all_of(picture.Pixels.begin(), picture.Pixels.end(),
                     [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first, as the picture holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::uint32_t Scaled(std::uint32_t channel, std::uint32_t alpha) {
  return (channel * alpha + 127) / 255;
}

// The picture with its transparency blended into white: what a device that
// cannot blend gets, as a sheet of paper would show it.
std::vector<std::uint32_t> OnWhite(const Picture& picture) {
  std::vector<std::uint32_t> pixels(picture.Pixels.begin(),
                                    picture.Pixels.begin() + picture.Width * picture.Height);
  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = p >> 24;
    const std::uint32_t r = Scaled((p >> 16) & 0xFF, a) + 255 - a;
    const std::uint32_t g = Scaled((p >> 8) & 0xFF, a) + 255 - a;
    const std::uint32_t b = Scaled(p & 0xFF, a) + 255 - a;
    p = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
  return pixels;
}

// Draws a picture with transparency through GDI's alpha blending, which
// wants premultiplied pixels in a bitmap selected into a memory context.
// False when the device cannot blend (some printer drivers).
bool Blend(HDC dc, const Rect& r, const Picture& picture) {
  const BITMAPINFO info = TopDownInfo(picture.Width, picture.Height);
  void* bits = nullptr;
  const Owned bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap.Get() == nullptr || bits == nullptr) return false;
  auto* out = static_cast<std::uint32_t*>(bits);
  const std::size_t count = static_cast<std::size_t>(picture.Width) * picture.Height;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = picture.Pixels[i];
    const std::uint32_t a = p >> 24;
    out[i] = (a << 24) | (Scaled((p >> 16) & 0xFF, a) << 16) | (Scaled((p >> 8) & 0xFF, a) << 8) |
             Scaled(p & 0xFF, a);
  }
  GdiFlush();
  const HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return false;
  BOOL blended = FALSE;
  {
    const Selection selected(memory, bitmap.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    blended = GdiAlphaBlend(dc, r.Left, r.Top, r.Width(), r.Height(), memory, 0, 0, picture.Width,
                            picture.Height, blend);
  }
  DeleteDC(memory);
  return blended != FALSE;
}

}  // namespace

GdiCanvas::GdiCanvas(HDC__* dc) : dc_(dc) {}

GdiCanvas::GdiCanvas(HDC__* dc, int ppi) : dc_(dc), ppi_(ppi) {}

GdiCanvas::~GdiCanvas() {
  // Saves left open are closed, so the context goes back as it came.
  while (SaveDepth() > 0) Restore();
  if (font_ != nullptr) DeleteObject(font_);
}

int GdiCanvas::DpiX() const {
  if (ppi_ > 0) return ppi_;
  return GetDeviceCaps(dc_, LOGPIXELSX);
}

int GdiCanvas::DpiY() const {
  if (ppi_ > 0) return ppi_;
  return GetDeviceCaps(dc_, LOGPIXELSY);
}

HFONT__* GdiCanvas::CurrentFont() {
  if (font_ != nullptr && madeFor_ == state_.font) return font_;
  const Font& font = state_.font;
  LOGFONTW logFont{};
  // Heights are device units already; a font without one takes its size in
  // points, as the Qt canvas does.
  logFont.lfHeight = font.Height != 0 ? font.Height : -MulDiv(font.Size, DpiY(), 72);
  logFont.lfWeight = font.Has(fsBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.Has(fsItalic) ? TRUE : FALSE;
  logFont.lfUnderline = font.Has(fsUnderline) ? TRUE : FALSE;
  logFont.lfStrikeOut = font.Has(fsStrikeOut) ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(font.Charset);
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = PitchOf(font.Pitch);
  const std::wstring face = WideFromUtf8(font.Name);
  face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
  const HFONT made = CreateFontIndirectW(&logFont);
  // The old font is never selected between calls, so it can go now.
  if (font_ != nullptr) DeleteObject(font_);
  font_ = made;
  madeFor_ = font;
  return font_;
}

void GdiCanvas::PrepareText() {
  // Positions are the text's top-left corner, whatever alignment the
  // context's owner left in it.
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetTextColor(dc_, ToColorRef(state_.font.FontColor));
  if (state_.brushStyle == BrushStyle::Solid) {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ToColorRef(state_.brushColor));
  } else {
    SetBkMode(dc_, TRANSPARENT);
  }
}

void GdiCanvas::FillRect(const Rect& r) {
  if (state_.brushStyle == BrushStyle::Clear || r.Width() <= 0 || r.Height() <= 0) return;
  const Owned brush(CreateSolidBrush(ToColorRef(state_.brushColor)));
  const RECT rect = ToRECT(r);
  ::FillRect(dc_, &rect, static_cast<HBRUSH>(brush.Get()));
}

void GdiCanvas::FrameRect(const Rect& r) {
  if (state_.brushStyle == BrushStyle::Clear || r.Width() <= 0 || r.Height() <= 0) return;
  const Owned brush(CreateSolidBrush(ToColorRef(state_.brushColor)));
  const RECT rect = ToRECT(r);
  ::FrameRect(dc_, &rect, static_cast<HBRUSH>(brush.Get()));
}

namespace {

HPEN MakePen(PenStyle style, Color color) {
  return CreatePen(style == PenStyle::Dot ? PS_DOT : PS_SOLID, 0, ToColorRef(color));
}

}  // namespace

void GdiCanvas::Rectangle(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const Owned pen(MakePen(state_.penStyle, state_.penColor));
  const Owned brush(state_.brushStyle == BrushStyle::Solid
                        ? CreateSolidBrush(ToColorRef(state_.brushColor))
                        : nullptr);
  const BackgroundMode gaps(dc_, TRANSPARENT);
  const Selection penSelected(dc_, pen.Get());
  const Selection brushSelected(dc_,
                                brush.Get() != nullptr ? brush.Get() : GetStockObject(NULL_BRUSH));
  ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void GdiCanvas::DrawFocusRect(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const RECT rect = ToRECT(r);
  ::DrawFocusRect(dc_, &rect);
}

void GdiCanvas::MoveTo(int x, int y) {
  position_ = Point{x, y};
}

void GdiCanvas::LineTo(int x, int y) {
  const Owned pen(MakePen(state_.penStyle, state_.penColor));
  const BackgroundMode gaps(dc_, TRANSPARENT);
  const Selection penSelected(dc_, pen.Get());
  MoveToEx(dc_, position_.X, position_.Y, nullptr);
  ::LineTo(dc_, x, y);
  position_ = Point{x, y};
}

int GdiCanvas::DrawText(std::string_view text, Rect& r, unsigned flags) {
  const std::wstring wide = WideFromUtf8(text);
  RECT rect = ToRECT(r);
  const Selection fontSelected(dc_, CurrentFont());
  if ((flags & DT_CALCRECT) == 0) PrepareText();
  const int height =
      DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rect, static_cast<UINT>(flags));
  if ((flags & DT_CALCRECT) != 0) r = Rect{rect.left, rect.top, rect.right, rect.bottom};
  return height;
}

void GdiCanvas::TextOut(int x, int y, std::string_view text) {
  const std::wstring wide = WideFromUtf8(text);
  const Selection fontSelected(dc_, CurrentFont());
  PrepareText();
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

Size GdiCanvas::TextExtent(std::string_view text) {
  const std::wstring wide = WideFromUtf8(text);
  const Selection fontSelected(dc_, CurrentFont());
  SIZE size{};
  if (!wide.empty()) GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  // The height is the font's cell, for an empty text too.
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc_, &metrics)) size.cy = metrics.tmHeight;
  return Size{size.cx, size.cy};
}

void GdiCanvas::Draw(int x, int y, const Picture& picture) {
  if (!Usable(picture)) return;
  StretchDraw(Rect{x, y, x + picture.Width, y + picture.Height}, picture);
}

void GdiCanvas::StretchDraw(const Rect& r, const Picture& picture) {
  if (!Usable(picture) || r.Width() <= 0 || r.Height() <= 0) return;
  const bool opaque = Opaque(picture);
  if (!opaque && Blend(dc_, r, picture)) return;
  std::vector<std::uint32_t> blended;
  if (!opaque) blended = OnWhite(picture);
  const void* pixels = opaque ? picture.Pixels.data() : blended.data();
  const BITMAPINFO info = TopDownInfo(picture.Width, picture.Height);
  // Enlarged pictures keep their pixels sharp, as the Qt canvas draws them;
  // a picture made smaller is averaged, not thinned out line by line.
  const bool shrinks = r.Width() < picture.Width || r.Height() < picture.Height;
  const int oldMode = SetStretchBltMode(dc_, shrinks ? HALFTONE : COLORONCOLOR);
  POINT oldOrigin{};
  if (shrinks) SetBrushOrgEx(dc_, 0, 0, &oldOrigin);
  StretchDIBits(dc_, r.Left, r.Top, r.Width(), r.Height(), 0, 0, picture.Width, picture.Height,
                pixels, &info, DIB_RGB_COLORS, SRCCOPY);
  if (shrinks) SetBrushOrgEx(dc_, oldOrigin.x, oldOrigin.y, nullptr);
  if (oldMode != 0) SetStretchBltMode(dc_, oldMode);
}

void GdiCanvas::Save() {
  StatefulCanvas::Save();
  SaveDC(dc_);
}

void GdiCanvas::Restore() {
  if (SaveDepth() == 0) return;
  StatefulCanvas::Restore();
  RestoreDC(dc_, -1);
}

}  // namespace korval::win32
