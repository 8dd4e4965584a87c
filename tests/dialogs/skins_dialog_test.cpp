#include "dialogs/skins_dialog.h"

#include <algorithm>
#include <filesystem>

#include "dialog_fixture.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

constexpr ControlId kValueBox = 560;
constexpr ControlId kSwatch = CSkinsDialog::kColorSwatch;
constexpr ControlId kList = 562;
constexpr Point kDrop{140, 136};
constexpr Point kOnSwatch{100, 100};

// A program folder with the skins Blue and Red and a text file beside them.
class SkinsDialogTest : public test::DialogTest {
 protected:
  SkinsDialogTest() {
    std::filesystem::create_directories(skins / "Blue");
    std::filesystem::create_directories(skins / "Red");
    test::WriteBytes(skins / "readme.txt", {'h', 'i'});
    state.executable = folder.path() / "TarnixMouseApp.exe";
    state.skinDirectory = (folder.path() / "Skins" / "Blue").string();
    state.skinName = "Blue";
    state.skinTextColor = {10, 20, 30};
  }

  // The items of the open list, in the order the list holds them, as the file system gave them.
  std::vector<std::string> SortedItems() const {
    auto items = Items(kList);
    std::sort(items.begin(), items.end());
    return items;
  }

  int ItemIndex(const std::string& name) const {
    const auto items = Items(kList);
    return static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
  }

  test::TempDir folder;
  std::filesystem::path skins = folder.path() / "Skins";
};

TEST_F(SkinsDialogTest, OkAtOnceReturnsTheCurrentSkinUnchanged) {
  CSkinsDialog dialog(environment);
  Open(dialog);
  EXPECT_EQ(host.Find(kValueBox)->text, "Blue");
  EXPECT_EQ(host.Find(kSwatch)->rect, (Rect{42, 94, 151, 110}));
  EXPECT_EQ(host.Find(kSwatch)->style, StaticStyle::kLeft);
  EXPECT_EQ(host.Find(kSwatch)->text, "");
  EXPECT_EQ(dialog.ControlColor(kSwatch),
            (ControlColors{std::nullopt, std::nullopt, Rgb{10, 20, 30}}));
  EXPECT_EQ(dialog.ControlColor(kValueBox).brush, (Rgb{40, 40, 40}));

  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.ChosenSkinPath(), state.skinDirectory);
  EXPECT_EQ(dialog.ChosenSkinName(), "Blue");
  EXPECT_EQ(dialog.ChosenTextColor(), (Rgb{10, 20, 30}));
  EXPECT_TRUE(std::filesystem::equivalent(dialog.SkinsRoot(), skins));
}

TEST_F(SkinsDialogTest, TheListShowsExactlyTheFoldersAndAChoiceFindsItsPath) {
  CSkinsDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"Blue", "Red"}));

  PickItem(dialog, kList, ItemIndex("Red"));
  EXPECT_EQ(dialog.ChosenSkinName(), "Red");
  EXPECT_EQ(host.Find(kValueBox)->text, "Red");
  EXPECT_TRUE(std::filesystem::equivalent(dialog.ChosenSkinPath(), skins / "Red"));
}

TEST_F(SkinsDialogTest, AFolderRenamedInCaseIsFoundAgainAndARemovedOneKeepsThePath) {
  CSkinsDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);
  std::filesystem::remove(skins / "Red");  // renamed in case while the list is open
  std::filesystem::create_directory(skins / "RED");
  PickItem(dialog, kList, ItemIndex("Red"));
  EXPECT_EQ(dialog.ChosenSkinName(), "Red");
  const std::filesystem::path found(dialog.ChosenSkinPath());
  EXPECT_EQ(found.filename(), "RED");
  EXPECT_TRUE(std::filesystem::equivalent(found.parent_path(), skins));

  Click(dialog, kDrop);
  const int blue = ItemIndex("Blue");
  std::filesystem::remove(skins / "Blue");
  PickItem(dialog, kList, blue);
  EXPECT_EQ(dialog.ChosenSkinName(), "Blue");
  EXPECT_EQ(std::filesystem::path(dialog.ChosenSkinPath()), found);
}

TEST_F(SkinsDialogTest, WithoutASkinsFolderTheListOpensEmpty) {
  std::filesystem::remove_all(skins);
  CSkinsDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);
  EXPECT_TRUE(host.Has(kList));
  EXPECT_TRUE(Items(kList).empty());
  dialog.OnMouseWheel(120);
  EXPECT_EQ(host.calls.back(), "scroll 562 -1");  // the chooser's list scrolls with the wheel
  Click(dialog, kOk);
  EXPECT_EQ(dialog.ChosenSkinName(), "Blue");
  EXPECT_EQ(dialog.ChosenSkinPath(), state.skinDirectory);
}

TEST_F(SkinsDialogTest, TheSwatchChoosesTheColourWhileThePromptKeepsTheOldOne) {
  CSkinsDialog dialog(environment);
  Open(dialog);
  Click(dialog, kOnSwatch);  // the chooser is cancelled
  EXPECT_EQ(host.chooserOpenedOn, (Rgb{0, 0, 0}));
  EXPECT_EQ(dialog.ChosenTextColor(), (Rgb{10, 20, 30}));
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "redraw 561"), 0);

  host.chosenColor = Rgb{255, 0, 0};
  Click(dialog, kOnSwatch);
  EXPECT_EQ(host.chooserOpenedOn, (Rgb{0, 0, 0}));
  EXPECT_EQ(dialog.ChosenTextColor(), (Rgb{255, 0, 0}));
  EXPECT_EQ(host.calls.back(), "redraw 561");
  EXPECT_EQ(dialog.ControlColor(kSwatch).brush, (Rgb{255, 0, 0}));

  host.text.texts.clear();
  dialog.OnEraseBackground();
  ASSERT_EQ(host.text.texts.size(), 3u);
  EXPECT_EQ(host.text.texts[2].text, "Please click to set the UI text color");
  EXPECT_EQ(host.text.texts[2].rect, (Rect{12, 64, 181, 94}));
  EXPECT_EQ(host.text.texts[2].colour, (Rgb{10, 20, 30}));
}

}  // namespace
}  // namespace q8
