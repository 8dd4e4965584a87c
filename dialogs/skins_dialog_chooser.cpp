#include "dialogs/skins_dialog_chooser.h"

#include "dialogs/skins_dialog.h"

namespace q8 {

std::optional<SkinChoice> SkinsDialogChooser::ChooseSkin() {
  CSkinsDialog dialog(environment_);
  // Without its background the dialog never set up its choice; applying it would break the skin.
  if (runner_.RunDialog(dialog) != DialogResult::kOk || !dialog.BackgroundLoaded()) {
    return std::nullopt;
  }
  return SkinChoice{dialog.ChosenSkinPath(), dialog.ChosenSkinName(), dialog.ChosenTextColor()};
}

}  // namespace q8
