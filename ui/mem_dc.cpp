#include "ui/mem_dc.h"

namespace q8 {

CMemDC::CMemDC(SkinWindowHost& target, Rect rect)
    : target_(target),
      rect_(rect.IsZero() ? target.ClientRect() : rect),
      own_(rect_.Width(), rect_.Height()),
      selected_(&own_) {}

CMemDC::~CMemDC() {
  target_.CopyToWindow(*selected_, rect_);
}

void CMemDC::SelectCanvas(Canvas* canvas) {
  if (canvas != nullptr) {
    selected_ = canvas;
  }
}

}  // namespace q8
