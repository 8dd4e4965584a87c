#include "dialogs/fire_key_dialog.h"

#include "dialog_fixture.h"

namespace q8 {
namespace {

constexpr ControlId kValueBox = 572;
constexpr ControlId kList = 573;
constexpr ControlId kTimes = CFireKeyDialog::kTimesEdit;
constexpr ControlId kMake = CFireKeyDialog::kMakeTimeEdit;
constexpr ControlId kBreak = CFireKeyDialog::kBreakTimeEdit;

class FireKeyDialogTest : public test::DialogTest {
 protected:
  FireKeyDialogTest() { Open(dialog); }

  void ClickDrop() { Click(dialog, {160, 75}); }
  std::string Text(ControlId id) const { return host.ControlText(id); }

  CFireKeyDialog dialog{environment};
};

TEST_F(FireKeyDialogTest, OkAtOnceReturnsTheDefaults) {
  EXPECT_EQ(host.Find(kValueBox)->text, "L-Button");
  EXPECT_EQ(host.Find(kValueBox)->style, StaticStyle::kSunkenCentre);
  EXPECT_EQ(host.Find(kTimes)->rect, (Rect{83, 104, 164, 118}));
  EXPECT_EQ(host.Find(kBreak)->rect, (Rect{83, 172, 164, 186}));
  EXPECT_EQ(Text(kTimes), "1");
  EXPECT_EQ(Text(kMake), "32");
  EXPECT_EQ(Text(kBreak), "32");

  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.ChosenKeyIndex(), 0);
  EXPECT_EQ(dialog.ChosenKeyName(), "L-Button");
  EXPECT_EQ(dialog.ChosenTimes(), 1);
  EXPECT_EQ(dialog.ChosenMakeTime(), 32);
  EXPECT_EQ(dialog.ChosenBreakTime(), 32);

  // The edits and the list are painted on an opaque ground, the value box like every dialog's.
  const ControlColors opaque{Rgb{255, 255, 255}, Rgb{40, 40, 40}, Rgb{40, 40, 40}};
  EXPECT_EQ(dialog.ControlColor(kTimes), opaque);
  EXPECT_EQ(dialog.ControlColor(kList), opaque);
  EXPECT_EQ(dialog.ControlColor(kValueBox).textBackground, std::nullopt);
}

TEST_F(FireKeyDialogTest, TheFaceCarriesLabelsAndRangeNotesInTheCaptionColour) {
  std::vector<std::string> texts;
  for (const auto& t : host.text.texts)
    texts.push_back(t.text);
  EXPECT_EQ(texts,
            (std::vector<std::string>{
                "OK", "Cancel", "Times", "Make Time", "Break Time", "Time (value range 5-255)",
                "Times (value range 0-127,0 indicates fire key to end when the key released)"}));
  EXPECT_EQ(host.text.texts[3].rect, (Rect{-7, 138, 78, 152}));
  EXPECT_EQ(host.text.texts[3].align, TextAlign::kRight);
  EXPECT_EQ(host.text.texts[6].rect, (Rect{23, 214, 433, 240}));
  EXPECT_EQ(host.text.texts[6].align, TextAlign::kLeft);
}

TEST_F(FireKeyDialogTest, TheCountIsCheckedAtEveryKeystroke) {
  host.Type(kTimes, "");
  EXPECT_EQ(dialog.ChosenTimes(), 0);  // empty: until the button is released
  EXPECT_EQ(Text(kTimes), "");
  host.Type(kTimes, "1");
  host.Type(kTimes, "12");
  EXPECT_EQ(dialog.ChosenTimes(), 12);
  host.Type(kTimes, "128");
  EXPECT_EQ(Text(kTimes), "1");
  EXPECT_EQ(dialog.ChosenTimes(), 1);
  host.Type(kTimes, "127");
  EXPECT_EQ(dialog.ChosenTimes(), 127);
  host.Type(kTimes, "99999999999");  // too large for any number the platform reads
  EXPECT_EQ(Text(kTimes), "1");
  host.Type(kTimes, "-3");
  EXPECT_EQ(Text(kTimes), "1");
  EXPECT_EQ(dialog.ChosenTimes(), 1);
}

TEST_F(FireKeyDialogTest, TimesAreCheckedWhenTheirEditLosesTheFocus) {
  host.Type(kMake, "4");
  EXPECT_EQ(Text(kMake), "4");  // still typing
  EXPECT_EQ(dialog.ChosenMakeTime(), 32);
  host.LoseFocus();
  EXPECT_EQ(Text(kMake), "5");
  EXPECT_EQ(dialog.ChosenMakeTime(), 5);

  host.Type(kMake, "256");
  host.LoseFocus();
  EXPECT_EQ(Text(kMake), "5");  // not 255

  host.Type(kBreak, "255");
  host.LoseFocus();
  host.Type(kMake, "5");
  host.LoseFocus();
  EXPECT_EQ(Text(kBreak), "255");
  EXPECT_EQ(dialog.ChosenBreakTime(), 255);
  EXPECT_EQ(dialog.ChosenMakeTime(), 5);

  // A change repaints both time edits.
  host.calls.clear();
  host.Type(kBreak, "7");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"redraw 576", "redraw 577"}));
}

TEST_F(FireKeyDialogTest, OkWithATimeStillBeingTypedReturnsItChecked) {
  host.Type(kBreak, "300");
  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.ChosenBreakTime(), 5);
}

TEST_F(FireKeyDialogTest, TheListReplacesTheEditsWhichComeBackWithTheirTexts) {
  host.Type(kTimes, "12");
  host.Type(kMake, "4");  // not yet checked when the list opens
  host.calls.clear();

  ClickDrop();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"destroy 575", "destroy 576", "destroy 577",
                                                  "create list 573"}));
  const test::FakeControl* list = host.Find(kList);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->verticalScrollBar);
  EXPECT_EQ(list->rect, (Rect{82, 87, 165, 257}));
  EXPECT_EQ(list->items.size(), 59u);
  EXPECT_EQ(list->items[58], "F12");
  EXPECT_EQ(dialog.ChosenMakeTime(), 5);  // settled as its edit went

  host.calls.clear();
  Click(dialog, kNowhere);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"destroy 573", "create edit 575",
                                                  "create edit 576", "create edit 577"}));
  EXPECT_EQ(Text(kTimes), "12");
  EXPECT_EQ(Text(kMake), "5");
  EXPECT_EQ(Text(kBreak), "32");

  // Closing with a second press in the drop region brings them back too.
  ClickDrop();
  ClickDrop();
  EXPECT_TRUE(host.Has(kTimes));
  EXPECT_FALSE(host.Has(kList));
}

TEST_F(FireKeyDialogTest, AChosenKeyGivesItsIndexAndExactText) {
  const struct {
    int index;
    const char* name;
  } cases[] = {{44, "R-CTRL"}, {45, "R-SHIFT"}, {58, "F12"}, {40, "0"}};
  for (const auto& c : cases) {
    ClickDrop();
    // The list shows fewer rows than it holds: the wheel brings the item into reach.
    while (host.Find(kList)->topIndex + 10 <= c.index)
      dialog.OnMouseWheel(-120);
    PickItem(dialog, kList, c.index);
    EXPECT_EQ(dialog.ChosenKeyIndex(), c.index);
    EXPECT_EQ(dialog.ChosenKeyName(), c.name);
    EXPECT_EQ(host.Find(kValueBox)->text, c.name);
    EXPECT_FALSE(host.Has(kList));
    EXPECT_TRUE(host.Has(kBreak));
  }
}

}  // namespace
}  // namespace q8
