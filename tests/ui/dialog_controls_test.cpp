#include "ui/dialog_controls.h"

#include "ui/dialog_canvas.h"

#include <gtest/gtest.h>

#include "skin_fakes.h"
#include "support/fakes.h"

namespace q8 {
namespace {

using test::DrawLog;
using C = DialogControls;

class DialogControlsTest : public ::testing::Test {
 protected:
  DialogControlsTest() {
    window_.MakeCanvas(decoder_, "skin/fire-key.png");
    log_.clear();
  }

  void RestAt(Point p) {
    controls_.OnMouseMove(p);
    controls_.OnMouseHover(p);
  }

  DrawLog log_;
  test::FakeImageDecoder decoder_{log_};
  test::FakeTextPainter text_{log_};
  test::FakeSkinWindowHost host_{log_};
  test::RecordingMessageSink messages_;
  std::string skinDirectory_ = "skin";
  Rgb textColor_ = kInitialSkinTextColor;
  SkinPainter painter_{skinDirectory_, textColor_, decoder_, text_, &messages_};
  SkinnedWindow window_{host_};
  DialogCaptions captions_{"OK", "Cancel"};
  C controls_{window_, painter_, captions_};
};

TEST_F(DialogControlsTest, OkAndCancelFormOneGroupAndTheCloseButtonIsAlone) {
  RestAt({200, 260});
  RestAt({300, 260});
  RestAt({360, 10});
  EXPECT_EQ(log_, (DrawLog{"image /button-over.png", "text OK", "copy", "image /button-over.png",
                           "text Cancel", "image /button-normal.png", "text OK", "copy",
                           "image /button-close-over.png", "copy"}));
  // A dialog asks for hover notifications only.
  EXPECT_EQ(host_.tracking, (std::vector<test::TrackRequest>(3, {false, 10})));

  log_.clear();
  controls_.OnMouseMove({100, 100});
  EXPECT_EQ(log_, (DrawLog{"image /button-normal.png", "text Cancel",
                           "image /button-close-normal.png", "copy"}));
  EXPECT_FALSE(controls_.IsOver(C::kCancel));
  EXPECT_FALSE(controls_.IsOver(C::kClose));
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(DialogControlsTest, AMissingImageIsReportedAtEveryHoverChange) {
  decoder_.missing = {"/button-over.png"};
  RestAt({200, 260});
  RestAt({300, 260});
  const test::Message failed{"LoadPng---Load image failed.", "TarnixMouseApp"};
  EXPECT_EQ(messages_.messages, (std::vector<test::Message>(2, failed)));
  EXPECT_TRUE(controls_.IsOver(C::kCancel));
}

TEST(DialogCanvasTest, AMissingBackgroundIsReportedAndLeavesNoCanvas) {
  DrawLog log;
  test::FakeImageDecoder decoder(log);
  test::FakeSkinWindowHost host(log);
  test::RecordingMessageSink messages;
  SkinnedWindow window(host);
  decoder.missing = {"/snipe-key.png"};
  EXPECT_FALSE(MakeDialogCanvas(window, decoder, "skin", dialog_background::kSnipe, messages));
  EXPECT_EQ(window.canvas(), nullptr);
  EXPECT_TRUE(host.resizes.empty());
  EXPECT_EQ(
      messages.messages,
      (std::vector<test::Message>{{"error", "Snipe Dialog Load background image failed!!!"}}));

  EXPECT_TRUE(MakeDialogCanvas(window, decoder, "skin", dialog_background::kSkins, messages));
  EXPECT_NE(window.canvas(), nullptr);
  EXPECT_EQ(decoder.paths.back(), "skin/skins.png");
  EXPECT_EQ(messages.messages.size(), 1u);
}

}  // namespace
}  // namespace q8
