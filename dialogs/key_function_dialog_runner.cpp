#include "dialogs/key_function_dialog_runner.h"

#include "dialogs/fire_key_dialog.h"
#include "dialogs/hot_key_dialog.h"
#include "dialogs/media_dialogs.h"
#include "dialogs/single_dialog.h"

namespace q8 {

template <typename Dialog>
std::optional<ListChoice> KeyFunctionDialogRunner::RunListDialog() {
  Dialog dialog(environment_);
  if (runner_.RunDialog(dialog) != DialogResult::kOk) {
    return std::nullopt;
  }
  return ListChoice{dialog.SelectedIndex(), dialog.SelectedText()};
}

std::optional<ListChoice> KeyFunctionDialogRunner::RunLaunchDialog() {
  return RunListDialog<CWindowsDialog>();
}

std::optional<ListChoice> KeyFunctionDialogRunner::RunMediaDialog() {
  return RunListDialog<CMediaDialog>();
}

std::optional<ListChoice> KeyFunctionDialogRunner::RunHotKeyDialog() {
  return RunListDialog<CHotKeyDialog>();
}

std::optional<ListChoice> KeyFunctionDialogRunner::RunSnipeDialog() {
  return RunListDialog<CSnipeDialog>();
}

std::optional<FireKeyChoice> KeyFunctionDialogRunner::RunFireKeyDialog() {
  CFireKeyDialog dialog(environment_);
  if (runner_.RunDialog(dialog) != DialogResult::kOk) {
    return std::nullopt;
  }
  return FireKeyChoice{dialog.ChosenKeyIndex(), dialog.ChosenKeyName(), dialog.ChosenTimes(),
                       dialog.ChosenMakeTime(), dialog.ChosenBreakTime()};
}

std::optional<std::string> KeyFunctionDialogRunner::RunSingleKeyDialog() {
  CSingleDialog dialog(environment_);
  if (runner_.RunDialog(dialog) != DialogResult::kOk) {
    return std::nullopt;
  }
  return dialog.CapturedKeyName();
}

}  // namespace q8
