#include "win32/program_copies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <future>
#include <string>

namespace q8::win32 {
namespace {

std::filesystem::path ThisProgram() {
  wchar_t path[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  return path;
}

bool HasProcess(const std::vector<ProgramCopy>& copies, DWORD processId) {
  return std::any_of(copies.begin(), copies.end(),
                     [&](const ProgramCopy& c) { return c.processId == processId; });
}

// The setup program finds the copies of one program file in any session (Wine has one session:
// the finder's session is checked against the system's answer for the process), whatever the
// letter case of the path it is given, and no process of another file.
TEST(ProgramCopiesTest, FindsEveryProcessOfTheProgramFileWithItsSession) {
  const std::filesystem::path program = ThisProgram();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child{};
  std::wstring commandLine = L"\"" + program.wstring() + L"\" --gtest_list_tests";
  ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED, nullptr, nullptr, &startup, &child));

  std::wstring upper = program.wstring();
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  const auto copies = FindProgramCopies(upper);
  EXPECT_TRUE(HasProcess(copies, ::GetCurrentProcessId()));
  EXPECT_TRUE(HasProcess(copies, child.dwProcessId)) << "a copy that has not run yet";
  for (const ProgramCopy& copy : copies) {
    DWORD session = 0;
    ASSERT_TRUE(::ProcessIdToSessionId(copy.processId, &session));
    EXPECT_EQ(copy.sessionId, session);
  }
  EXPECT_TRUE(FindProgramCopies(program.parent_path() / "TarnixMouseApp.exe").empty());

  ::TerminateProcess(child.hProcess, 0);
  ::WaitForSingleObject(child.hProcess, 5000);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  EXPECT_FALSE(HasProcess(FindProgramCopies(program), child.dwProcessId));
}

// A copy's end request reaches it by its process id alone, as it does from another session; a
// process that listens for none is not reached that way.
TEST(ProgramCopiesTest, AnEndRequestReachesTheCopyThatListensForIt) {
  std::promise<void> requested;
  EndRequestListener listener([&] { requested.set_value(); });
  ASSERT_TRUE(listener.Listening());
  EXPECT_TRUE(RequestEnd(::GetCurrentProcessId()));
  EXPECT_EQ(requested.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);

  EXPECT_FALSE(RequestEnd(::GetCurrentProcessId() + 4000)) << "no copy, no window";
}

}  // namespace
}  // namespace q8::win32
