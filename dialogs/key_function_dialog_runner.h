#pragma once

#include "dialogs/dialog_environment.h"
#include "pages/key_function_dialogs.h"
#include "ui/dialog_host.h"

namespace q8 {

// The key page's dialogs, each a new object run modally through the window's dialog runner;
// a result comes back only when the dialog ends with OK.
class KeyFunctionDialogRunner final : public KeyFunctionDialogs {
 public:
  KeyFunctionDialogRunner(DialogRunner& runner, const DialogEnvironment& environment)
      : runner_(runner), environment_(environment) {}

  std::optional<ListChoice> RunLaunchDialog() override;
  std::optional<ListChoice> RunMediaDialog() override;
  std::optional<ListChoice> RunHotKeyDialog() override;
  std::optional<FireKeyChoice> RunFireKeyDialog() override;
  std::optional<std::string> RunSingleKeyDialog() override;
  std::optional<ListChoice> RunSnipeDialog() override;

 private:
  template <typename Dialog>
  std::optional<ListChoice> RunListDialog();

  DialogRunner& runner_;
  const DialogEnvironment& environment_;
};

}  // namespace q8
