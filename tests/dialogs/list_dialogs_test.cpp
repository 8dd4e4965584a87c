#include "dialog_fixture.h"
#include "dialogs/hot_key_dialog.h"
#include "dialogs/media_dialogs.h"

namespace q8 {
namespace {

using ListDialogsTest = test::DialogTest;

TEST_F(ListDialogsTest, HotKeyStartsOnTheFirstPresetInEveryLanguage) {
  const struct {
    UiLanguage language;
    const char* first;
    const char* cut;
    const char* fresh;
  } cases[] = {{UiLanguage::EN, "Copy", "Cut", "New"},
               {UiLanguage::CHS, "复制", "剪切", "新建"},
               {UiLanguage::CHT, "複製", "剪切", "新建"}};
  for (const auto& c : cases) {
    test::FakeDialogHost window;
    test::FakeImageDecoder images(window.drawLog);
    state.language = c.language;
    DialogEnvironment env{state, images, {10, 0}};
    CHotKeyDialog dialog(env);
    window.Attach(dialog);
    dialog.OnInitDialog(window);
    EXPECT_EQ(window.Find(565)->text, c.first);
    dialog.OnLButtonDown({140, 136});
    const auto items = window.Find(566)->items;
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[1], c.cut);
    EXPECT_EQ(items[5], c.fresh);
    dialog.OnLButtonDown(kOk);
    EXPECT_EQ(dialog.SelectedIndex(), 0);
    EXPECT_EQ(dialog.SelectedText(), c.first);
  }
}

TEST_F(ListDialogsTest, HotKeyChoosingUndoGivesIndexSevenAndIgnoresTheWheel) {
  CHotKeyDialog dialog(environment);
  Open(dialog);
  Click(dialog, {140, 136});
  EXPECT_EQ(host.Find(566)->rect, (Rect{42, 146, 151, 266}));
  host.calls.clear();
  dialog.OnMouseWheel(-120);
  EXPECT_TRUE(host.calls.empty());
  PickItem(dialog, 566, 7);
  EXPECT_EQ(dialog.SelectedIndex(), 7);
  EXPECT_EQ(dialog.SelectedText(), "Undo");
}

TEST_F(ListDialogsTest, LaunchListIsLongerAndEndsWithBrowserRefresh) {
  CWindowsDialog dialog(environment);
  Open(dialog);
  EXPECT_EQ(host.Find(532)->text, "Multimedia Player");
  Click(dialog, {140, 136});
  EXPECT_EQ(host.Find(533)->rect, (Rect{42, 146, 151, 306}));
  EXPECT_EQ(Items(533).size(), 9u);
  PickItem(dialog, 533, 8);
  EXPECT_EQ(dialog.SelectedIndex(), 8);
  EXPECT_EQ(dialog.SelectedText(), "Browser-Refresh");
  EXPECT_EQ(host.Find(532)->text, "Browser-Refresh");
}

TEST_F(ListDialogsTest, SnipeListsTheLevelsOfTheMousesSensor) {
  state.sensorVariant = 1;
  CSnipeDialog dialog(environment);
  Open(dialog);
  EXPECT_EQ(host.Find(563)->rect, (Rect{42, 105, 136, 121}));
  EXPECT_EQ(host.Find(563)->text, "600");
  Click(dialog, {140, 110});
  EXPECT_EQ(host.Find(564)->rect, (Rect{42, 123, 151, 263}));
  EXPECT_EQ(Items(564), (std::vector<std::string>{"600", "800", "1000", "1200", "1600", "2000",
                                                  "2400", "3200"}));
  PickItem(dialog, 564, 1);
  EXPECT_EQ(dialog.SelectedIndex(), 1);
  EXPECT_EQ(dialog.SelectedText(), "800");
}

TEST_F(ListDialogsTest, SnipeWithTheFirstSensorScrollsItsTwelveLevels) {
  CSnipeDialog dialog(environment);  // sensor variant 0 until the mouse is read
  Open(dialog);
  Click(dialog, {140, 110});
  EXPECT_EQ(Items(564).size(), 12u);
  EXPECT_EQ(Items(564).back(), "4000");
  host.calls.clear();
  dialog.OnMouseWheel(-120);
  EXPECT_EQ(host.calls, (std::vector<std::string>(3, "scroll 564 1")));
  PickItem(dialog, 564, 11);
  EXPECT_EQ(dialog.SelectedText(), "4000");
}

TEST_F(ListDialogsTest, SnipeWithAnUnknownSensorOffersNothingAndOkGivesAnEmptyChoice) {
  state.sensorVariant = 7;
  CSnipeDialog dialog(environment);
  Open(dialog);
  EXPECT_EQ(host.Find(563)->text, "");
  Click(dialog, {140, 110});
  EXPECT_TRUE(host.Has(564));
  EXPECT_TRUE(Items(564).empty());
  dialog.OnListNotification(564, ListEvent::kSelectionChange);
  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.SelectedIndex(), 0);
  EXPECT_EQ(dialog.SelectedText(), "");
}

}  // namespace
}  // namespace q8
