#include "dialogs/profiles_dialog.h"

#include <gmock/gmock.h>

#include "dialog_fixture.h"

namespace q8 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using D = CProfilesDialog;
using Status = ProfileOutcome::Status;

Point Centre(Rect r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
Point ButtonAt(D::Button button) {
  return Centre(D::kButtonRegions[button]);
}

// The tray program's profiles as the dialog reaches them: every action is logged as a line, and
// answered from `answers` (done when none is queued).
class FakeProfiles final : public ProfilesPort {
 public:
  std::vector<std::string> Profiles() const override { return names; }
  ProfileRules Rules() const override { return rules; }
  std::optional<std::string> ActiveProfile() const override { return active; }

  ProfileOutcome SaveCurrentAs(std::string_view name, bool replace) override {
    return Act("save " + std::string(name) + (replace ? " replacing" : ""));
  }
  ProfileOutcome Rename(std::string_view from, std::string_view to) override {
    return Act("rename " + std::string(from) + " " + std::string(to));
  }
  ProfileOutcome Delete(std::string_view name) override {
    return Act("delete " + std::string(name));
  }
  ProfileOutcome Import(const std::filesystem::path& file, bool replace) override {
    return Act("import " + file.generic_string() + (replace ? " replacing" : ""));
  }
  ProfileOutcome Export(std::string_view name, const std::filesystem::path& file) override {
    return Act("export " + std::string(name) + " " + file.generic_string());
  }
  ProfileOutcome SetRule(std::string_view program, std::string_view profile) override {
    return Act("rule " + std::string(program) + " " + std::string(profile));
  }
  ProfileOutcome RemoveRule(std::string_view program) override {
    return Act("remove rule " + std::string(program));
  }
  ProfileOutcome SetDefault(std::string_view profile) override {
    return Act("default " + std::string(profile));
  }

  std::vector<std::string> names{"Desktop", "Racing"};
  ProfileRules rules{{{"game.exe", "Racing"}}, "Desktop"};
  std::optional<std::string> active = "Racing";
  std::vector<ProfileOutcome> answers;
  std::vector<std::string> calls;

 private:
  ProfileOutcome Act(std::string call) {
    calls.push_back(std::move(call));
    if (answers.empty()) {
      return {};
    }
    ProfileOutcome answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

class FakePrograms final : public RunningProgramsPort {
 public:
  std::vector<std::string> ProgramsWithWindows() override { return programs; }
  std::vector<std::string> programs{"editor", "game.exe"};
};

class ProfilesDialogTest : public test::DialogTest {
 protected:
  void Open() { DialogTest::Open(dialog); }
  void Press(Point p) { Click(dialog, p); }
  void Choose(ControlId list, int item) {
    host.SetListSelection(list, item);
    dialog.OnListNotification(list, ListEvent::kSelectionChange);
  }

  FakeProfiles profiles;
  FakePrograms programs;
  CProfilesDialog dialog{environment, profiles, programs};
};

// A button that acted on another profile than the one chosen, or replaced or deleted a profile
// without asking, would lose a user's profile; a refusal not shown would leave the user guessing.
TEST_F(ProfilesDialogTest, ProfileButtonsActOnTheChosenProfileAndAskBeforeReplacingOrDeleting) {
  Open();
  EXPECT_EQ(host.width, 1);  // the fake decoder's background: one pixel
  EXPECT_THAT(Items(D::kProfileList), ElementsAre("Desktop", "Racing (active)"));
  EXPECT_THAT(Items(D::kRuleList), ElementsAre("game.exe: Racing"));
  EXPECT_EQ(host.Find(D::kDefaultBox)->text, "Desktop");
  EXPECT_NE(std::find(host.drawLog.begin(), host.drawLog.end(), "text Active: Racing"),
            host.drawLog.end());

  host.Type(D::kNameEdit, "Fast");
  Press(ButtonAt(D::kSaveAs));
  profiles.answers = {{Status::kClash, "there is a profile named 'Racing' already"}};
  host.Type(D::kNameEdit, "racing");
  host.answerYes = false;
  Press(ButtonAt(D::kSaveAs));  // kept: asked, nothing more
  profiles.answers = {{Status::kClash, "there is a profile named 'Racing' already"}};
  host.answerYes = true;
  Press(ButtonAt(D::kSaveAs));
  EXPECT_THAT(profiles.calls,
              ElementsAre("save Fast", "save racing", "save racing", "save racing replacing"));
  EXPECT_THAT(host.questions,
              ElementsAre("Replace the profile \"racing\"?", "Replace the profile \"racing\"?"));

  profiles.calls.clear();
  host.Find(D::kProfileList)->selection.reset();
  Press(ButtonAt(D::kRename));
  Press(ButtonAt(D::kDelete));
  Press(ButtonAt(D::kExport));
  EXPECT_THAT(profiles.calls, IsEmpty());
  EXPECT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text, "Choose a profile in the list first.");

  Choose(D::kProfileList, 0);
  EXPECT_EQ(host.Find(D::kNameEdit)->text, "Desktop");  // the rename starts from its name
  host.Type(D::kNameEdit, "Office");
  Press(ButtonAt(D::kRename));
  Choose(D::kProfileList, 1);
  host.answerYes = false;
  Press(ButtonAt(D::kDelete));
  host.answerYes = true;
  profiles.answers = {{Status::kFailed, "cannot delete /p/Racing.ini: Permission denied"}};
  Press(ButtonAt(D::kDelete));
  EXPECT_THAT(profiles.calls, ElementsAre("rename Desktop Office", "delete Racing"));
  EXPECT_EQ(host.questions.back(), "Delete the profile \"Racing\" and the rules that use it?");
  EXPECT_EQ(host.messages.back().text, "cannot delete /p/Racing.ini: Permission denied");
  EXPECT_EQ(host.messages.back().caption, "Profiles");

  // The system's file dialogs: nothing happens on Cancel.
  profiles.calls.clear();
  Press(ButtonAt(D::kImport));
  host.chosenFile = "/home/u/Shared.ini";
  profiles.answers = {{Status::kClash, "there is a profile named 'Shared' already"}};
  Press(ButtonAt(D::kImport));
  Choose(D::kProfileList, 0);
  host.chosenFile = "/home/u/out.ini";
  Press(ButtonAt(D::kExport));
  EXPECT_THAT(profiles.calls,
              ElementsAre("import /home/u/Shared.ini", "import /home/u/Shared.ini replacing",
                          "export Desktop /home/u/out.ini"));
  ASSERT_EQ(host.fileChoices.size(), 3u);
  EXPECT_EQ(host.fileChoices[0].purpose, FileChoice::Purpose::kOpen);
  EXPECT_EQ(host.fileChoices[0].pattern, "*.ini");
  EXPECT_EQ(host.fileChoices[2].purpose, FileChoice::Purpose::kSave);
  EXPECT_EQ(host.fileChoices[2].suggestedName, "Desktop.ini");

  Press(ButtonAt(D::kClose));
  EXPECT_EQ(host.ended, DialogResult::kOk);
}

// A rule written for another program than the one picked, or for another profile than the one
// chosen, would switch the wrong program; the default's list offers "(none)" first.
TEST_F(ProfilesDialogTest, RulesTakeAPickedOrBrowsedProgramAndTheChosenProfile) {
  state.language = UiLanguage::CHS;
  Open();
  EXPECT_THAT(Items(D::kProfileList), ElementsAre("Desktop", "Racing（当前）"));

  Press(ButtonAt(D::kSetRule));
  EXPECT_EQ(host.messages.back().text, "请先选择正在运行的程序或浏览程序。");
  Press(Centre(D::kProgramDrop));
  EXPECT_THAT(Items(D::kProgramList), ElementsAre("editor", "game.exe"));
  PickItem(dialog, D::kProgramList, 0);
  EXPECT_FALSE(host.Has(D::kProgramList));
  EXPECT_EQ(host.Find(D::kProgramBox)->text, "editor");
  Choose(D::kProfileList, 0);
  Press(ButtonAt(D::kSetRule));

  host.chosenFile = "/games/bin/Other.EXE";
  Press(ButtonAt(D::kBrowse));
  EXPECT_EQ(host.fileChoices.back().pattern, "");  // the shell offers its system's programs
  EXPECT_EQ(dialog.Program(), "Other.EXE");
  Press(ButtonAt(D::kSetRule));

  // A rule chosen in the list: its program and profile, to change or remove.
  Choose(D::kRuleList, 0);
  EXPECT_EQ(dialog.Program(), "game.exe");
  EXPECT_EQ(host.Find(D::kProfileList)->selection, 1);
  Press(ButtonAt(D::kRemoveRule));

  Press(Centre(D::kDefaultDrop));
  EXPECT_THAT(Items(D::kDefaultList), ElementsAre("（无）", "Desktop", "Racing"));
  PickItem(dialog, D::kDefaultList, 2);
  Press(Centre(D::kDefaultDrop));
  PickItem(dialog, D::kDefaultList, 0);
  // A click outside an open list closes it and takes nothing.
  Press(Centre(D::kProgramDrop));
  Press({450, 150});
  EXPECT_FALSE(host.Has(D::kProgramList));

  EXPECT_THAT(profiles.calls, ElementsAre("rule editor Desktop", "rule Other.EXE Desktop",
                                          "remove rule game.exe", "default Racing", "default "));
}

// Told of another scale, the dialog draws its face again at it: the shells have put its controls
// at their new places and map clicks at the new scale, where the old face's buttons no longer lie.
TEST_F(ProfilesDialogTest, AChangeOfScaleDrawsTheProfilesDialogAgain) {
  Open();
  host.pixelRatio = 2;
  host.drawLog.clear();
  dialog.OnDisplayScaleChanged();
  EXPECT_EQ(host.copiedScale, 2) << "the face was not drawn again at the new scale";
  EXPECT_FALSE(host.drawLog.empty()) << "nothing was drawn after the change of scale";
}

}  // namespace
}  // namespace q8
