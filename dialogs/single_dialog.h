#pragma once

#include <string>
#include <string_view>

#include "dialogs/function_dialog_frame.h"

namespace q8 {

// The single-key dialog: the user presses a key and the dialog shows the platform's name for it.
// Every keystroke the dialog's thread takes from its queue, key-up included, names a key, so the
// last key seen wins (releasing Shift after Shift+A shows the Shift key). Enter and Escape are
// captured like any other key instead of ending the dialog, and the Windows keys never reach it.
class CSingleDialog final : public FunctionDialogFrame {
 public:
  static constexpr ControlId kValueBox = 502;
  // Longer names are cut to this many characters.
  static constexpr std::size_t kMaxKeyNameLength = 31;

  explicit CSingleDialog(const DialogEnvironment& environment);

  // The name of the last key seen; empty when none was pressed.
  const std::string& CapturedKeyName() const { return capturedKeyName_; }

  bool UsesDialogKeys() const override { return false; }
  bool OnPreTranslateKey(KeyMessage message) override;
  void OnKeyCaptured(std::string_view keyName) override;

 private:
  void CreateControls() override;
  void DrawFaceTexts(Canvas& canvas) const override;

  std::string capturedKeyName_;
};

}  // namespace q8
