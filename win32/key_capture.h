#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace q8::win32 {

// A keyboard hook on the calling thread, for as long as the object lives: every keystroke message
// the thread takes from its queue (key-downs, repeats, key-ups, with Alt too) is named by the
// platform's key-name lookup (at most 31 characters) and handed to `onKey` before it goes on to
// normal processing. One capture at a time per process.
class KeyCapture {
 public:
  using OnKey = std::function<void(std::string_view keyName)>;

  explicit KeyCapture(OnKey onKey);
  ~KeyCapture();
  KeyCapture(const KeyCapture&) = delete;
  KeyCapture& operator=(const KeyCapture&) = delete;

  bool Installed() const { return hook_ != nullptr; }
  // The system's error code when the hook could not be installed.
  DWORD Error() const { return error_; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

  OnKey onKey_;
  HHOOK hook_ = nullptr;
  DWORD error_ = 0;
};

}  // namespace q8::win32
