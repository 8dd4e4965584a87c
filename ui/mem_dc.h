#pragma once

#include <optional>

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
  Canvas& Surface();
  const Rect& Covered() const { return rect_; }

 private:
  SkinWindowHost& target_;
  Rect rect_;
  // The object's own bitmap, of the covered size, made only when something is drawn into it or
  // copied from it: a skinned window selects its canvas at once, and a bitmap of the whole client
  // area (over 2 MB for the main window) made and cleared at every hover change would go unused.
  std::optional<Canvas> own_;
  Canvas* selected_ = nullptr;  // null: the object's own bitmap
};

}  // namespace q8
