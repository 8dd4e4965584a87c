// The settings page of the tray program under Wine, driven from outside as a user would: presses
// on the page's areas and choices in its native lists, checked through the files the program
// writes, the simulated mouse's memory and q8ctl's description of the saved settings.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/device_config.h"
#include "support/temp_dir.h"
#include "win32/main_window.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"
#include "win32/user_input.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr Point kKeyBox2{300, 230};
constexpr Point kRate250{620, 210};
constexpr Point kRate1000{790, 210};
constexpr Point kStage1Value{600, 330};
constexpr Point kLightingMode{800, 338};
constexpr Point kApply{700, 630};
constexpr Point kCancel{800, 630};
constexpr Point kClose{855, 10};

// What the screen shows of the report-rate stop whose left edge is at `left`.
std::vector<COLORREF> StopOnScreen(HWND window, int left) {
  std::vector<COLORREF> pixels;
  for (int y = 204; y < 215; ++y) {
    for (int x = left; x < left + 70; ++x) {
      pixels.push_back(ScreenPixel(window, {x, y}));
    }
  }
  return pixels;
}

void Press(HWND window, Point point) {
  LRESULT answer = 0;
  ASSERT_TRUE(
      SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(point.x, point.y), answer));
}

void ShowFromTray(HWND window) {
  LRESULT answer = 0;
  ASSERT_TRUE(SendAndWait(window, win32::kTrayCallbackMessage, 0, WM_LBUTTONUP, answer));
}

// Picks entry `index` of the window's list `id` as a click in the list would.
void Choose(HWND window, int id, int index) {
  HWND list = ::GetDlgItem(window, id);
  ASSERT_NE(list, nullptr) << "list " << id << " is not open";
  LRESULT answer = 0;
  ASSERT_TRUE(SendAndWait(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, answer));
  ASSERT_TRUE(SendAndWait(window, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(list), answer));
}

std::uint8_t SavedByte(const ProgramFolder& folder, std::size_t offset) {
  return ReadBytes(folder / "config.bin").at(1 + offset);  // behind the flag byte
}

// What q8ctl of the same build says of the folder's config.bin with its simulated mouse.
std::string Q8ctlShow(const ProgramFolder& folder) {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  const fs::path q8ctl = fs::path(self).parent_path().parent_path() / "q8ctl.exe";
  const fs::path output = folder / "show.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE file = ::CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return {};
  }
  std::wstring line =
      L"\"" + q8ctl.wstring() + L"\" --simulate=mouse-state.bin show --config config.bin";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = file;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(q8ctl.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       folder.path().c_str(), &startup, &info)) {
    ::WaitForSingleObject(info.hProcess, 60000);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
  ::CloseHandle(file);
  return ReadText(output);
}

TEST(SettingsPageProgramTest, EditsOnThePageReachTheMouseAndConfigBinAndCancelDropsTheRest) {
  ProgramFolder folder;
  RunningProgram program(folder, {L"--simulate=mouse-state.bin"});
  HWND window = program.WaitUntilReady();
  ASSERT_NE(window, nullptr);
  ShowFromTray(window);

  Press(window, kKeyBox2);
  Choose(window, 42, 2);  // Mid Click
  EXPECT_EQ(::GetDlgItem(window, 42), nullptr) << "a choice closes the key list";
  Press(window, kRate250);
  // Every stop but the chosen one shows the dark image on the same ground: 1000 Hz, chosen
  // before, keeps nothing of the light knob and looks like 125, which never was.
  EXPECT_EQ(StopOnScreen(window, 758), StopOnScreen(window, 542));
  EXPECT_NE(StopOnScreen(window, 614), StopOnScreen(window, 542));
  Press(window, kStage1Value);
  Choose(window, 59, 3);
  Press(window, kLightingMode);
  Choose(window, 60, 2);  // Respiration
  HWND modeText = ::GetDlgItem(window, 80);
  ASSERT_NE(modeText, nullptr);
  wchar_t text[64] = {};
  ::GetWindowTextW(modeText, text, 64);
  EXPECT_EQ(std::wstring(text), L"Respiration");
  Press(window, kApply);

  EXPECT_EQ(ReadBytes(folder / "mouse-state.bin").at(0), 4) << "the mouse runs at 250 Hz";
  EXPECT_EQ(SavedByte(folder, field::ReportRateCode.offset), 4);
  EXPECT_EQ(SavedByte(folder, field::KeyFunction.offset + 1), 2);
  EXPECT_EQ(SavedByte(folder, field::DpiStageLevel.offset), 3);
  EXPECT_EQ(SavedByte(folder, field::LightingMode.offset), 2);

  // Cancel drops the edits since Apply; the next Apply sends the applied state again.
  Press(window, kRate1000);
  Press(window, kCancel);
  EXPECT_FALSE(::IsWindowVisible(window));
  ShowFromTray(window);
  Press(window, kApply);
  EXPECT_EQ(SavedByte(folder, field::ReportRateCode.offset), 4);
  EXPECT_EQ(ReadBytes(folder / "mouse-state.bin").at(0), 4);

  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(kClose.x, kClose.y));
  ASSERT_EQ(program.WaitForExit(20s), std::optional<DWORD>(0));
  const std::string shown = Q8ctlShow(folder);
  EXPECT_NE(shown.find("report rate: 250 Hz"), std::string::npos) << shown;
  EXPECT_NE(shown.find("button 2: Mid Click"), std::string::npos) << shown;
  EXPECT_NE(shown.find("1: 1600 DPI"), std::string::npos) << shown;  // level 3 of the sensor
  EXPECT_NE(shown.find("lighting: Respiration"), std::string::npos) << shown;
}

}  // namespace
}  // namespace q8::test
