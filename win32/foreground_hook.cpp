#include "win32/foreground_hook.h"

#include <optional>

#include "app/profile_switcher.h"
#include "win32/process_image.h"
#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

// The callback of a WinEvent hook carries no data of its own: the one hook is found here.
ForegroundHook::Listener* theListener = nullptr;

// The class name of the top-level window `window` belongs to.
std::string TopLevelClass(HWND window) {
  const HWND root = ::GetAncestor(window, GA_ROOT);
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(root != nullptr ? root : window, name, 256);
  return length > 0 ? ToUtf8(std::wstring(name, static_cast<std::size_t>(length))) : std::string();
}

// The program of a top-level window's process; nothing for the shell's windows and for processes
// that may not be asked.
std::optional<SystemWindow> ProgramOfWindow(HWND window) {
  if (window == nullptr || IsShellWindowClass(TopLevelClass(window))) {
    return std::nullopt;
  }
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  auto program = ImageFileName(processId);
  if (!program) {
    return std::nullopt;
  }
  SystemWindow front;
  front.program = std::move(*program);
  front.ownProcess = processId == ::GetCurrentProcessId();
  return front;
}

}  // namespace

std::optional<SystemWindow> ForegroundHook::WindowInFront() {
  return ProgramOfWindow(::GetForegroundWindow());
}

ForegroundHook::ForegroundHook(Listener listener) : listener_(std::move(listener)) {
  theListener = &listener_;
  foregroundHook_ = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                      &OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
  focusHook_ = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnEvent, 0, 0,
                                 WINEVENT_OUTOFCONTEXT);
}

ForegroundHook::~ForegroundHook() {
  for (HWINEVENTHOOK hook : {foregroundHook_, focusHook_}) {
    if (hook != nullptr) {
      ::UnhookWinEvent(hook);
    }
  }
  theListener = nullptr;
}

void CALLBACK ForegroundHook::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD,
                                      DWORD) {
  if ((event != EVENT_SYSTEM_FOREGROUND && event != EVENT_OBJECT_FOCUS) || theListener == nullptr) {
    return;
  }
  if (const auto front = ProgramOfWindow(window)) {
    (*theListener)(front->program, front->ownProcess);
  }
}

}  // namespace q8::win32
