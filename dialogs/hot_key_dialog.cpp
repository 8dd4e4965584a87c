#include "dialogs/hot_key_dialog.h"

#include "model/choice_lists.h"

namespace q8 {
namespace {

constexpr FrameLayout kHotKeyLayout{
    .templateId = 712,
    .background = dialog_background::kHotKey,
    .valueBox = 565,
    .valueBoxRect = {42, 128, 136, 144},
    .list =
        ChoiceListLayout{.id = 566, .dropRegion = {42, 128, 151, 144}, .rect = {42, 146, 151, 266}},
};

}  // namespace

CHotKeyDialog::CHotKeyDialog(const DialogEnvironment& environment)
    : FunctionDialogFrame(
          environment, kHotKeyLayout,
          std::string(InLanguage(ShortcutPresetList[0], environment.state.language))) {}

std::vector<std::string> CHotKeyDialog::ListItems() const {
  return NamesIn(ShortcutPresetList, Language());
}

}  // namespace q8
