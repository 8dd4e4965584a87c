#include "ui/mem_dc.h"

namespace q8 {

CMemDC::CMemDC(SkinWindowHost& target, Rect rect)
    : target_(target), rect_(rect.IsZero() ? target.ClientRect() : rect) {}

CMemDC::~CMemDC() {
  target_.CopyToWindow(Surface(), rect_);
}

void CMemDC::SelectCanvas(Canvas* canvas) {
  if (canvas != nullptr) {
    selected_ = canvas;
  }
}

Canvas& CMemDC::Surface() {
  if (selected_ != nullptr) {
    return *selected_;
  }
  if (!own_) {
    own_.emplace(rect_.Width(), rect_.Height());
  }
  return *own_;
}

}  // namespace q8
