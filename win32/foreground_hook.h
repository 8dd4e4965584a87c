#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/program_in_front.h"

namespace q8::win32 {

// Tells which program comes to the front: the system's foreground event (EVENT_SYSTEM_FOREGROUND),
// heard out of context on the thread that made the hook, through that thread's message loop, so
// nothing runs while nothing changes. The keyboard focus moving to a window (EVENT_OBJECT_FOCUS)
// is heard too: the focus is always in the program in front, and Wine (8.0) reports a change of
// the foreground only that way. The program is named by the file name of its process's image
// ("game.exe"); the controller ignores a program that stays in front. The shell's taskbar and
// notification area are passed over: they are on the way to the tray icon. One hook per process.
class ForegroundHook {
 public:
  // `program`: the file name; `thisProcess`: the window is one of this process's own.
  using Listener = std::function<void(const std::string& program, bool thisProcess)>;

  explicit ForegroundHook(Listener listener);
  // The window in front now, as the listener is told of one: nothing when no window is, it is the
  // shell's, or its process may not be asked.
  static std::optional<SystemWindow> WindowInFront();
  ~ForegroundHook();
  ForegroundHook(const ForegroundHook&) = delete;
  ForegroundHook& operator=(const ForegroundHook&) = delete;

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                               LONG child, DWORD thread, DWORD time);

  Listener listener_;
  HWINEVENTHOOK foregroundHook_ = nullptr;
  HWINEVENTHOOK focusHook_ = nullptr;
};

}  // namespace q8::win32
