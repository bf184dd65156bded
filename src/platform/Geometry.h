#pragma once

namespace korval {

struct Point {
  int X = 0;
  int Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int Cx = 0;
  int Cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle as the platform's drawing functions take it: right and bottom
// are exclusive.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace korval
