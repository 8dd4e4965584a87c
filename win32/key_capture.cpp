#include "win32/key_capture.h"

#include <string>

#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

// The capture the hook procedure reports to; the procedure gets no context of its own.
KeyCapture* g_activeCapture = nullptr;

// Room for 31 characters and the terminating null: longer names are cut there.
constexpr int kKeyNameBuffer = 32;

}  // namespace

KeyCapture::KeyCapture(OnKey onKey) : onKey_(std::move(onKey)) {
  if (g_activeCapture != nullptr) {
    error_ = ERROR_ALREADY_EXISTS;
    return;
  }
  // A thread hook with its procedure in this program: no module handle.
  hook_ = ::SetWindowsHookExW(WH_KEYBOARD, &KeyCapture::HookProc, nullptr, ::GetCurrentThreadId());
  if (hook_ == nullptr) {
    error_ = ::GetLastError();
    return;
  }
  g_activeCapture = this;
}

KeyCapture::~KeyCapture() {
  if (hook_ != nullptr) {
    ::UnhookWindowsHookEx(hook_);
    g_activeCapture = nullptr;
  }
}

LRESULT CALLBACK KeyCapture::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only a keystroke taken from the queue names a key; one merely peeked at is passed on.
  if (code != HC_ACTION || g_activeCapture == nullptr) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  wchar_t name[kKeyNameBuffer] = {};
  const int length = ::GetKeyNameTextW(static_cast<LONG>(lParam), name, kKeyNameBuffer);
  g_activeCapture->onKey_(ToUtf8(std::wstring_view(name, length > 0 ? length : 0)));
  return 0;  // not consumed
}

}  // namespace q8::win32
