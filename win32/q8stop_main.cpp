// q8stop: ends every running copy of the tray program started from one file, in every session of
// the machine, before the setup program or the uninstaller replaces or removes that file. Each
// copy is first asked to end as the tray menu's Exit ends it (which lets a write of the mouse or a
// save finish); a copy still running after SECONDS (10 unless given) is ended by force.
//   q8stop PROGRAM [SECONDS]
// Prints a line for each copy. Exit status: 0 when none runs any more, 1 when a copy could not be
// ended (each is named with its session), 2 for a usage error.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "win32/program_copies.h"
#include "win32/unique_handle.h"

namespace {

using q8::win32::ProgramCopy;
using q8::win32::UniqueHandle;

// An administrator may open other accounts' processes to end them once this right is on.
void EnableDebugRight() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
    ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  ::CloseHandle(token);
}

bool EndedWithin(const UniqueHandle& process, DWORD ms) {
  return process.Valid() && ::WaitForSingleObject(process.Get(), ms) == WAIT_OBJECT_0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    std::fwprintf(stderr, L"usage: q8stop PROGRAM [SECONDS]\n");
    return 2;
  }
  const DWORD waitMs =
      argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000 : 10000;
  EnableDebugRight();
  const std::vector<ProgramCopy> copies = q8::win32::FindProgramCopies(argv[1]);
  std::vector<UniqueHandle> processes;
  for (const ProgramCopy& copy : copies) {
    processes.emplace_back(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, copy.processId));
    const bool asked = q8::win32::RequestEnd(copy.processId);
    std::wprintf(L"%ls process %lu in session %lu\n",
                 asked ? L"asked to end:" : L"cannot be asked:", copy.processId, copy.sessionId);
  }
  const DWORD start = ::GetTickCount();
  int remaining = 0;
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const DWORD waited = ::GetTickCount() - start;
    if (EndedWithin(processes[i], waited < waitMs ? waitMs - waited : 0)) {
      continue;
    }
    if (processes[i].Valid() && ::TerminateProcess(processes[i].Get(), 1) &&
        EndedWithin(processes[i], 5000)) {
      std::wprintf(L"ended by force: process %lu in session %lu\n", copies[i].processId,
                   copies[i].sessionId);
      continue;
    }
    std::wprintf(L"could not end: process %lu in session %lu\n", copies[i].processId,
                 copies[i].sessionId);
    ++remaining;
  }
  std::fflush(stdout);
  return remaining == 0 ? 0 : 1;
}
