#pragma once

#include <cstddef>
#include <string>

#include "ui/hover_controller.h"
#include "ui/skin_controls.h"
#include "ui/skin_images.h"

namespace q8 {

// The OK and Cancel captions of a key-function dialog, in the dialog's language.
struct DialogCaptions {
  std::string ok;
  std::string cancel;
};

// The three owner-drawn controls every key-function dialog and the skin chooser share, and their
// hover handling. A dialog asks for hover notifications only (no leave notification), and its
// painter reports images that cannot be decoded.
class DialogControls final : public HoverController {
 public:
  enum Control : std::size_t { kClose, kOk, kCancel, kControlCount };

  static constexpr SkinImageButton kCloseButton{
      {352, 6, 370, 24}, skin_image::kCloseNormal, skin_image::kCloseOver};
  static constexpr SkinButton kOkButton{{166, 253, 271, 274}};
  static constexpr SkinButton kCancelButton{{270, 253, 375, 274}};

  DialogControls(SkinnedWindow& window, const SkinPainter& painter, const DialogCaptions& captions);

  void DrawControl(Canvas* target, std::size_t control, Look look) const override;

 private:
  const SkinPainter& painter_;
  const DialogCaptions& captions_;
};

}  // namespace q8
