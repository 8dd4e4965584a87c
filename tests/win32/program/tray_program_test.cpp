// The tray program itself under Wine: started in a scratch folder with the simulated mouse, driven
// from outside through its window the way the tray and other programs reach it, and checked
// through its window, its exit code and the files it writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>

#include "ui/png_file.h"
#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"

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

// The page writes the trace has recorded so far.
int PageWrites(const fs::path& trace) {
  std::ifstream file(trace);
  int count = 0;
  for (std::string line; std::getline(file, line);) {
    count += line.rfind("set page", 0) == 0 ? 1 : 0;
  }
  return count;
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

}  // namespace
}  // namespace q8::test
