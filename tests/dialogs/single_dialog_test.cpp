#include "dialogs/single_dialog.h"

#include "dialog_fixture.h"

namespace q8 {
namespace {

class SingleDialogTest : public test::DialogTest {
 protected:
  CSingleDialog dialog{environment};
};

TEST_F(SingleDialogTest, OpensWithAnEmptyValueBoxAndStartsCapturing) {
  Open(dialog);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"resize 1x1", "font", "create static 502", "capture keys"}));
  EXPECT_EQ(host.Find(502)->rect, (Rect{73, 128, 151, 144}));
  EXPECT_EQ(host.Find(502)->style, StaticStyle::kSunkenCentre);
  EXPECT_EQ(host.Find(502)->text, "");
  EXPECT_FALSE(dialog.UsesDialogKeys());
  // The prompt is white whatever the caption colour.
  state.skinTextColor = {0, 255, 0};
  host.text.texts.clear();
  dialog.OnEraseBackground();
  ASSERT_EQ(host.text.texts.size(), 3u);
  EXPECT_EQ(host.text.texts[2].text, "Please enter a key");
  EXPECT_EQ(host.text.texts[2].colour, (Rgb{255, 255, 255}));
  EXPECT_EQ(host.text.texts[2].rect, (Rect{43, 108, 181, 124}));
  EXPECT_EQ(host.text.texts[0].colour, (Rgb{0, 255, 0}));

  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.CapturedKeyName(), "");
}

TEST_F(SingleDialogTest, TheLastKeySeenWinsAndLongNamesAreCut) {
  Open(dialog);
  host.calls.clear();
  dialog.OnKeyCaptured("Shift");
  dialog.OnKeyCaptured("A");
  EXPECT_EQ(host.Find(502)->text, "A");
  dialog.OnKeyCaptured("Shift");  // released after A
  EXPECT_EQ(dialog.CapturedKeyName(), "Shift");
  EXPECT_EQ(host.calls, (std::vector<std::string>(3, "redraw 502")));

  dialog.OnKeyCaptured("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
  EXPECT_EQ(dialog.CapturedKeyName(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
  dialog.OnKeyCaptured("数字键盘上的一个非常长的按键名字之一二三四五六七八九十甲乙丙丁戊己");
  EXPECT_EQ(dialog.CapturedKeyName(),
            "数字键盘上的一个非常长的按键名字之一二三四五六七八九十甲乙丙丁");
}

TEST_F(SingleDialogTest, EnterEscapeAndTheWindowsKeysAreKeptFromTheDialog) {
  const struct {
    bool isKeyDown;
    int code;
    bool consumed;
  } cases[] = {
      {true, 0x0D, true},  {true, 0x1B, true},  {false, 0x0D, false}, {false, 0x1B, false},
      {true, 0x5B, true},  {false, 0x5B, true}, {true, 0x5C, true},   {false, 0x5C, true},
      {true, 0x41, false}, {true, 0x70, false}, {true, 0x10, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dialog.OnPreTranslateKey({c.isKeyDown, c.code}), c.consumed)
        << c.code << (c.isKeyDown ? " down" : " other");
  }
}

TEST_F(SingleDialogTest, AFailedCaptureIsReportedAndTheDialogStaysOpen) {
  host.keyCapture = {false, 1428};
  Open(dialog);
  EXPECT_EQ(host.messages,
            (std::vector<test::Message>{
                {"KeyboardHook_SingleDlgKey Install error code :1428\n", "TarnixMouseApp"}}));
  EXPECT_FALSE(host.ended);
  Click(dialog, kClose);
  EXPECT_EQ(host.ended, DialogResult::kCancel);
}

TEST_F(SingleDialogTest, OnlyTheThreeButtonsReactToPresses) {
  state.language = UiLanguage::CHT;
  CSingleDialog chinese(environment);
  Open(chinese);
  host.calls.clear();
  Click(chinese, {140, 136});
  Click(chinese, kNowhere);
  chinese.OnMouseWheel(-120);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(host.text.texts[2].text, "請輸入一個按鍵");
  Click(chinese, kCancel);
  EXPECT_EQ(host.ended, DialogResult::kCancel);
}

}  // namespace
}  // namespace q8
