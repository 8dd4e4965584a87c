#include "win32/window_scale.h"

#include <cstdint>

#include "win32/message_params.h"
#include "win32/native_controls.h"

namespace q8::win32 {
namespace {

// Where a window keeps the dots per inch last announced for it.
constexpr wchar_t kAnnouncedDpiProperty[] = L"TarnixQ8AnnouncedDpi";

// The dialog manager's scaling switches (DDC_DISABLE_ALL, DCDC_DISABLE_FONTUPDATE and
// DCDC_DISABLE_RELAYOUT), named here since the headers declare them only for new systems.
constexpr int kDialogScalingOff = 1;
constexpr int kControlFontAndLayoutOff = 1 | 2;

// A function of user32.dll that older systems lack, looked up once; null where it is missing.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT AnnouncedDpi(HWND window) {
  return static_cast<UINT>(
      reinterpret_cast<std::uintptr_t>(::GetPropW(window, kAnnouncedDpiProperty)));
}

void TakeAnnouncedScale(HWND window, WPARAM wParam, LPARAM lParam, NativeControls& controls) {
  // The system has the window's new scale already when it sends the message (GetDpiForWindow
  // answers it); kept all the same, so that every part of the window draws at the scale the
  // message announced, also where the system would answer otherwise.
  const UINT dpi = LowWord(static_cast<std::uintptr_t>(wParam));
  if (dpi > 0) {
    ::SetPropW(window, kAnnouncedDpiProperty,
               reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(dpi)));
  }
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested != nullptr) {
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  controls.PlaceAgain();
}

void ForgetAnnouncedScale(HWND window) {
  ::RemovePropW(window, kAnnouncedDpiProperty);
}

void KeepSystemDialogScalingOut(HWND dialog) {
  using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
  static const auto setBehavior = User32Function<SetBehavior>("SetDialogDpiChangeBehavior");
  if (setBehavior != nullptr) {
    setBehavior(dialog, kDialogScalingOff, kDialogScalingOff);
  }
}

void KeepSystemControlScalingOut(HWND control) {
  using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
  static const auto setBehavior = User32Function<SetBehavior>("SetDialogControlDpiChangeBehavior");
  if (setBehavior != nullptr) {
    setBehavior(control, kControlFontAndLayoutOff, kControlFontAndLayoutOff);
  }
}

}  // namespace q8::win32
