#include "dialogs/fire_key_dialog.h"
#include "dialogs/key_function_dialog_runner.h"
#include "dialogs/skins_dialog_chooser.h"

#include <functional>

#include "dialog_fixture.h"

namespace q8 {
namespace {

// Runs every dialog in a fresh fake window and lets a test play the user in it.
class ScriptedRunner final : public DialogRunner {
 public:
  using User = std::function<DialogResult(DialogController&, test::FakeDialogHost&)>;

  DialogResult RunDialog(DialogController& dialog) override {
    test::FakeDialogHost window;
    templates.push_back(dialog.TemplateId());
    window.Attach(dialog);
    dialog.OnInitDialog(window);
    return user(dialog, window);
  }

  User user;
  std::vector<int> templates;
};

class DialogRunnerTest : public test::DialogTest {
 protected:
  ScriptedRunner runner;
  KeyFunctionDialogRunner dialogs{runner, environment};
};

constexpr Point kDrop{140, 136};
constexpr Point kSnipeDrop{140, 110};

// The user opens the list with a press at `drop`, takes item `item` and presses `end`.
ScriptedRunner::User ChooseThenPress(Point drop, ControlId list, int item, Point end) {
  return [=](DialogController& dialog, test::FakeDialogHost& window) {
    dialog.OnLButtonDown(drop);
    const Rect rect = window.Find(list)->rect;
    dialog.OnPointerMove({rect.left + 5, rect.top + item * test::FakeControl::kItemHeight + 2});
    dialog.OnListNotification(list, ListEvent::kSelectionChange);
    dialog.OnLButtonDown(end);
    return window.ended.value_or(DialogResult::kCancel);
  };
}

DialogResult PressOk(DialogController& dialog, test::FakeDialogHost& window) {
  dialog.OnLButtonDown(test::DialogTest::kOk);
  return *window.ended;
}

TEST_F(DialogRunnerTest, ListDialogsReturnTheirChoiceOnOkOnly) {
  runner.user = ChooseThenPress(kDrop, 533, 8, kOk);
  EXPECT_EQ(dialogs.RunLaunchDialog(), (ListChoice{8, "Browser-Refresh"}));
  runner.user = ChooseThenPress(kDrop, 553, 4, kOk);
  EXPECT_EQ(dialogs.RunMediaDialog(), (ListChoice{4, "Mute"}));
  runner.user = ChooseThenPress(kDrop, 566, 2, kOk);
  EXPECT_EQ(dialogs.RunHotKeyDialog(), (ListChoice{2, "Paste"}));
  runner.user = ChooseThenPress(kSnipeDrop, 564, 3, kOk);
  EXPECT_EQ(dialogs.RunSnipeDialog(), (ListChoice{3, "1000"}));
  EXPECT_EQ(runner.templates, (std::vector<int>{702, 703, 712, 711}));

  runner.user = ChooseThenPress(kDrop, 553, 4, kCancel);
  EXPECT_EQ(dialogs.RunMediaDialog(), std::nullopt);
  runner.user = ChooseThenPress(kDrop, 553, 4, kClose);
  EXPECT_EQ(dialogs.RunMediaDialog(), std::nullopt);
}

TEST_F(DialogRunnerTest, EveryOpeningStartsFromTheDefaults) {
  runner.user = [](DialogController& dialog, test::FakeDialogHost& window) {
    window.Type(CFireKeyDialog::kTimesEdit, "0");
    window.Type(CFireKeyDialog::kMakeTimeEdit, "200");
    return ChooseThenPress({160, 75}, 573, 3, kOk)(dialog, window);
  };
  EXPECT_EQ(dialogs.RunFireKeyDialog(), (FireKeyChoice{3, "B4-Button", 0, 200, 32}));
  runner.user = PressOk;
  EXPECT_EQ(dialogs.RunFireKeyDialog(), (FireKeyChoice{0, "L-Button", 1, 32, 32}));
  EXPECT_EQ(runner.templates, (std::vector<int>{704, 704}));
}

TEST_F(DialogRunnerTest, TheSingleKeyDialogReturnsTheLastKeyOnOk) {
  runner.user = [](DialogController& dialog, test::FakeDialogHost& window) {
    dialog.OnKeyCaptured("F1");
    dialog.OnLButtonDown(kOk);
    return *window.ended;
  };
  EXPECT_EQ(dialogs.RunSingleKeyDialog(), "F1");
  runner.user = [](DialogController& dialog, test::FakeDialogHost& window) {
    dialog.OnKeyCaptured("F1");
    dialog.OnLButtonDown(kClose);
    return *window.ended;
  };
  EXPECT_EQ(dialogs.RunSingleKeyDialog(), std::nullopt);
}

TEST_F(DialogRunnerTest, TheSkinChooserReturnsAChoiceOnlyAfterOkOverItsBackground) {
  SkinsDialogChooser chooser(runner, environment);
  state.skinTextColor = {1, 2, 3};
  runner.user = [](DialogController& dialog, test::FakeDialogHost& window) {
    window.chosenColor = Rgb{255, 0, 0};
    dialog.OnLButtonDown({100, 100});
    dialog.OnLButtonDown(kOk);
    return *window.ended;
  };
  const auto choice = chooser.ChooseSkin();
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->directory, "/opt/q8/Skins/Default");
  EXPECT_EQ(choice->name, "Default");
  EXPECT_EQ(choice->textColor, (Rgb{255, 0, 0}));

  runner.user = [](DialogController& dialog, test::FakeDialogHost& window) {
    window.chosenColor = Rgb{255, 0, 0};
    dialog.OnLButtonDown({100, 100});
    dialog.OnLButtonDown(kCancel);
    return *window.ended;
  };
  EXPECT_EQ(chooser.ChooseSkin(), std::nullopt);

  // Even a run that ends with OK (Enter, say) gives nothing after the background failed.
  decoder.missing = {"/skins.png"};
  runner.user = [](DialogController&, test::FakeDialogHost&) { return DialogResult::kOk; };
  EXPECT_EQ(chooser.ChooseSkin(), std::nullopt);
}

}  // namespace
}  // namespace q8
