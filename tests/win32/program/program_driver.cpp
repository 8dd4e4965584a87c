#include "win32/program/program_driver.h"

#include <algorithm>

#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/tray_icon.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;

std::wstring CommandLine(const fs::path& program, const std::vector<std::wstring>& arguments) {
  std::wstring line = L"\"" + program.wstring() + L"\"";
  for (const std::wstring& argument : arguments) {
    line += L" \"" + argument + L"\"";
  }
  return line;
}

}  // namespace

fs::path BuildTree() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return fs::path(path).parent_path().parent_path();
}

ProgramFolder::ProgramFolder() {
  const fs::path build = BuildTree();
  for (const char* file : {"TarnixMouseApp.exe", "config.bin", "str.ini"}) {
    fs::copy_file(build / file, dir_ / file);
  }
  fs::copy(build / "Skins", dir_ / "Skins", fs::copy_options::recursive);
}

DWORD RunQ8ctl(const ProgramFolder& folder, const std::wstring& arguments) {
  const fs::path q8ctl = BuildTree() / "q8ctl.exe";
  std::wstring line = L"\"" + q8ctl.wstring() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  DWORD code = 99;
  if (::CreateProcessW(q8ctl.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.path().c_str(), &startup, &info)) {
    ::WaitForSingleObject(info.hProcess, 60000);
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
  return code;
}

RunningProgram::RunningProgram(const ProgramFolder& folder,
                               const std::vector<std::wstring>& arguments) {
  const fs::path program = folder / "TarnixMouseApp.exe";
  std::wstring line = CommandLine(program, arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.path().c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
  }
}

RunningProgram::~RunningProgram() {
  if (process_ == nullptr) {
    return;
  }
  if (Running()) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, 10000);
  }
  ::CloseHandle(process_);
}

HWND RunningProgram::WaitUntilReady(std::chrono::milliseconds limit) {
  if (process_ == nullptr) {
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline && Running()) {
    for (HWND window : MainWindows()) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == processId_) {
        ::WaitForInputIdle(process_, static_cast<DWORD>(limit.count()));
        Settle(window);
        return window;
      }
    }
    ::Sleep(50);
  }
  return nullptr;
}

// The modal loop signals its first idle moment before it shows a visible dialog the second time,
// which the window answers by hiding itself again: the start-up has ended once the window has
// answered several messages in a row without a change of its visibility.
void RunningProgram::Settle(HWND window) {
  constexpr int kQuietRounds = 4;
  bool visible = ::IsWindowVisible(window) != FALSE;
  for (int quiet = 0, round = 0; quiet < kQuietRounds && round < 100; ++round) {
    LRESULT ignored = 0;
    SendAndWait(window, WM_NULL, 0, 0, ignored);
    ::Sleep(100);
    const bool now = ::IsWindowVisible(window) != FALSE;
    quiet = now == visible ? quiet + 1 : 0;
    visible = now;
  }
}

std::optional<DWORD> RunningProgram::WaitForExit(std::chrono::milliseconds limit) {
  if (process_ == nullptr ||
      ::WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process_, &code);
  return code;
}

bool RunningProgram::Running() const {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> MainWindows() {
  std::vector<HWND> windows;
  HWND after = nullptr;
  while ((after = ::FindWindowExW(nullptr, after, win32::kMainWindowClass, nullptr)) != nullptr) {
    windows.push_back(after);
  }
  return windows;
}

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  DWORD_PTR result = 0;
  const bool answered =
      ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 20000, &result) != 0;
  answer = static_cast<LRESULT>(result);
  return answered;
}

bool ShowFromTray(HWND window) {
  ::PostMessageW(window, win32::kTrayCallbackMessage, 0, WM_LBUTTONUP);
  for (int i = 0; i < 400; ++i) {
    if (::IsWindowVisible(window)) {
      return true;
    }
    ::Sleep(50);
  }
  return false;
}

}  // namespace q8::test
