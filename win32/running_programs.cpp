#include "win32/running_programs.h"

#include <windows.h>

#include <algorithm>

#include "app/profile_switcher.h"
#include "win32/process_image.h"
#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

bool IsProgramWindow(HWND window) {
  if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr ||
      (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
    return false;
  }
  wchar_t name[256] = {};
  const int length = ::GetClassNameW(window, name, 256);
  return length <= 0 ||
         !IsShellWindowClass(ToUtf8(std::wstring(name, static_cast<std::size_t>(length))));
}

BOOL CALLBACK CollectProgram(HWND window, LPARAM list) {
  if (IsProgramWindow(window)) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != ::GetCurrentProcessId()) {
      if (auto program = ImageFileName(processId)) {
        reinterpret_cast<std::vector<std::string>*>(list)->push_back(std::move(*program));
      }
    }
  }
  return TRUE;
}

}  // namespace

std::vector<std::string> Win32RunningPrograms::ProgramsWithWindows() {
  std::vector<std::string> programs;
  ::EnumWindows(&CollectProgram, reinterpret_cast<LPARAM>(&programs));
  std::sort(programs.begin(), programs.end());
  programs.erase(std::unique(programs.begin(), programs.end()), programs.end());
  return programs;
}

}  // namespace q8::win32
