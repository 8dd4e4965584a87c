#pragma once

namespace q8 {

struct Point {
  int x = 0;
  int y = 0;
};

// A rectangle in client pixels. The right and bottom edges are outside: a point is inside when
// left <= x < right and top <= y < bottom, so neighbours that share one column of pixels overlap
// in exactly that column.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  constexpr bool Contains(Point p) const {
    return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The fixed client rectangle of an owner-drawn control, the same for every skin.
using HotRegion = Rect;

}  // namespace q8
