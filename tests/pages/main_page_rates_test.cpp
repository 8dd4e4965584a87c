#include "main_page_fixture.h"

namespace q8::test {
namespace {

constexpr ControlId kLevelList = 59;

class RateDpiSectionTest : public MainPageTest {
 protected:
  RateDpiSectionTest() { BuildAndForget(); }
};

TEST_F(RateDpiSectionTest, ChoosingTheRateShownRedrawsNothing) {
  page_.SelectReportRate(2);
  // Each stop is drawn on the ground put back first, never over its previous image.
  EXPECT_EQ(host_.drawLog,
            (DrawLog{"image /main.png", "image /BasicSet2.png", "image /slider-RP-light.png",
                     "image /main.png", "image /BasicSet2.png", "image /slider-RP-dark.png"}));
  EXPECT_EQ(host_.copies, 1);
  page_.SelectReportRate(2);
  EXPECT_EQ(host_.copies, 1);
  EXPECT_EQ(Config()[field::ReportRateCode], 4);

  // A stored code the track has no place for shows as 1000 Hz; choosing 1000 stores its code
  // and leaves that position light.
  Config()[field::ReportRateCode] = 0;
  Forget();
  page_.SelectReportRate(4);
  EXPECT_EQ(Config()[field::ReportRateCode], 1);
  EXPECT_EQ(host_.drawLog, DrawLog{});
}

TEST_F(RateDpiSectionTest, ALevelListOffersTheSensorsLevelsAndSetsTheStage) {
  state_.sensorVariant = 0;
  page_.ToggleDpiLevelList(3);
  ASSERT_TRUE(host_.Has(kLevelList));
  EXPECT_EQ(host_.Find(kLevelList)->rect, (Rect{575, 398, 659, 498}));
  EXPECT_EQ(ItemsOf(kLevelList).size(), 12u);

  Choose(kLevelList, 8);
  EXPECT_EQ(Config().Stage(field::DpiStageLevel, 3), 8);
  EXPECT_EQ(TextOf(13), "2500");
  EXPECT_FALSE(host_.Has(kLevelList));

  page_.ToggleDpiLevelList(1);
  page_.ToggleDpiLevelList(5);  // any value box closes an open list
  EXPECT_FALSE(host_.Has(kLevelList));
  page_.ToggleDpiLevelList(5);
  host_.SetListSelection(kLevelList, 1);
  page_.CloseListsOutside({100, 600});  // a press elsewhere leaves it open
  EXPECT_TRUE(host_.Has(kLevelList));
  page_.OnListNotification(kLevelList, ListEvent::kDoubleClick);
  EXPECT_EQ(Config().Stage(field::DpiStageLevel, 5), 1);
}

TEST_F(RateDpiSectionTest, AnUnknownSensorOffersNoLevels) {
  state_.sensorVariant = 4;
  page_.ToggleDpiLevelList(2);
  ASSERT_TRUE(host_.Has(kLevelList));
  EXPECT_TRUE(ItemsOf(kLevelList).empty());
  page_.OnListNotification(kLevelList, ListEvent::kSelectionChange);
  EXPECT_TRUE(host_.Has(kLevelList));
}

TEST_F(RateDpiSectionTest, TheWheelScrollsTheOpenListThreeLines) {
  page_.OnMouseWheel(120);
  page_.ToggleDpiLevelList(1);
  page_.OnMouseWheel(-120);
  page_.OnMouseWheel(0);
  page_.OnMouseWheel(120);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"create list 59", "scroll 59 3", "scroll 59 3",
                                                   "scroll 59 -3"}));
}

TEST_F(RateDpiSectionTest, OnlyAStageSwitchedOnTakesAColour) {
  host_.chosenColor = Rgb{10, 20, 30};
  page_.ChooseStageColor(2);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"choose colour", "redraw 72"}));
  EXPECT_EQ(page_.ControlColor(72)->brush, (Rgb{10, 20, 30}));

  Forget();
  Config().Stage(field::DpiStageEnabled, 3) = 0;
  Config().Stage(field::DpiStageEnabled, 4) = 2;
  page_.ChooseStageColor(3);
  page_.ChooseStageColor(4);
  EXPECT_TRUE(host_.calls.empty());

  host_.chosenColor.reset();  // Cancel
  page_.ChooseStageColor(2);
  EXPECT_EQ(Config().StageColor(2)[0], 10);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"choose colour"});
}

}  // namespace
}  // namespace q8::test
