#pragma once

#include "dialogs/function_dialog_frame.h"

namespace q8 {

// The combination-key dialog: one of the eight shortcut presets the mouse holds, by name.
class CHotKeyDialog final : public FunctionDialogFrame {
 public:
  explicit CHotKeyDialog(const DialogEnvironment& environment);

  using FunctionDialogFrame::SelectedIndex;
  using FunctionDialogFrame::SelectedText;

 private:
  std::vector<std::string> ListItems() const override;
};

}  // namespace q8
