#include "main_page_fixture.h"
#include "settings/str_ini.h"

namespace q8::test {
namespace {

std::ptrdiff_t Position(const DrawLog& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) - log.begin();
}

using MainPageBuildTest = MainPageTest;

TEST_F(MainPageBuildTest, TheFirstBuildOfAFirstRunWritesTheDefaultCaptions) {
  state_.settings.firstRunFlag = 0;
  state_.captions.fill("stale");
  page_.Build();
  EXPECT_TRUE(state_.pagesBuiltOnce);
  EXPECT_EQ(state_.captions, DefaultButtonCaptions(UiLanguage::EN));
  EXPECT_EQ(ReadStrIniSettings(state_.files.strIni, "Setting-EN").captions, state_.captions);
  EXPECT_EQ(captions_.keyRows[3], "DPI +");

  // Later builds of the run keep the captions as they are.
  state_.captions[0] = "Copy";
  page_.TearDown();
  page_.Build();
  EXPECT_EQ(captions_.keyRows[0], "Copy");
}

TEST_F(MainPageBuildTest, AFirstBuildAfterASaveKeepsTheCaptionsOfStrIni) {
  state_.captions[4] = "Mute";
  page_.Build();
  EXPECT_EQ(captions_.keyRows[4], "Mute");
  EXPECT_FALSE(std::filesystem::exists(state_.files.strIni));
}

TEST_F(MainPageBuildTest, ThePageIsDrawnInOrderAndReachesTheWindowInOneCopy) {
  page_.Build();
  const DrawLog& log = host_.drawLog;
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "image /BasicSet2.png");
  const std::vector<std::string> order{"image /button-Skins-normal.png",
                                       "text Cancel",
                                       "text Basic Settings",
                                       "text Key Setting",
                                       "text DPI Effect",
                                       "text Effect",
                                       "text https://www.tarnix.example/",
                                       "text Default",
                                       "text Left Click",
                                       "text Mode A",
                                       "text Mode B",
                                       "image /slider-RP-dark.png",
                                       "text 1000"};
  for (std::size_t i = 1; i < order.size(); ++i) {
    EXPECT_LT(Position(log, order[i - 1]), Position(log, order[i])) << order[i];
  }
  EXPECT_EQ(Position(log, "image /slider-RP-light.png"), Position(log, "text 125") - 1);
  EXPECT_EQ(log.back(), "text 6");  // the row number of DPI stage 6
  EXPECT_EQ(host_.copies, 1);

  const auto& texts = dynamic_cast<FakeTextPainter&>(host_.Text()).texts;
  const auto title = std::find_if(texts.begin(), texts.end(),
                                  [](const DrawnText& t) { return t.text == "Basic Settings"; });
  ASSERT_NE(title, texts.end());
  EXPECT_EQ(title->font, FontRole::kTitle);
  EXPECT_EQ(title->colour, (Rgb{0x42, 0x42, 0x42}));
  EXPECT_EQ(title->rect, (Rect{90, 51, 236, 99}));
}

TEST_F(MainPageBuildTest, BuildingTwiceDrawsAndCreatesOnce) {
  page_.Build();
  page_.Build();
  EXPECT_EQ(host_.copies, 1);
  EXPECT_EQ(std::count_if(host_.calls.begin(), host_.calls.end(),
                          [](const std::string& c) { return c.starts_with("create static"); }),
            15);
  EXPECT_EQ(host_.Find(76)->rect, (Rect{548, 473, 564, 489}));
  EXPECT_EQ(host_.Find(82)->rect, (Rect{768, 391, 836, 405}));
}

TEST_F(MainPageBuildTest, TearDownRemovesControlsAndListsButKeepsTheSettings) {
  page_.Build();
  page_.ToggleKeyList(2);
  page_.ToggleDpiLevelList(1);
  page_.ToggleLightingModeList();
  const DeviceConfig before = Config();
  const ButtonCaptions captionsBefore = state_.captions;
  page_.TearDown();
  EXPECT_FALSE(page_.IsBuilt());
  EXPECT_TRUE(host_.controls.empty());
  EXPECT_EQ(Config(), before);
  EXPECT_EQ(state_.captions, captionsBefore);

  page_.Build();
  EXPECT_EQ(host_.copies, 2);
  EXPECT_EQ(host_.controls.size(), 15u);
  page_.ToggleDpiLevelList(1);  // the list counts as closed: it opens again
  EXPECT_TRUE(host_.Has(59));
}

TEST_F(MainPageBuildTest, ValueTextsShowTheRecordAndNothingForValuesOutsideTheirTables) {
  state_.sensorVariant = 1;
  Config().Stage(field::DpiStageLevel, 1) = 7;
  Config().Stage(field::DpiStageLevel, 2) = 8;
  Config()[field::LightingMode] = 3;
  Config()[field::NeonSpeed] = 2;
  Config()[field::NeonEffect] = 3;
  page_.Build();
  EXPECT_EQ(TextOf(11), "3200");
  EXPECT_EQ(TextOf(12), "");
  EXPECT_EQ(TextOf(80), "Neon");
  EXPECT_EQ(TextOf(81), "1.5S");
  EXPECT_EQ(TextOf(82), "RGB Fixed On");

  page_.TearDown();
  state_.sensorVariant = 4;
  Config()[field::LightingMode] = 1;
  Config()[field::LightingBrightness] = 12;
  page_.Build();
  EXPECT_EQ(TextOf(11), "");
  EXPECT_EQ(TextOf(80), "Standard");
  EXPECT_EQ(TextOf(81), "");
}

TEST_F(MainPageBuildTest, ControlColoursFollowTheTable) {
  state_.skinTextColor = {9, 8, 7};
  Config().StageColor(8)[0] = 200;
  const Rgb text{9, 8, 7};
  EXPECT_EQ(page_.ControlColor(78), (ControlColors{{}, {}, Rgb{200, 0, 0}}));
  EXPECT_EQ(page_.ControlColor(81), (ControlColors{text, Rgb{3, 20, 31}, Rgb{3, 20, 55}}));
  EXPECT_EQ(page_.ControlColor(16), (ControlColors{text, Rgb{3, 20, 31}, Rgb{3, 20, 31}}));
  for (const ControlId list : {40, 41, 47, 59, 60, 62}) {
    EXPECT_EQ(page_.ControlColor(list), (ControlColors{Rgb{255, 255, 255}, {}, Rgb{0, 0, 0}}));
  }
  for (const ControlId other : {10, 17, 70, 79, 83}) {
    EXPECT_FALSE(page_.ControlColor(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace q8::test
