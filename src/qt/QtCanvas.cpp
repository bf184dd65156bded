#include "qt/QtCanvas.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>

#include "qt/QtApplication.h"

namespace korval::qt {

namespace {

// Room for text that is not confined to a rectangle.
constexpr int kUnbounded = 1 << 20;

QColor ToQColor(Color color) {
  const Color c = ResolveColor(color);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QRect ToQRect(const Rect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::any_of(names.begin(), names.end(),
                     [&](std::string_view n) { return EqualsIgnoringCase(name, n); });
}

// The installed family that stands in for a font name the labels were
// designed with on Windows.
QString FamilyFor(const std::string& name, FontPitch pitch) {
  static std::mutex mutex;
  static std::map<std::pair<std::string, FontPitch>, QString> known;
  const std::lock_guard<std::mutex> lock(mutex);
  const auto key = std::make_pair(name, pitch);
  if (auto it = known.find(key); it != known.end()) return it->second;

  QString family = QString::fromStdString(name);
  if (name.empty() || !QFontDatabase::hasFamily(family)) {
    // Windows' core fonts have free twins of the same advance widths, so a
    // price laid out to fit on Windows fits here too. MS Sans Serif, the
    // default of every item, is a screen font that printing replaces with
    // Microsoft Sans Serif; a sans of Arial's widths is their nearest match.
    const QString twin =
        IsOneOf(name, {"Arial", "Helvetica", "MS Sans Serif", "Microsoft Sans Serif"})
            ? QStringLiteral("Liberation Sans")
        : IsOneOf(name, {"Times New Roman", "Times"}) ? QStringLiteral("Liberation Serif")
        : IsOneOf(name, {"Courier New", "Courier"})   ? QStringLiteral("Liberation Mono")
                                                      : QString();
    if (!twin.isEmpty() && QFontDatabase::hasFamily(twin)) {
      family = twin;
    } else if (pitch == FontPitch::fpFixed ||
               IsOneOf(name, {"Courier New", "Courier", "Lucida Console", "Consolas", "Fixedsys",
                              "Terminal", "System"})) {
      family = QStringLiteral("DejaVu Sans Mono");
    } else if (IsOneOf(name, {"Times New Roman", "Times", "MS Serif", "Georgia", "Garamond",
                              "Book Antiqua", "Palatino Linotype", "Cambria", "Century"})) {
      family = QStringLiteral("DejaVu Serif");
    } else {
      family = QStringLiteral("DejaVu Sans");
    }
  }
  known.emplace(key, family);
  return family;
}

}  // namespace

QFont QtFontFor(const Font& font, int dpiY) {
  QFont q(FamilyFor(font.Name, font.Pitch));
  q.setStyleHint(font.Pitch == FontPitch::fpFixed ? QFont::TypeWriter : QFont::SansSerif);
  q.setBold(font.Has(fsBold));
  q.setItalic(font.Has(fsItalic));
  q.setUnderline(font.Has(fsUnderline));
  q.setStrikeOut(font.Has(fsStrikeOut));
  q.setKerning(false);
  if (font.Height < 0) {
    q.setPixelSize(-font.Height);
  } else if (font.Height > 0) {
    // A cell height: find the em height whose cell comes closest.
    q.setPixelSize(font.Height);
    const int cell = QFontMetrics(q).height();
    if (cell > 0) {
      const double em = static_cast<double>(font.Height) * font.Height / cell;
      q.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
  } else {
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * dpiY / 72.0))));
  }
  return q;
}

QtCanvas::QtCanvas(QPainter& painter, int dpiX, int dpiY)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY) {
  EnsureApplication();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

const QFont& QtCanvas::CurrentFont() {
  // A label switches between a handful of fonts for every item it draws.
  for (const auto& [font, made] : madeFonts_) {
    if (font == state_.font) return made;
  }
  if (madeFonts_.size() >= kFontsKept) madeFonts_.erase(madeFonts_.begin());
  madeFonts_.emplace_back(state_.font, QtFontFor(state_.font, dpiY_));
  return madeFonts_.back().second;
}

void QtCanvas::DrawOnBlankPaper() {
  blankPaper_ = true;
  inked_.clear();
}

bool QtCanvas::Shows(Color color, const Rect& r) const {
  if (!blankPaper_ || ResolveColor(color) != kWhite) return true;
  return std::any_of(inked_.begin(), inked_.end(), [&](const Rect& ink) {
    return ink.Left < r.Right && r.Left < ink.Right && ink.Top < r.Bottom && r.Top < ink.Bottom;
  });
}

void QtCanvas::Inked(const Rect& r) {
  if (blankPaper_ && r.Width() > 0 && r.Height() > 0) inked_.push_back(r);
}

void QtCanvas::FillRect(const Rect& r) {
  if (state_.brushStyle == BrushStyle::Clear || r.Width() <= 0 || r.Height() <= 0) return;
  if (!Shows(state_.brushColor, r)) return;
  painter_.fillRect(ToQRect(r), ToQColor(state_.brushColor));
  Inked(r);
}

void QtCanvas::FillRects(std::span<const Rect> rects) {
  if (state_.brushStyle == BrushStyle::Clear || rects.empty()) return;
  if (!blankPaper_) {
    StatefulCanvas::FillRects(rects);
    return;
  }
  // One path for all of them: a barcode is one fill, not one per bar.
  std::vector<QRect> shapes;
  shapes.reserve(rects.size());
  Rect bounds = rects.front();
  for (const Rect& r : rects) {
    if (r.Width() <= 0 || r.Height() <= 0) continue;
    shapes.push_back(ToQRect(r));
    bounds = Rect{std::min(bounds.Left, r.Left), std::min(bounds.Top, r.Top),
                  std::max(bounds.Right, r.Right), std::max(bounds.Bottom, r.Bottom)};
  }
  if (shapes.empty() || !Shows(state_.brushColor, bounds)) return;
  painter_.save();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(state_.brushColor));
  painter_.drawRects(shapes.data(), static_cast<int>(shapes.size()));
  painter_.restore();
  Inked(bounds);
}

void QtCanvas::FrameRect(const Rect& r) {
  if (state_.brushStyle == BrushStyle::Clear || r.Width() <= 0 || r.Height() <= 0) return;
  const QColor color = ToQColor(state_.brushColor);
  painter_.fillRect(QRect(r.Left, r.Top, r.Width(), 1), color);
  painter_.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), color);
  painter_.fillRect(QRect(r.Left, r.Top, 1, r.Height()), color);
  painter_.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), color);
  Inked(r);
}

void QtCanvas::Rectangle(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  FillRect(r);
  DrawLine(r.Left, r.Top, r.Right - 1, r.Top);
  DrawLine(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
  DrawLine(r.Right - 1, r.Bottom - 1, r.Left, r.Bottom - 1);
  DrawLine(r.Left, r.Bottom - 1, r.Left, r.Top);
}

void QtCanvas::DrawFocusRect(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const QColor white(255, 255, 255);
  // Walk the frame once round, each pixel once, and invert every other one.
  int n = 0;
  auto dot = [&](int x, int y) {
    if (n++ % 2 == 0) painter_.fillRect(QRect(x, y, 1, 1), white);
  };
  for (int x = r.Left; x < r.Right; ++x) dot(x, r.Top);
  for (int y = r.Top + 1; y < r.Bottom; ++y) dot(r.Right - 1, y);
  if (r.Height() > 1)
    for (int x = r.Right - 2; x >= r.Left; --x) dot(x, r.Bottom - 1);
  if (r.Width() > 1)
    for (int y = r.Bottom - 2; y > r.Top; --y) dot(r.Left, y);
  painter_.restore();
}

void QtCanvas::MoveTo(int x, int y) {
  position_ = Point{x, y};
}

void QtCanvas::LineTo(int x, int y) {
  // The platform's lines leave out their end point, so polylines do not draw
  // their corners twice.
  int endX = x;
  int endY = y;
  if (y == position_.Y && x != position_.X)
    endX += x > position_.X ? -1 : 1;
  else if (x == position_.X && y != position_.Y)
    endY += y > position_.Y ? -1 : 1;
  if (x != position_.X || y != position_.Y) DrawLine(position_.X, position_.Y, endX, endY);
  position_ = Point{x, y};
}

// A line one device unit wide including both end points, solid or dotted
// one-on, one-off.
void QtCanvas::DrawLine(int x0, int y0, int x1, int y1) {
  Inked(Rect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1});
  const QColor color = ToQColor(state_.penColor);
  if (state_.penStyle == PenStyle::Solid && (x0 == x1 || y0 == y1)) {
    painter_.fillRect(QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                            QPoint(std::max(x0, x1), std::max(y0, y1))),
                      color);
    return;
  }
  QPen pen(color);
  pen.setWidth(0);
  pen.setCapStyle(Qt::FlatCap);
  if (state_.penStyle == PenStyle::Dot) pen.setDashPattern({1.0, 1.0});
  painter_.save();
  painter_.setPen(pen);
  painter_.drawLine(x0, y0, x1, y1);
  painter_.restore();
}

void QtCanvas::PrepareText(const Rect& area) {
  painter_.setFont(CurrentFont());
  painter_.setPen(ToQColor(state_.font.FontColor));
  if (state_.brushStyle == BrushStyle::Solid && Shows(state_.brushColor, area)) {
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(ToQColor(state_.brushColor));
  } else {
    painter_.setBackgroundMode(Qt::TransparentMode);
  }
}

namespace {

int QtTextFlags(unsigned flags) {
  int q = 0;
  if ((flags & DT_CENTER) != 0)
    q |= Qt::AlignHCenter;
  else if ((flags & DT_RIGHT) != 0)
    q |= Qt::AlignRight;
  else
    q |= Qt::AlignLeft;
  if ((flags & DT_VCENTER) != 0)
    q |= Qt::AlignVCenter;
  else if ((flags & DT_BOTTOM) != 0)
    q |= Qt::AlignBottom;
  else
    q |= Qt::AlignTop;
  if ((flags & DT_SINGLELINE) != 0)
    q |= Qt::TextSingleLine;
  else if ((flags & DT_WORDBREAK) != 0)
    q |= Qt::TextWordWrap;
  // Without DT_NOPREFIX "&" marks the next character and "&&" writes one.
  if ((flags & DT_NOPREFIX) == 0) q |= Qt::TextShowMnemonic;
  // Qt would clip to the rectangle on its own; DrawText clips unless told not
  // to, and does that itself.
  return q | Qt::TextDontClip;
}

}  // namespace

int QtCanvas::DrawText(std::string_view text, Rect& r, unsigned flags) {
  const QString s = ToQString(text);
  const int qtFlags = QtTextFlags(flags);
  if ((flags & DT_CALCRECT) != 0) {
    painter_.setFont(CurrentFont());
    const bool wraps = (flags & DT_WORDBREAK) != 0 && (flags & DT_SINGLELINE) == 0;
    const int room = wraps ? std::max(r.Width(), 1) : kUnbounded;
    const int layout = (qtFlags & ~(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) |
                       Qt::AlignLeft | Qt::AlignTop;
    const QRect needed = painter_.boundingRect(QRect(0, 0, room, kUnbounded), layout, s);
    r.Right = r.Left + needed.width();
    r.Bottom = r.Top + needed.height();
    return needed.height();
  }
  const bool clip = (flags & DT_NOCLIP) == 0;
  // On blank paper the painter keeps no state of its own to restore (the
  // text's font, pen and background are set for every text anyway), and Qt
  // clips the text itself, only when it reaches out of its rectangle: most
  // texts then go to the page without a clip path of their own.
  const bool qtClips = clip && blankPaper_;
  const bool keep = !blankPaper_;
  if (keep) painter_.save();
  PrepareText(clip ? r : Rect{r.Left - kUnbounded, r.Top - kUnbounded, r.Right + kUnbounded,
                              r.Bottom + kUnbounded});
  if (clip && !qtClips) painter_.setClipRect(ToQRect(r), Qt::IntersectClip);
  QRect drawn;
  painter_.drawText(ToQRect(r), qtClips ? qtFlags & ~Qt::TextDontClip : qtFlags, s, &drawn);
  if (keep) painter_.restore();
  Inked(clip ? r : Rect{std::min(r.Left, drawn.left()), std::min(r.Top, drawn.top()),
                        std::max(r.Right, drawn.right() + 1), std::max(r.Bottom, drawn.bottom() + 1)});
  return drawn.height();
}

void QtCanvas::TextOut(int x, int y, std::string_view text) {
  painter_.save();
  PrepareText(Rect{x, y, x + kUnbounded, y + kUnbounded});
  QRect drawn;
  painter_.drawText(QRect(x, y, kUnbounded, kUnbounded),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(text), &drawn);
  painter_.restore();
  Inked(Rect{drawn.left(), drawn.top(), drawn.right() + 1, drawn.bottom() + 1});
}

Size QtCanvas::TextExtent(std::string_view text) {
  // A label measures the same few texts in the same fonts again and again
  // (a barcode its text line, for every label).
  for (const Extent& known : extents_) {
    if (known.text == text && known.font == state_.font) return known.size;
  }
  const QFontMetrics metrics(CurrentFont());
  const Size size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
  if (extents_.size() >= kExtentsKept) extents_.erase(extents_.begin());
  extents_.push_back({state_.font, std::string(text), size});
  return size;
}

namespace {

// A view of the picture's pixels; 0xAARRGGBB words are what QImage's ARGB32
// format holds.
QImage ImageOf(const Picture& picture) {
  return QImage(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width,
                picture.Height, picture.Width * 4, QImage::Format_ARGB32);
}

bool Usable(const Picture& picture) {
  return !picture.Empty() &&
         picture.Pixels.size() >= static_cast<std::size_t>(picture.Width) * picture.Height;
}

}  // namespace

void QtCanvas::Draw(int x, int y, const Picture& picture) {
  if (!Usable(picture)) return;
  painter_.drawImage(QPoint(x, y), ImageOf(picture));
  Inked(Rect{x, y, x + picture.Width, y + picture.Height});
}

void QtCanvas::StretchDraw(const Rect& r, const Picture& picture) {
  if (!Usable(picture) || r.Width() <= 0 || r.Height() <= 0) return;
  painter_.drawImage(ToQRect(r), ImageOf(picture));
  Inked(r);
}

void QtCanvas::Save() {
  StatefulCanvas::Save();
  if (!blankPaper_) painter_.save();
}

void QtCanvas::Restore() {
  if (SaveDepth() == 0) return;
  StatefulCanvas::Restore();
  if (!blankPaper_) painter_.restore();
}

}  // namespace korval::qt
