#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "ui/hover_controller.h"
#include "ui/skin_controls.h"
#include "ui/skin_images.h"

namespace q8 {

// The texts the main window's hover-able controls show: the button captions of the text table and
// the captions of the seven key rows in the active key configuration. The window owns them and
// keeps them current; the controls read them at every draw.
struct MainWindowCaptions {
  std::string ok;
  std::string apply;
  std::string cancel;
  std::string restoreKeys;
  std::array<std::string, 7> keyRows;
};

// The main window's owner-drawn controls and their hover handling.
class MainWindowControls final : public HoverController {
 public:
  // In test order: where two controls share a column, the earlier one wins.
  enum Control : std::size_t {
    kOk,
    kApply,
    kCancel,
    kSkins,
    kClose,
    kMinimise,
    kPreviousPage,
    kRestoreKeys,
    kKeyRow1,
    kKeyRow7 = kKeyRow1 + 6,
    kControlCount
  };

  static constexpr int kKeyRows = 7;
  static constexpr SkinButton kOkButton{{562, 623, 667, 644}};
  static constexpr SkinButton kApplyButton{{666, 623, 771, 644}};
  static constexpr SkinButton kCancelButton{{770, 623, 875, 644}};
  static constexpr SkinButton kRestoreKeysButton{{307, 549, 412, 570}};
  static constexpr SkinImageButton kSkinsButton{
      {701, 5, 719, 23}, skin_image::kSkinsNormal, skin_image::kSkinsOver};
  static constexpr SkinImageButton kCloseButton{
      {850, 5, 868, 23}, skin_image::kCloseNormal, skin_image::kCloseOver};
  static constexpr SkinImageButton kMinimiseButton{
      {825, 5, 843, 23}, skin_image::kMinNormal, skin_image::kMinOver};
  static constexpr SkinImageButton kPreviousPageButton{
      {44, 54, 84, 94}, skin_image::kPrePageNormal, skin_image::kPrePageOver};
  // Key row k (1 to 7): 211 x 21 pixels, 2 pixels apart, row 1 on top.
  static constexpr SkinDropdown KeyRow(int row) {
    return {{252, 199 + 23 * (row - 1), 463, 220 + 23 * (row - 1)}};
  }

  MainWindowControls(SkinnedWindow& window, const SkinPainter& painter,
                     const MainWindowCaptions& captions);

  // From the first drawing of the main page on, the restore-keys button and the key rows react.
  void SetMainPageDrawn() { tracker().SetPageDrawn(true); }

  // Draws one control in the given look, as the page drawing and the hover handling do.
  void DrawControl(Canvas* target, std::size_t control, Look look) const override;

 private:
  const SkinPainter& painter_;
  const MainWindowCaptions& captions_;
};

}  // namespace q8
