#include "win32/dialog_window.h"

#include <memory>
#include <vector>

#include "win32/dialog_template.h"
#include "win32/message_params.h"
#include "win32/skinned_dialog_host.h"
#include "win32/window_scale.h"

namespace q8::win32 {
namespace {

// One run of a dialog: what the dialog procedure finds through its window.
struct DialogRun {
  HWND owner;
  DialogController& controller;
  std::unique_ptr<SkinnedDialogHost> host;
};

// The host of the dialog that runs now, for the message filter, which gets no context. Dialogs
// are modal, so one runs at a time; a message box or the colour chooser over it has its own loop,
// which the filter leaves alone.
SkinnedDialogHost* g_runningHost = nullptr;

LRESULT CALLBACK DialogMessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && g_runningHost != nullptr &&
      g_runningHost->PreTranslate(*reinterpret_cast<const MSG*>(lParam))) {
    return 1;  // consumed: neither translated nor dispatched
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A message filter on this thread for as long as it lives: the platform's dialog loop passes
// every message to it before its dialog handling.
class MessageFilterHook {
 public:
  MessageFilterHook()
      : hook_(::SetWindowsHookExW(WH_MSGFILTER, &DialogMessageFilter, nullptr,
                                  ::GetCurrentThreadId())) {}
  ~MessageFilterHook() {
    if (hook_ != nullptr) {
      ::UnhookWindowsHookEx(hook_);
    }
  }
  MessageFilterHook(const MessageFilterHook&) = delete;
  MessageFilterHook& operator=(const MessageFilterHook&) = delete;

 private:
  HHOOK hook_;
};

// A popup with a thin border, its children clipped, brought to the foreground when it opens; no
// caption, no system menu, no controls, no font. 200 x 150 dialog units until the controller
// sizes it to its background.
DialogTemplateLayout SkinnedDialogTemplate() {
  DialogTemplateLayout layout;
  layout.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | DS_SETFOREGROUND;
  layout.width = 200;
  layout.height = 150;
  return layout;
}

// Centres the dialog over its owner, or over the work area when the owner is not shown.
void PlaceOver(HWND dialog, HWND owner) {
  RECT area{};
  if (owner == nullptr || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  ::GetWindowRect(dialog, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  ::SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<DialogRun*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
    KeepSystemDialogScalingOut(window);
    run->host = std::make_unique<SkinnedDialogHost>(window, run->controller);
    g_runningHost = run->host.get();
    ::SetPropW(window, kDialogTemplateProperty,
               reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(run->controller.TemplateId())));
    run->controller.OnInitDialog(*run->host);
    PlaceOver(window, run->owner);
    return TRUE;
  }
  auto* run = reinterpret_cast<DialogRun*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (run == nullptr || run->host == nullptr) {
    return FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::RemovePropW(window, kDialogTemplateProperty);
    ForgetAnnouncedScale(window);
    return FALSE;
  }
  const auto handled = run->host->HandleMessage(message, wParam, lParam);
  return handled ? *handled : FALSE;
}

}  // namespace

DialogResult RunSkinnedDialog(HWND owner, DialogController& dialog) {
  DialogRun run{owner, dialog, nullptr};
  SkinnedDialogHost* const previous = g_runningHost;
  INT_PTR result = -1;
  {
    MessageFilterHook filter;
    const std::vector<WORD> dialogTemplate = BuildDialogTemplate(SkinnedDialogTemplate());
    result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), AsTemplate(dialogTemplate),
                                       owner, &DialogProc, reinterpret_cast<LPARAM>(&run));
  }
  g_runningHost = previous;
  // The host (and its key capture, font and brushes) ends with `run`, after the window.
  return result == static_cast<INT_PTR>(DialogResult::kOk) ? DialogResult::kOk
                                                           : DialogResult::kCancel;
}

}  // namespace q8::win32
