// The tray program itself under Wine: started in a scratch folder with the simulated mouse, driven
// from outside through its window the way the tray and other programs reach it, and checked
// through its window, its exit code and the files it writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device/mouse_state_file.h"
#include "ui/png_file.h"
#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"
#include "win32/user_input.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr LPARAM kLeftButtonUp = 0x202;
constexpr Point kApplyArea{700, 630};
constexpr Point kCloseArea{855, 10};

const std::vector<std::wstring> kSimulatedMouse = {L"--simulate=mouse-state.bin",
                                                   L"--trace=wire.trace"};

LPARAM At(Point point) {
  return win32::PackPoint(point.x, point.y);
}

// The lines of the trace that start with `start` ("set page": the pages written so far).
int TraceLines(const fs::path& trace, std::string_view start) {
  std::ifstream file(trace);
  int count = 0;
  for (std::string line; std::getline(file, line);) {
    count += line.starts_with(start) ? 1 : 0;
  }
  return count;
}

int PageWrites(const fs::path& trace) {
  return TraceLines(trace, "set page");
}

int PageReads(const fs::path& trace) {
  return TraceLines(trace, "get page");
}

// The visible message boxes of the program's thread, by caption.
std::vector<std::wstring> MessageBoxesOf(HWND window) {
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  std::vector<std::wstring> captions;
  ::EnumThreadWindows(
      thread,
      [](HWND candidate, LPARAM found) {
        wchar_t name[16] = {};
        ::GetClassNameW(candidate, name, 16);
        if (std::wstring_view(name) == L"#32770" && ::IsWindowVisible(candidate)) {
          wchar_t caption[64] = {};
          ::GetWindowTextW(candidate, caption, 64);
          reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(caption);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&captions));
  return captions;
}

// Dates a file back by a day, so that a later write shows in its time.
fs::file_time_type Backdate(const fs::path& file) {
  const fs::file_time_type old = fs::last_write_time(file) - 24h;
  fs::last_write_time(file, old);
  return old;
}

Rect ClientOf(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return {client.left, client.top, client.right, client.bottom};
}

TEST(TrayProgramTest, StartsHiddenOpensFromTheTrayAppliesAndEndsThroughTheCloseArea) {
  ProgramFolder folder;
  RunningProgram program(folder, kSimulatedMouse);
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitUntilReady();
  ASSERT_NE(window, nullptr) << "the program made no TarnixQ8Class window";

  EXPECT_FALSE(::IsWindowVisible(window)) << "start-up ends in the notification area";
  EXPECT_TRUE(program.Running());

  LRESULT answer = -1;
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(::IsWindowVisible(window));
  const auto background = ReadImageFile(folder / "Skins/Default/main.png");
  ASSERT_TRUE(background.has_value());
  const auto facts = InspectPng(*background);
  ASSERT_TRUE(facts.has_value());
  EXPECT_EQ(ClientOf(window), (Rect{0, 0, facts->width, facts->height}));
  // Named after the program for the task bar and the task switcher, with no caption bar drawn.
  EXPECT_EQ(TextOf(window), "Tarnix Q8");
  EXPECT_EQ(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);

  // A report-rate switch announced by another program: answered 0, nothing else changes.
  ASSERT_TRUE(SendAndWait(window, win32::kStatusNotifyMessage, 5, 1, answer));
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(::IsWindowVisible(window));

  const fs::file_time_type configBefore = Backdate(folder / "config.bin");
  const fs::file_time_type mouseBefore = Backdate(folder / "mouse-state.bin");
  const int writesBefore = PageWrites(folder / "wire.trace");
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, At(kApplyArea), answer));
  EXPECT_EQ(PageWrites(folder / "wire.trace"), writesBefore + 5) << "Apply writes five pages";
  EXPECT_GT(fs::last_write_time(folder / "mouse-state.bin"), mouseBefore);
  EXPECT_GT(fs::last_write_time(folder / "config.bin"), configBefore);
  EXPECT_TRUE(::IsWindowVisible(window)) << "Apply keeps the window";

  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(kCloseArea));
  EXPECT_EQ(program.WaitForExit(20s), std::optional<DWORD>(0));
}

TEST(TrayProgramTest, ASecondCopyEndsAtOnceAndLeavesTheFirstAsItWas) {
  ProgramFolder folder;
  RunningProgram first(folder, kSimulatedMouse);
  HWND window = first.WaitUntilReady();
  ASSERT_NE(window, nullptr);
  const fs::file_time_type configBefore = Backdate(folder / "config.bin");
  const int writesBefore = PageWrites(folder / "wire.trace");

  RunningProgram second(folder, kSimulatedMouse);
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(30s), std::optional<DWORD>(0));

  EXPECT_TRUE(first.Running());
  EXPECT_EQ(MainWindows(), std::vector<HWND>{window});
  EXPECT_FALSE(::IsWindowVisible(window)) << "the first copy is not shown";
  EXPECT_EQ(fs::last_write_time(folder / "config.bin"), configBefore);
  EXPECT_EQ(PageWrites(folder / "wire.trace"), writesBefore);

  // The tray menu's Exit ends the first copy with 0 too.
  ::PostMessageW(window, WM_COMMAND, kCommandExit, 0);
  EXPECT_EQ(first.WaitForExit(20s), std::optional<DWORD>(0));
}

// The simulated mouse's cable pulled and put back from outside while the program runs: it hears
// of it through the system's device notifications and acts as it does for a real mouse.
TEST(TrayProgramTest, TheMouseUnpluggedAndPluggedBackFromOutsideAlsoInTheMiddleOfApply) {
  ProgramFolder folder;
  RunningProgram program(folder, kSimulatedMouse);
  HWND window = program.WaitUntilReady();
  ASSERT_NE(window, nullptr);
  const fs::path trace = folder / "wire.trace";
  LRESULT answer = -1;
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  ASSERT_TRUE(::IsWindowVisible(window));

  // Unplugged while the window is shown: the window goes, and the tray warns instead of
  // showing it.
  ASSERT_EQ(RunQ8ctl(folder, L"--simulate=mouse-state.bin unplug"), 0u);
  EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(window); }, 10s));
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  EXPECT_FALSE(::IsWindowVisible(window)) << "without the mouse the tray shows no window";

  // Plugged back: the mouse is read again, and the window comes from the tray.
  int reads = PageReads(trace);
  ASSERT_EQ(RunQ8ctl(folder, L"--simulate=mouse-state.bin plug"), 0u);
  EXPECT_TRUE(Eventually([&] { return PageReads(trace) == reads + 5; }, 10s));
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  EXPECT_TRUE(::IsWindowVisible(window));

  // Unplugged in the middle of Apply, once the first page has gone out.
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, At({620, 210}), answer));  // 250
  const fs::file_time_type configBefore = Backdate(folder / "config.bin");
  const int writes = PageWrites(trace);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(kApplyArea));
  ASSERT_TRUE(Eventually([&] { return PageWrites(trace) > writes; }, 10s));
  ASSERT_FALSE(SetSimulatedMousePlugged(folder / "mouse-state.bin", false));
  ASSERT_TRUE(Eventually([&] { return !MessageBoxesOf(window).empty(); }, 10s));
  EXPECT_EQ(MessageBoxesOf(window), std::vector<std::wstring>{L"WriteOperation"});
  ::SendMessageW(::FindWindowW(L"#32770", L"WriteOperation"), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(window); }, 10s));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(MessageBoxesOf(window).empty()) << "one message, no more";
  EXPECT_TRUE(program.Running());
  EXPECT_GT(fs::last_write_time(folder / "config.bin"), configBefore) << "config.bin is saved";

  // Plugged back, the next Apply writes the mouse whole: it then holds what q8ctl's apply of the
  // same config.bin gives.
  reads = PageReads(trace);
  ASSERT_EQ(RunQ8ctl(folder, L"--simulate=mouse-state.bin plug"), 0u);
  ASSERT_TRUE(Eventually([&] { return PageReads(trace) == reads + 5; }, 10s));
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  ASSERT_TRUE(SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, At(kApplyArea), answer));
  EXPECT_TRUE(MessageBoxesOf(window).empty());
  fs::copy_file(folder / "mouse-state.bin", folder / "expected-state.bin");
  ASSERT_EQ(RunQ8ctl(folder, L"--simulate=expected-state.bin apply --config config.bin"), 0u);
  EXPECT_EQ(ReadBytes(folder / "mouse-state.bin"), ReadBytes(folder / "expected-state.bin"));
  EXPECT_EQ(ReadBytes(folder / "mouse-state.bin").at(0), 4) << "250 Hz";

  ::PostMessageW(window, WM_COMMAND, kCommandExit, 0);
  EXPECT_EQ(program.WaitForExit(20s), std::optional<DWORD>(0));
}

// Exit from the tray menu while a box or a dialog runs its own loop over the window: the process
// must end at once, or it keeps the single-instance mutex and every new start ends silently.
// Exit from the tray menu while a press on `press` has opened a box or a dialog; `sent`: the press
// arrives as a sent message still waiting for its answer. One test each, as each starts the
// program twice: side by side they take the time of one.
void ExitEndsTheProgramAtOnceWhileOpenedBy(Point press, bool sent) {
  ProgramFolder folder;
  RunningProgram program(folder, kSimulatedMouse);
  HWND window = program.WaitUntilReady();
  ASSERT_NE(window, nullptr);
  LRESULT answer = -1;
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  if (sent) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(press), SMTO_NORMAL, 300,
                          &ignored);
  } else {
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(press));
  }
  // A box or a dialog disables the window it belongs to while it runs.
  ASSERT_TRUE(Eventually([&] { return !::IsWindowEnabled(window); }, 10s));

  // At once: under Wine without a notification area, deleting the tray icon alone waits two
  // seconds for an answer that never comes.
  ::PostMessageW(window, WM_COMMAND, kCommandExit, 0);
  EXPECT_EQ(program.WaitForExit(4s), std::optional<DWORD>(0));

  RunningProgram next(folder, kSimulatedMouse);
  HWND nextWindow = next.WaitUntilReady();
  ASSERT_NE(nextWindow, nullptr) << "a new start ends at once";
  ASSERT_TRUE(SendAndWait(nextWindow, win32::kTrayCallbackMessage, 0, kLeftButtonUp, answer));
  EXPECT_TRUE(::IsWindowVisible(nextWindow));
  ::PostMessageW(nextWindow, WM_COMMAND, kCommandExit, 0);
  EXPECT_EQ(next.WaitForExit(20s), std::optional<DWORD>(0));
}

constexpr Point kLeftClickKey{300, 209};  // key row 1, the only Left Click: a warning
constexpr Point kSkinsArea{710, 14};

TEST(TrayProgramTest, ExitEndsTheProgramAtOnceWhileTheLeftClickWarningIsOpen) {
  ExitEndsTheProgramAtOnceWhileOpenedBy(kLeftClickKey, false);
}

TEST(TrayProgramTest, ExitEndsTheProgramAtOnceWhileAWarningOpenedFromASentMessageIsOpen) {
  ExitEndsTheProgramAtOnceWhileOpenedBy(kLeftClickKey, true);
}

TEST(TrayProgramTest, ExitEndsTheProgramAtOnceWhileTheSkinChooserIsOpen) {
  ExitEndsTheProgramAtOnceWhileOpenedBy(kSkinsArea, false);
}

}  // namespace
}  // namespace q8::test
