#pragma once

#include "dialogs/function_dialog_frame.h"

namespace q8 {

// The multimedia dialog: which media key a button sends.
class CMediaDialog final : public FunctionDialogFrame {
 public:
  explicit CMediaDialog(const DialogEnvironment& environment);

  using FunctionDialogFrame::SelectedIndex;
  using FunctionDialogFrame::SelectedText;

 private:
  std::vector<std::string> ListItems() const override;
};

// The launch dialog: which application or browser command a button starts.
class CWindowsDialog final : public FunctionDialogFrame {
 public:
  explicit CWindowsDialog(const DialogEnvironment& environment);

  using FunctionDialogFrame::SelectedIndex;
  using FunctionDialogFrame::SelectedText;

 private:
  std::vector<std::string> ListItems() const override;
};

// The snipe dialog: the DPI the mouse switches to while the button is held, from the levels of
// the mouse's sensor. A sensor the tool does not know offers none: the value box stays empty and
// the list opens empty.
class CSnipeDialog final : public FunctionDialogFrame {
 public:
  explicit CSnipeDialog(const DialogEnvironment& environment);

  using FunctionDialogFrame::SelectedIndex;
  using FunctionDialogFrame::SelectedText;

 private:
  std::vector<std::string> ListItems() const override;
};

}  // namespace q8
