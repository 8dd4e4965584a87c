#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace q8::test {

// The build tree: the tests are built in its "tests" folder, the programs at its top.
std::filesystem::path BuildTree();

// A scratch copy of the built tray program: TarnixMouseApp.exe with config.bin, str.ini and both
// delivered skins beside it, as the build tree holds them.
class ProgramFolder {
 public:
  ProgramFolder();
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

 private:
  TempDir dir_;
};

// Runs q8ctl of the same build in the folder with `arguments`; its exit code.
DWORD RunQ8ctl(const ProgramFolder& folder, const std::wstring& arguments);

// One run of the tray program in a folder, driven from outside as other programs and the tray
// would: it is ended when the object ends if it has not ended by then.
class RunningProgram {
 public:
  RunningProgram(const ProgramFolder& folder, const std::vector<std::wstring>& arguments);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return process_ != nullptr; }
  // The program's main window once it has finished starting (it then waits for input), or null
  // when none appeared within `limit`.
  HWND WaitUntilReady(std::chrono::milliseconds limit = std::chrono::seconds(30));
  // The exit code once the program has ended, or nothing while it still runs after `limit`.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds limit);
  bool Running() const;
  DWORD ProcessId() const { return processId_; }

 private:
  static void Settle(HWND window);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// Another program, started with its window in front, ended with the object.
class OtherProgram {
 public:
  explicit OtherProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info_)) {
      ::WaitForInputIdle(info_.hProcess, 20000);
    }
  }
  ~OtherProgram() {
    if (info_.hProcess != nullptr) {
      ::TerminateProcess(info_.hProcess, 0);
      ::WaitForSingleObject(info_.hProcess, 10000);
      ::CloseHandle(info_.hThread);
      ::CloseHandle(info_.hProcess);
    }
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }

 private:
  PROCESS_INFORMATION info_{};
};

// The report-rate code the simulated mouse holds, once it becomes `code` or after ten seconds.
inline int MouseRateBecomes(const std::filesystem::path& state, int code) {
  int seen = -1;
  for (int i = 0; i < 200 && seen != code; ++i) {
    const auto bytes = ReadBytes(state);
    seen = bytes.empty() ? -1 : bytes[0];
    if (seen != code) {
      ::Sleep(50);
    }
  }
  return seen;
}

// Every window of the class "TarnixQ8Class", of any process.
std::vector<HWND> MainWindows();

// Sends `message` and waits for its answer (false when the window did not answer in 20 s).
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer);

// Shows the hidden window as a left click on the tray icon does, and waits until it is visible
// (false after 20 s). The click is posted, as the shell posts it: a sent one would be taken in the
// middle of a send the program makes itself (the tray tip or balloon of a profile's load) and find
// the load still running.
bool ShowFromTray(HWND window);

}  // namespace q8::test
