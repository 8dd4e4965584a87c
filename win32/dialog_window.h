#pragma once

#include <windows.h>

#include "ui/dialog_host.h"

namespace q8::win32 {

// Runs a skinned dialog modally over `owner`, which is disabled until the run ends, and returns
// how it ended.
DialogResult RunSkinnedDialog(HWND owner, DialogController& dialog);

}  // namespace q8::win32
