#include "ui/mem_dc.h"

#include "ui/device_scale.h"

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
    const double scale = target_.PixelRatio();
    const Rect device = DeviceRect(rect_, scale);
    own_.emplace(device.Width(), device.Height());
    own_->SetScale(scale);
  }
  return *own_;
}

}  // namespace q8
