#include "ui/skin_painter.h"

#include "ui/draw_png.h"
#include "ui/skin_directory.h"

namespace q8 {

bool SkinPainter::DrawImage(Canvas* target, std::string_view imageName, Point at) const {
  const auto path = SkinImagePath(skinDirectory_, imageName);
  if (loadFailures_ != nullptr) {
    return LoadPng(target, path, at.x, at.y, decoder_, *loadFailures_);
  }
  return DrawPng(target, path, at.x, at.y, decoder_);
}

void SkinPainter::DrawCaption(Canvas* target, std::string_view text, Rect rect,
                              TextAlign align) const {
  if (target != nullptr) {
    text_.DrawText(*target, text, rect, FontRole::kNormal, textColor_, align);
  }
}

}  // namespace q8
