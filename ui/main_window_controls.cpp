#include "ui/main_window_controls.h"

namespace q8 {
namespace {

using C = MainWindowControls;

HoverTracker MainWindowTracker() {
  constexpr HoverTracker::Group kBottomButtons = 1;
  constexpr HoverTracker::Group kKeyRowGroup = 2;
  std::vector<HoverTracker::Control> controls = {
      {C::kOkButton.region, kBottomButtons, false},
      {C::kApplyButton.region, kBottomButtons, false},
      {C::kCancelButton.region, kBottomButtons, false},
      {C::kSkinsButton.region, HoverTracker::kAlone, false},
      {C::kCloseButton.region, HoverTracker::kAlone, false},
      {C::kMinimiseButton.region, HoverTracker::kAlone, false},
      {C::kPreviousPageButton.region, HoverTracker::kAlone, false},
      {C::kRestoreKeysButton.region, HoverTracker::kAlone, true},
  };
  for (int row = 1; row <= C::kKeyRows; ++row) {
    controls.push_back({C::KeyRow(row).region, kKeyRowGroup, true});
  }
  // A move outside every control redraws the window buttons first, then the bottom buttons, the
  // restore-keys button and the key rows.
  std::vector<std::size_t> resetOrder = {C::kSkins, C::kMinimise, C::kClose,  C::kPreviousPage,
                                         C::kOk,    C::kApply,    C::kCancel, C::kRestoreKeys};
  for (std::size_t row = C::kKeyRow1; row <= C::kKeyRow7; ++row) {
    resetOrder.push_back(row);
  }
  return HoverTracker(std::move(controls), std::move(resetOrder));
}

}  // namespace

MainWindowControls::MainWindowControls(SkinnedWindow& window, const SkinPainter& painter,
                                       const MainWindowCaptions& captions)
    : HoverController(window, MainWindowTracker(), /*trackLeave=*/true),
      painter_(painter),
      captions_(captions) {}

void MainWindowControls::DrawControl(Canvas* target, std::size_t control, Look look) const {
  switch (control) {
    case kOk:
      return kOkButton.Draw(painter_, target, look, captions_.ok);
    case kApply:
      return kApplyButton.Draw(painter_, target, look, captions_.apply);
    case kCancel:
      return kCancelButton.Draw(painter_, target, look, captions_.cancel);
    case kSkins:
      return kSkinsButton.Draw(painter_, target, look);
    case kClose:
      return kCloseButton.Draw(painter_, target, look);
    case kMinimise:
      return kMinimiseButton.Draw(painter_, target, look);
    case kPreviousPage:
      return kPreviousPageButton.Draw(painter_, target, look);
    case kRestoreKeys:
      return kRestoreKeysButton.Draw(painter_, target, look, captions_.restoreKeys);
    default: {
      const int row = static_cast<int>(control - kKeyRow1) + 1;
      return KeyRow(row).Draw(painter_, target, look, row,
                              captions_.keyRows[static_cast<std::size_t>(row - 1)]);
    }
  }
}

}  // namespace q8
