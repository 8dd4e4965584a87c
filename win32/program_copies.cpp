#include "win32/program_copies.h"

#include <sddl.h>
#include <tlhelp32.h>

#include <string>

#include "app/main_window_host.h"
#include "win32/main_window.h"

namespace q8::win32 {
namespace {

std::wstring EndRequestName(DWORD processId) {
  return L"Global\\Tarnix Q8 end " + std::to_wstring(processId);
}

// The full path of a process's executable, or nothing.
std::wstring ExecutableOf(DWORD processId) {
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.Valid()) {
    return {};
  }
  std::wstring path(MAX_PATH * 4, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) {
    return {};
  }
  path.resize(length);
  return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The main window of `processId` on this session's desktop, if it has one.
HWND MainWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t className[64] = {};
        ::GetClassNameW(window, className, 64);
        if (owner == s.processId && std::wstring_view(className) == kMainWindowClass) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::vector<ProgramCopy> FindProgramCopies(const std::filesystem::path& program) {
  std::vector<ProgramCopy> copies;
  const UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) {
    return copies;
  }
  const std::wstring wanted = std::filesystem::absolute(program).wstring();
  const std::wstring name = program.filename().wstring();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
       more = ::Process32NextW(snapshot.Get(), &entry)) {
    // The file name first, which the list holds: only those processes are opened.
    if (!SamePath(entry.szExeFile, name) || !SamePath(ExecutableOf(entry.th32ProcessID), wanted)) {
      continue;
    }
    ProgramCopy copy{entry.th32ProcessID, 0};
    ::ProcessIdToSessionId(copy.processId, &copy.sessionId);
    copies.push_back(copy);
  }
  return copies;
}

bool RequestEnd(DWORD processId) {
  const UniqueHandle event(
      ::OpenEventW(EVENT_MODIFY_STATE, FALSE, EndRequestName(processId).c_str()));
  if (event.Valid()) {
    return ::SetEvent(event.Get()) != 0;
  }
  HWND window = MainWindowOf(processId);
  return window != nullptr &&
         ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(kCommandExit), 0) != 0;
}

EndRequestListener::EndRequestListener(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)) {
  // Full access for the system, the administrators (the setup program runs as one) and the
  // interactive users; nobody else may end the program this way.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;IU)", SDDL_REVISION_1, &descriptor, nullptr)) {
    return;
  }
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  event_.Reset(
      ::CreateEventW(&attributes, TRUE, FALSE, EndRequestName(::GetCurrentProcessId()).c_str()));
  ::LocalFree(descriptor);
  if (event_.Valid() &&
      !::RegisterWaitForSingleObject(&wait_, event_.Get(), &EndRequestListener::OnSignal, this,
                                     INFINITE, WT_EXECUTEONLYONCE)) {
    wait_ = nullptr;
  }
}

EndRequestListener::~EndRequestListener() {
  if (wait_ != nullptr) {
    // Waits for a callback that runs now: `this` must outlive it.
    ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  }
}

void CALLBACK EndRequestListener::OnSignal(void* context, BOOLEAN /*timedOut*/) {
  static_cast<EndRequestListener*>(context)->onRequest_();
}

}  // namespace q8::win32
