// The profiles dialog in the running tray program under Wine, driven with real mouse and keyboard
// input from this process: opened from the tray menu's Profiles submenu, a profile saved from the
// current settings under a typed name, a running program (Wine's notepad) picked for a rule that
// then switches when notepad comes to the front, and a delete that asks first. The program runs
// with a bare --simulate: its mouse is simulated-mouse.bin beside config.bin.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "dialogs/profiles_dialog.h"
#include "win32/message_params.h"
#include "win32/program/program_driver.h"
#include "win32/tray_icon.h"
#include "win32/user_input.h"

namespace q8::test {
namespace {

namespace fs = std::filesystem;
using D = CProfilesDialog;

Point Centre(Rect r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The message box `owner` shows, once it appeared.
HWND WaitForBox(HWND owner) {
  HWND box = nullptr;
  Eventually(
      [&] {
        for (box = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box != nullptr;
             box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) {
          if (::GetWindow(box, GW_OWNER) == owner && ::IsWindowVisible(box)) {
            return true;
          }
        }
        return false;
      },
      5s);
  return box;
}

class ProfilesDialogProgramTest : public ::testing::Test {
 protected:
  ProfilesDialogProgramTest() : program(folder, {L"--simulate"}) {
    window = program.WaitUntilReady();
  }
  ~ProfilesDialogProgramTest() override {
    if (window != nullptr && program.Running()) {
      ::PostMessageW(window, WM_COMMAND, kCommandExit, 0);
      program.WaitForExit(20s);
    }
  }

  // The tray menu as a right click on the icon opens it, then the keyboard: Profiles, into its
  // submenu, up to its last entry "Manage profiles…", chosen.
  HWND OpenDialog() {
    ::PostMessageW(window, win32::kTrayCallbackMessage, 0, 0x205);
    std::this_thread::sleep_for(800ms);
    for (const WORD key : {VK_DOWN, VK_RIGHT, VK_UP, VK_RETURN}) {
      Press(key);
    }
    return WaitForDialog(D::kTemplateId);
  }

  // A report rate chosen on the page and applied, as the user does it.
  void ApplyRate(int x, int code) {
    LRESULT answer = 0;
    if (!::IsWindowVisible(window)) {
      ASSERT_TRUE(ShowFromTray(window));
    }
    SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(x, 209), answer);
    SendAndWait(window, WM_LBUTTONDOWN, MK_LBUTTON, win32::PackPoint(700, 630), answer);  // Apply
    EXPECT_EQ(MouseRateBecomes(mouse, code), code);
  }

  void ChooseProfile(HWND dialog, int index) {
    HWND list = ::GetDlgItem(dialog, D::kProfileList);
    ASSERT_NE(list, nullptr);
    ClickAt(dialog, ItemCentre(list, index, dialog));
    ASSERT_TRUE(Eventually([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == index; }));
  }

  ProgramFolder folder;
  RunningProgram program;
  HWND window = nullptr;
  fs::path mouse = folder / "simulated-mouse.bin";
  fs::path profiles = folder / "Profiles";
};

TEST_F(ProfilesDialogProgramTest, SaveARuleFromARunningProgramThatSwitchesThenDeleteAfterAsking) {
  ASSERT_NE(window, nullptr);
  ApplyRate(649, 4);  // 250 Hz

  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr) << "Manage profiles… opens the dialog";
  ClickAt(dialog, Centre(D::kNameEditRect));
  for (const WORD letter : {'R', 'A', 'C', 'I', 'N', 'G'}) {
    Press(letter);
  }
  ClickAt(dialog, Centre(D::kButtonRegions[D::kSaveAs]));
  ASSERT_TRUE(Eventually([&] { return fs::exists(profiles / "racing.ini"); }));
  EXPECT_NE(FileText(profiles / "racing.ini").find("ReportRate=250 Hz"), std::string::npos);
  Screenshot(dialog, "profiles");
  ClickAt(dialog, Centre(D::kButtonRegions[D::kClose]));
  ASSERT_TRUE(Eventually([&] { return !::IsWindow(dialog); }));

  ApplyRate(793, 1);  // 1000 Hz
  {
    OtherProgram notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    ChooseProfile(dialog, 0);
    ClickAt(dialog, Centre(D::kProgramDrop));
    HWND programs = nullptr;
    ASSERT_TRUE(
        Eventually([&] { return (programs = ::GetDlgItem(dialog, D::kProgramList)) != nullptr; }));
    const auto items = ListItems(programs);
    const auto notepadItem = std::find(items.begin(), items.end(), "notepad.exe");
    ASSERT_NE(notepadItem, items.end()) << "notepad.exe is among the programs with windows";
    EXPECT_EQ(std::find(items.begin(), items.end(), "TarnixMouseApp.exe"), items.end());
    const Point at = ItemCentre(programs, static_cast<int>(notepadItem - items.begin()), dialog);
    MoveTo(dialog, at);
    ClickAt(dialog, at);
    ASSERT_TRUE(Eventually([&] { return !::IsWindow(programs); }));
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, D::kProgramBox)), "notepad.exe");
    Screenshot(dialog, "profiles-program");
    ClickAt(dialog, Centre(D::kButtonRegions[D::kSetRule]));
    ASSERT_TRUE(Eventually([&] {
      return FileText(profiles / "rules.ini").find("notepad.exe=racing") != std::string::npos;
    }));
    EXPECT_EQ(MouseRateBecomes(mouse, 4), 4) << "notepad, in front before, gets racing at once";
    // The dialog shows the rule once the load it set off has ended.
    EXPECT_TRUE(
        Eventually([&] { return ListItems(::GetDlgItem(dialog, D::kRuleList)).size() == 1; }, 10s));
    Screenshot(dialog, "profiles-rule");
    ClickAt(dialog, Centre(D::kButtonRegions[D::kClose]));
    ASSERT_TRUE(Eventually([&] { return !::IsWindow(dialog); }));
  }
  {
    OtherProgram notepad(L"notepad.exe");  // comes to the front
    ASSERT_TRUE(notepad.Started());
    EXPECT_EQ(MouseRateBecomes(mouse, 4), 4) << "notepad in front: racing, 250 Hz";
  }

  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ChooseProfile(dialog, 0);
  ClickAt(dialog, Centre(D::kButtonRegions[D::kDelete]));
  HWND question = WaitForBox(dialog);
  ASSERT_NE(question, nullptr) << "Delete asks first";
  EXPECT_TRUE(fs::exists(profiles / "racing.ini"));
  Screenshot(question, "profiles-delete-question");
  Press(VK_RETURN);  // Yes
  EXPECT_TRUE(Eventually([&] { return !fs::exists(profiles / "racing.ini"); }));
  // The rules are edited after the file is gone, which this test may see in between.
  EXPECT_TRUE(Eventually([&] {
    return FileText(profiles / "rules.ini").find("racing") == std::string::npos;
  })) << "its rule went with it";
  ClickAt(dialog, Centre(D::kButtonRegions[D::kClose]));
  EXPECT_TRUE(program.Running());
}

}  // namespace
}  // namespace q8::test
