#pragma once

#include <windows.h>

#include "ui/dialog_host.h"

namespace q8::win32 {

// Runs a skinned dialog modally over `owner`, which stays disabled until the dialog ends: a
// popup with a thin border, no caption and no system menu, made from an in-memory template with
// no controls (the controller creates them), sized by the controller to its background and
// centred over the owner. The window's messages go to the controller, and so does every message
// of the dialog's loop before the platform's dialog handling (the pointer over the dialog's lists,
// the keys the controller keeps for itself). Enter and Escape end the run with OK and Cancel
// unless the controller keeps them. Returns how the run ended; a dialog that cannot be made
// counts as cancelled.
DialogResult RunSkinnedDialog(HWND owner, DialogController& dialog);

// The property of a running dialog's window that holds its controller's template id, for tools
// that look for the program's dialogs.
inline constexpr wchar_t kDialogTemplateProperty[] = L"TarnixQ8DialogTemplate";

}  // namespace q8::win32
