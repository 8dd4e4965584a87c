#include "main_page_fixture.h"

namespace q8::test {
namespace {

using A = KeyConfigId;
constexpr ControlId kRow1List = 41;
constexpr ControlId kDpiSubList = 40;
// Key list entries.
constexpr int kLeftClick = 0;
constexpr int kMidClick = 2;
constexpr int kDpiSwitch = 5;
constexpr int kMultimedia = 7;
constexpr int kFireKey = 9;
constexpr int kSingleKey = 10;
constexpr int kSnipeKey = 11;
constexpr int kShift = 13;

ControlId ListOfRow(int row) {
  return 40 + row;
}

class KeySectionTest : public MainPageTest {
 protected:
  KeySectionTest() { BuildAndForget(); }

  void ChooseInRow(int row, int entry) {
    page_.ToggleKeyList(row);
    Choose(ListOfRow(row), entry);
  }
  // The pointer over entry `entry` of the open list of `row` (the fake's rows are 16 pixels).
  void PointAtEntry(int row, int entry) {
    const Rect list = host_.Find(ListOfRow(row))->rect;
    page_.OnPointerMove({list.left + 10, list.top + entry * FakeControl::kItemHeight + 3});
  }
};

TEST_F(KeySectionTest, TheLastLeftClickOfAConfigurationCannotBeReassigned) {
  for (const KeyConfigId config : {A::A, A::B}) {
    page_.SelectKeyConfig(config);
    page_.ToggleKeyList(1);
    EXPECT_FALSE(host_.Has(kRow1List));
  }
  EXPECT_EQ(host_.messages, (std::vector<Message>(2, {"Left key must be selected!", "Warning"})));

  page_.SelectKeyConfig(A::A);
  ChooseInRow(2, kLeftClick);  // a second Left Click in Mode A only
  page_.ToggleKeyList(1);
  ASSERT_TRUE(host_.Has(kRow1List));
  EXPECT_EQ(ItemsOf(kRow1List).size(), 14u);
  EXPECT_EQ(ItemsOf(kRow1List)[13], "Shift");
  EXPECT_EQ(host_.Find(kRow1List)->rect, (Rect{252, 221, 463, 451}));
  EXPECT_FALSE(host_.Find(kRow1List)->selection.has_value());

  page_.ToggleKeyList(1);
  page_.SelectKeyConfig(A::B);
  page_.ToggleKeyList(1);
  EXPECT_FALSE(host_.Has(kRow1List));
  EXPECT_EQ(host_.messages.size(), 3u);
}

TEST_F(KeySectionTest, ShiftTakesOneButtonInBothConfigurations) {
  ChooseInRow(3, kShift);
  EXPECT_EQ(Function(A::B, 3), 13);
  page_.SelectKeyConfig(A::B);
  EXPECT_EQ(captions_.keyRows[2], "Shift");

  const DeviceConfig before = Config();
  ChooseInRow(4, kShift);  // a second Shift is refused without a word
  EXPECT_EQ(Config(), before);
  EXPECT_FALSE(host_.Has(ListOfRow(4)));

  // Leaving Shift in Mode B frees the button in Mode A too, with the same caption.
  ChooseInRow(3, kMidClick);
  EXPECT_EQ(Function(A::A, 3), 2);
  EXPECT_EQ(Caption(A::A, 3), "Mid Click");
}

TEST_F(KeySectionTest, ACancelledDialogStillChoosesTheFunction) {
  Config().Button(field::FireKeyIndex, A::A, 2) = 7;
  ChooseInRow(2, kFireKey);
  EXPECT_EQ(Function(A::A, 2), 9);
  EXPECT_EQ(Config().Button(field::FireKeyIndex, A::A, 2), 7);
  EXPECT_EQ(Caption(A::A, 2), "Right Click");
  EXPECT_FALSE(host_.Has(ListOfRow(2)));

  // Cancelled on a Shift button: both configurations take the code, the caption stays "Shift".
  ChooseInRow(6, kShift);
  ChooseInRow(6, kMultimedia);
  EXPECT_EQ(Function(A::B, 6), 7);
  EXPECT_EQ(Caption(A::B, 6), "Shift");
}

TEST_F(KeySectionTest, ConfirmedDialogsStoreTheirParametersInTheActiveConfigurationOnly) {
  page_.SelectKeyConfig(A::B);
  dialogs_.fireKey = FireKeyChoice{44, "R-CTRL", 3, 40, 50};
  ChooseInRow(2, kFireKey);
  EXPECT_EQ(Config().Button(field::FireKeyIndex, A::B, 2), 44);
  EXPECT_EQ(Config().Button(field::FireKeyUsage, A::B, 2), 0xE4);
  EXPECT_EQ(Config().Button(field::FireTimes, A::B, 2), 3);
  EXPECT_EQ(Config()[field::FireMakeTime], 40);
  EXPECT_EQ(Config()[field::FireBreakTime], 50);
  EXPECT_EQ(Config().Button(field::FireKeyUsage, A::A, 2), 0);
  EXPECT_EQ(host_.drawLog.back(), "text Fire Key-R-CTRL");  // the box is redrawn

  dialogs_.singleKey = "Num 5";
  ChooseInRow(3, kSingleKey);
  EXPECT_EQ(Config().Button(field::SingleKeyUsage, A::B, 3), 0x5D);
  EXPECT_EQ(Caption(A::B, 3), "Single Key-Num 5");
}

TEST_F(KeySectionTest, TheSnipeCodeComesFromTheSensorsLevelTable) {
  state_.sensorVariant = 0;
  dialogs_.snipe = ListChoice{8, "2500"};
  ChooseInRow(7, kSnipeKey);
  EXPECT_EQ(Config()[field::SnipeDpiCode], 0x25);
  EXPECT_EQ(Config().Button(field::SnipeDpiIndex, A::A, 7), 8);
  EXPECT_EQ(Caption(A::A, 7), "Snipe Key-2500");

  state_.sensorVariant = 5;
  dialogs_.snipe = ListChoice{1, ""};
  ChooseInRow(6, kSnipeKey);
  EXPECT_EQ(Config()[field::SnipeDpiCode], 0);
}

TEST_F(KeySectionTest, DpiSwitchIsChosenOnlyThroughItsSubList) {
  page_.ToggleKeyList(2);
  Choose(ListOfRow(2), kDpiSwitch);
  EXPECT_TRUE(host_.Has(ListOfRow(2)));
  EXPECT_EQ(Function(A::A, 2), 1);

  PointAtEntry(2, kDpiSwitch);
  ASSERT_TRUE(host_.Has(kDpiSubList));
  // Beside entry 5: the list's left edge plus the entry's right edge, the list's top plus the
  // entry's top (the fake list's entries are 16 pixels high).
  EXPECT_EQ(host_.Find(kDpiSubList)->rect, (Rect{252 + 211, 244 + 80, 252 + 211 + 60, 244 + 140}));
  EXPECT_EQ(ItemsOf(kDpiSubList), (std::vector<std::string>{"DPI +", "DPI -", "DPI Loop"}));
  PointAtEntry(2, kDpiSwitch);
  EXPECT_EQ(std::count(host_.calls.begin(), host_.calls.end(), "create list 40"), 1);

  PointAtEntry(2, 3);
  EXPECT_FALSE(host_.Has(kDpiSubList));
  PointAtEntry(2, kDpiSwitch);
  Choose(kDpiSubList, 2);
  EXPECT_EQ(Function(A::A, 2), 5);
  EXPECT_EQ(Config().Button(field::DpiSwitchCode, A::A, 2), 5);
  EXPECT_EQ(Caption(A::A, 2), "DPI Loop");
  EXPECT_FALSE(host_.Has(kDpiSubList));
  EXPECT_FALSE(host_.Has(ListOfRow(2)));
}

TEST_F(KeySectionTest, APressOutsideTheOpenListAndItsBoxClosesItWithItsSubList) {
  page_.ToggleKeyList(3);
  PointAtEntry(3, kDpiSwitch);
  page_.CloseListsOutside({300, 250});  // on the box of row 3
  page_.CloseListsOutside({300, 400});  // on the list
  EXPECT_TRUE(host_.Has(ListOfRow(3)));
  EXPECT_TRUE(host_.Has(kDpiSubList));
  page_.CloseListsOutside({300, 520});  // on "Mode A"
  EXPECT_FALSE(host_.Has(ListOfRow(3)));
  EXPECT_FALSE(host_.Has(kDpiSubList));

  // The box clicked again closes only the key list; the sub-list's choice then has no button.
  page_.ToggleKeyList(2);
  PointAtEntry(2, kDpiSwitch);
  page_.ToggleKeyList(2);
  ASSERT_TRUE(host_.Has(kDpiSubList));
  const DeviceConfig before = Config();
  Choose(kDpiSubList, 0);
  EXPECT_EQ(Config(), before);
  page_.CloseListsOutside({100, 600});
  EXPECT_FALSE(host_.Has(kDpiSubList));
}

TEST_F(KeySectionTest, ConfigurationsShowTheirOwnCaptionsAndRestoreSetsBoth) {
  state_.captions[8 + 1] = "Copy";
  page_.SelectKeyConfig(A::B);
  EXPECT_EQ(Config()[field::ActiveKeyConfig], 1);
  EXPECT_EQ(captions_.keyRows[1], "Copy");
  EXPECT_EQ(host_.copies, 1);
  EXPECT_EQ(host_.drawLog.end()[-2], "image /button-over.png");  // Mode B, drawn last

  Config().Button(field::KeyFunction, A::A, 8) = 2;
  Config().Button(field::HotKeyIndex, A::B, 2) = 5;
  state_.captions[0] = "Undo";
  page_.RestoreDefaultKeys();
  EXPECT_EQ(Function(A::A, 8), 12);
  EXPECT_EQ(Config().Button(field::HotKeyIndex, A::B, 2), 5);
  EXPECT_EQ(state_.captions, DefaultButtonCaptions(UiLanguage::EN));
  EXPECT_EQ(captions_.keyRows[1], "Right Click");
}

}  // namespace
}  // namespace q8::test
