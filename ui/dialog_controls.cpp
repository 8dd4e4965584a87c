#include "ui/dialog_controls.h"

namespace q8 {
namespace {

using C = DialogControls;

HoverTracker DialogTracker() {
  constexpr HoverTracker::Group kOkAndCancel = 1;
  std::vector<HoverTracker::Control> controls = {
      {C::kCloseButton.region, HoverTracker::kAlone, false},
      {C::kOkButton.region, kOkAndCancel, false},
      {C::kCancelButton.region, kOkAndCancel, false},
  };
  // A move outside the three redraws OK, Cancel, then the close button.
  return HoverTracker(std::move(controls), {C::kOk, C::kCancel, C::kClose});
}

}  // namespace

DialogControls::DialogControls(SkinnedWindow& window, const SkinPainter& painter,
                               const DialogCaptions& captions)
    : HoverController(window, DialogTracker(), /*trackLeave=*/false),
      painter_(painter),
      captions_(captions) {}

void DialogControls::DrawControl(Canvas* target, std::size_t control, Look look) const {
  switch (control) {
    case kClose:
      return kCloseButton.Draw(painter_, target, look);
    case kOk:
      return kOkButton.Draw(painter_, target, look, captions_.ok);
    default:
      return kCancelButton.Draw(painter_, target, look, captions_.cancel);
  }
}

}  // namespace q8
