#pragma once

#include "ui/canvas.h"
#include "ui/skin_window_host.h"

namespace q8 {

// Off-screen drawing: everything drawn through this object lands in a bitmap of its own, or in the
// canvas selected into it, and reaches the window in one copy when the object ends. So one hover
// change or one page redraw is one copy to the screen, never a flicker of partial states.
class CMemDC {
 public:
  // Covers `rect` of the window, or its whole client area when `rect` is all zero.
  CMemDC(SkinWindowHost& target, Rect rect);
  // Copies the covered rectangle from the selected bitmap to the window.
  ~CMemDC();
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // Makes `canvas` the bitmap that drawing goes into, in place of the object's own; null keeps
  // the current one.
  void SelectCanvas(Canvas* canvas);
  // Where drawing lands now.
  Canvas& Surface() { return *selected_; }
  const Rect& Covered() const { return rect_; }

 private:
  SkinWindowHost& target_;
  Rect rect_;
  Canvas own_;
  Canvas* selected_;
};

}  // namespace q8
