#include <functional>
#include <memory>

#include "dialog_fixture.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/hot_key_dialog.h"
#include "dialogs/media_dialogs.h"
#include "dialogs/single_dialog.h"
#include "dialogs/skins_dialog.h"

namespace q8 {
namespace {

using test::DrawLog;

// The frame, seen through the media dialog: value box 552, list 553 below it.
class FrameTest : public test::DialogTest {
 protected:
  static constexpr ControlId kValueBox = 552;
  static constexpr ControlId kList = 553;
  static constexpr Point kDrop{140, 136};  // the arrow strip right of the value box
  static constexpr Point kInList{60, 200};
};

TEST_F(FrameTest, OpensOnTheSkinsBackgroundWithButtonsCaptionsAndTheValueBox) {
  CMediaDialog dialog(environment);
  Open(dialog);

  EXPECT_EQ(decoder.paths.front(), "/opt/q8/Skins/Default/media-key.png");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"resize 1x1", "font", "create static 552"}));
  EXPECT_EQ(host.font, (FontRequest{"Arial", 14}));
  const test::FakeControl* valueBox = host.Find(kValueBox);
  ASSERT_NE(valueBox, nullptr);
  EXPECT_EQ(valueBox->text, "Next");
  EXPECT_EQ(valueBox->rect, (Rect{42, 128, 136, 144}));
  EXPECT_EQ(valueBox->style, StaticStyle::kSunkenLeft);
  // Both button faces, then both captions, then the close button, in one copy to the window.
  EXPECT_EQ(host.drawLog,
            (DrawLog{"image /media-key.png", "image /button-normal.png", "image /button-normal.png",
                     "text OK", "text Cancel", "image /button-close-normal.png", "copy"}));
  EXPECT_EQ(host.text.texts[0].rect, (Rect{166, 253, 271, 274}));
  EXPECT_EQ(host.text.texts[1].rect, (Rect{270, 253, 375, 274}));
  EXPECT_EQ(host.text.texts[1].colour, (Rgb{255, 255, 255}));
  EXPECT_TRUE(host.messages.empty());
  // Value box and list: white on dark grey; other controls keep the platform's colours.
  const ControlColors whiteOnGrey{Rgb{255, 255, 255}, std::nullopt, Rgb{40, 40, 40}};
  EXPECT_EQ(dialog.ControlColor(kValueBox), whiteOnGrey);
  EXPECT_EQ(dialog.ControlColor(kList), whiteOnGrey);
  EXPECT_EQ(dialog.ControlColor(575), ControlColors{});
}

TEST_F(FrameTest, CaptionsAndFontFollowTheLanguage) {
  struct Case {
    UiLanguage language;
    OsVersion version;
    FontRequest font;
    const char* ok;
    const char* cancel;
  };
  const Case cases[] = {
      {UiLanguage::CHS, {6, 2}, {"黑体", 13}, "确定", "取消"},
      {UiLanguage::CHS, {6, 1}, {"宋体", 13}, "确定", "取消"},
      {UiLanguage::CHT, {6, 2}, {"黑体", 14}, "確定", "取消"},
  };
  for (const Case& c : cases) {
    test::FakeDialogHost window;
    test::FakeImageDecoder images(window.drawLog);
    state.language = c.language;
    DialogEnvironment env{state, images, c.version};
    CHotKeyDialog dialog(env);
    window.Attach(dialog);
    dialog.OnInitDialog(window);
    dialog.OnEraseBackground();
    EXPECT_EQ(window.font, c.font);
    ASSERT_EQ(window.text.texts.size(), 2u);
    EXPECT_EQ(window.text.texts[0].text, c.ok);
    EXPECT_EQ(window.text.texts[1].text, c.cancel);
  }
}

TEST_F(FrameTest, TheDropRegionOpensAndClosesTheListAndAClickElsewhereClosesIt) {
  CMediaDialog dialog(environment);
  Open(dialog);
  host.calls.clear();

  Click(dialog, kDrop);
  EXPECT_TRUE(dialog.ListOpen());
  const test::FakeControl* list = host.Find(kList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rect, (Rect{42, 146, 151, 266}));
  EXPECT_FALSE(list->verticalScrollBar);
  EXPECT_EQ(list->items, (std::vector<std::string>{"Next", "Previous", "Stop", "Play/Pause", "Mute",
                                                   "Vol+", "Vol-"}));
  Click(dialog, kDrop);
  EXPECT_FALSE(dialog.ListOpen());
  EXPECT_FALSE(host.Has(kList));

  // A press inside the list's rectangle leaves it open; one outside list and drop region closes it.
  Click(dialog, kDrop);
  Click(dialog, kInList);
  EXPECT_TRUE(host.Has(kList));
  Click(dialog, kNowhere);
  EXPECT_FALSE(host.Has(kList));
  EXPECT_FALSE(dialog.ListOpen());

  EXPECT_EQ(host.calls, (std::vector<std::string>{"create list 553", "destroy 553",
                                                  "create list 553", "destroy 553"}));
  EXPECT_EQ(host.Find(kValueBox)->text, "Next");
  EXPECT_FALSE(host.ended);
}

TEST_F(FrameTest, TheHighlightFollowsThePointerAndTheNotificationTakesThatItem) {
  CMediaDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);

  dialog.OnPointerMove({60, 146 + 3 * 16 + 5});
  EXPECT_EQ(host.Find(kList)->selection, 3);
  dialog.OnPointerMove({20, 200});  // beside the list: the highlight stays
  EXPECT_EQ(host.Find(kList)->selection, 3);

  host.calls.clear();
  dialog.OnListNotification(kList, ListEvent::kDoubleClick);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"redraw 552", "destroy 553"}));
  EXPECT_EQ(host.Find(kValueBox)->text, "Play/Pause");
  EXPECT_FALSE(dialog.ListOpen());

  Click(dialog, kOk);
  EXPECT_EQ(host.ended, DialogResult::kOk);
  EXPECT_EQ(dialog.SelectedIndex(), 3);
  EXPECT_EQ(dialog.SelectedText(), "Play/Pause");
}

// Moved to a display of another scale with a choice made and the list open again: the face is
// drawn anew at the new scale, in a font made again, and nothing the user did is undone.
TEST_F(FrameTest, AChangeOfScaleDrawsTheFaceAgainAndKeepsTheChoiceAndTheOpenList) {
  CMediaDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);
  PickItem(dialog, kList, 3);
  Click(dialog, kDrop);
  ASSERT_TRUE(dialog.ListOpen());

  host.pixelRatio = 2;
  host.calls.clear();
  host.drawLog.clear();
  dialog.OnDisplayScaleChanged();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"resize 1x1", "font"}));
  EXPECT_EQ(host.drawLog.front(), "image /media-key.png");
  EXPECT_EQ(host.drawLog.back(), "copy");
  EXPECT_EQ(host.copiedScale, 2);
  EXPECT_TRUE(dialog.ListOpen());
  EXPECT_EQ(host.Find(kValueBox)->text, "Play/Pause");

  // The background gone meanwhile: said, and the run ends as it would at the opening.
  decoder.missing = {"/media-key.png"};
  host.pixelRatio = 1.5;
  dialog.OnDisplayScaleChanged();
  EXPECT_EQ(host.messages.back().caption, "Media Dialog Load background image failed!!!");
  EXPECT_EQ(host.ended, DialogResult::kCancel);
}

TEST_F(FrameTest, ANotificationWithoutAHighlightTakesNothingAndLeavesTheListShown) {
  CMediaDialog dialog(environment);
  Open(dialog);
  Click(dialog, kDrop);
  dialog.OnListNotification(kList, ListEvent::kSelectionChange);
  EXPECT_TRUE(host.Has(kList));
  EXPECT_FALSE(dialog.ListOpen());
  EXPECT_EQ(host.Find(kValueBox)->text, "Next");

  // The next press in the drop region counts the list as open again without making another;
  // the press after that closes it.
  host.calls.clear();
  Click(dialog, kDrop);
  EXPECT_TRUE(dialog.ListOpen());
  EXPECT_TRUE(host.calls.empty());
  Click(dialog, kDrop);
  EXPECT_FALSE(host.Has(kList));
}

TEST_F(FrameTest, OkCancelAndCloseEndTheRunAndOkTakesTheSharedColumn) {
  const struct {
    Point press;
    DialogResult result;
  } cases[] = {
      {kOk, DialogResult::kOk},
      {{270, 260}, DialogResult::kOk},
      {{271, 260}, DialogResult::kCancel},
      {kClose, DialogResult::kCancel},
  };
  for (const auto& c : cases) {
    test::FakeDialogHost window;
    test::FakeImageDecoder images(window.drawLog);
    DialogEnvironment env{state, images, {10, 0}};
    CMediaDialog dialog(env);
    window.Attach(dialog);
    dialog.OnInitDialog(window);
    dialog.OnLButtonDown({140, 136});  // the list is open when the press comes
    dialog.OnLButtonDown(c.press);
    EXPECT_EQ(window.ended, c.result) << c.press.x;
    EXPECT_FALSE(window.Has(kList));
    EXPECT_EQ(dialog.SelectedIndex(), 0);
    EXPECT_EQ(dialog.SelectedText(), "Next");
  }
}

TEST_F(FrameTest, WithoutItsBackgroundEachDialogSaysSoCreatesNothingAndCancels) {
  struct Case {
    const char* image;
    const char* caption;
    std::function<std::unique_ptr<FunctionDialogFrame>(const DialogEnvironment&)> make;
  };
  const Case cases[] = {
      {"/fire-key.png", "FireKey Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CFireKeyDialog>(e); }},
      {"/hot-key.png", "HotKey Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CHotKeyDialog>(e); }},
      {"/single-key.png", "Single Key Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CSingleDialog>(e); }},
      {"/media-key.png", "Media Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CMediaDialog>(e); }},
      {"/windows-key.png", "Windows Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CWindowsDialog>(e); }},
      {"/snipe-key.png", "Snipe Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CSnipeDialog>(e); }},
      {"/skins.png", "Skins Dialog Load background image failed!!!",
       [](const DialogEnvironment& e) { return std::make_unique<CSkinsDialog>(e); }},
  };
  for (const Case& c : cases) {
    test::FakeDialogHost window;
    test::FakeImageDecoder images(window.drawLog);
    images.missing = {c.image};
    DialogEnvironment env{state, images, {10, 0}};
    auto dialog = c.make(env);
    window.Attach(*dialog);
    dialog->OnInitDialog(window);
    dialog->OnEraseBackground();
    dialog->OnLButtonDown(kOk);
    dialog->OnMouseMove(kOk);
    dialog->OnMouseHover(kOk);

    EXPECT_EQ(window.messages, (std::vector<test::Message>{{"error", c.caption}})) << c.image;
    EXPECT_EQ(window.calls, (std::vector<std::string>{"message error", "end cancel"})) << c.image;
    EXPECT_EQ(window.ended, DialogResult::kCancel);
    EXPECT_FALSE(window.font);
    EXPECT_TRUE(window.tracks.empty());
    EXPECT_EQ(window.drawLog, (DrawLog{std::string("image ") + c.image})) << c.image;
    EXPECT_FALSE(dialog->BackgroundLoaded());
  }
}

}  // namespace
}  // namespace q8
