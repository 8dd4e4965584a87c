#pragma once

#include <windows.h>

namespace q8::win32 {

class NativeControls;

// How the skinned windows (the main window and the dialogs, all dialog boxes) follow a change of
// their scale, the same way for each: the system announces the new dots per inch and suggests a
// place (WM_DPICHANGED); the window keeps that scale, takes the place, puts its native controls at
// their rectangles at the new scale, and its controller then makes its fonts, canvas and page
// again. The system's own scaling of dialog boxes is kept out of the way, so that nothing is
// scaled twice.

// WM_DPICHANGED, which the headers declare only for Windows 8.1 and later.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The scale the system announced for `window` last (WM_DPICHANGED), in dots per inch; 0 when it
// announced none.
UINT AnnouncedDpi(HWND window);

// WM_DPICHANGED for `window`: keeps the new dots per inch (wParam), moves the window to the
// suggested rectangle (lParam) and places `controls` again at the new scale. The caller then
// tells its controller.
void TakeAnnouncedScale(HWND window, WPARAM wParam, LPARAM lParam, NativeControls& controls);

// Forgets what TakeAnnouncedScale kept on the window: at WM_NCDESTROY.
void ForgetAnnouncedScale(HWND window);

// Turns off what Windows 10 (1703) and later do to a dialog box on a change of scale besides the
// window's own handling (its size, fonts and control layout), for the dialog and for one of its
// controls. Systems without these calls (older Windows, Wine) scale no dialog box by themselves.
void KeepSystemDialogScalingOut(HWND dialog);
void KeepSystemControlScalingOut(HWND control);

}  // namespace q8::win32
