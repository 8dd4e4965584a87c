#include "main_page_fixture.h"

namespace q8::test {
namespace {

constexpr ControlId kModeList = 60;
constexpr ControlId kParamList = 61;
constexpr ControlId kEffectList = 62;

class LightingSectionTest : public MainPageTest {
 protected:
  LightingSectionTest() { BuildAndForget(); }

  bool AnyListCreated() const {
    return std::any_of(host_.calls.begin(), host_.calls.end(),
                       [](const std::string& c) { return c.starts_with("create list"); });
  }
};

TEST_F(LightingSectionTest, ModeOffOffersNoParameterOrEffect) {
  Config()[field::LightingMode] = 0;
  for (int click = 0; click < 3; ++click) {
    page_.ToggleLightingParamList();
    page_.ToggleLightingEffectList();
  }
  EXPECT_FALSE(AnyListCreated());
  EXPECT_EQ(TextOf(81), "");

  // The third click found nothing to open but still counts: the next one only clears it, even
  // once the mode has a list.
  page_.ToggleLightingModeList();
  Choose(kModeList, 1);
  page_.ToggleLightingParamList();
  EXPECT_FALSE(host_.Has(kParamList));
  page_.ToggleLightingParamList();
  EXPECT_TRUE(host_.Has(kParamList));
}

TEST_F(LightingSectionTest, ChoosingAModeShowsItsStoredParameter) {
  Config()[field::LightingMode] = 2;
  Config()[field::LightingBrightness] = 9;
  Config()[field::LightingEffect] = 2;
  page_.ToggleLightingModeList();
  EXPECT_EQ(ItemsOf(kModeList), (std::vector<std::string>{"Off", "Standard", "Respiration"}));
  Choose(kModeList, 1);
  EXPECT_EQ(Config()[field::LightingMode], 1);
  EXPECT_EQ(TextOf(80), "Standard");
  EXPECT_EQ(TextOf(81), "100%");
  EXPECT_EQ(TextOf(82), "RGB Effect");
  EXPECT_FALSE(host_.Has(kModeList));

  page_.ToggleLightingModeList();
  Choose(kModeList, 0);
  EXPECT_EQ(TextOf(81), "");
  EXPECT_EQ(TextOf(82), "");

  // Respiration shows the first effect whatever is stored, and keeps what is stored.
  page_.ToggleLightingModeList();
  Choose(kModeList, 2);
  EXPECT_EQ(TextOf(81), "8S");
  EXPECT_EQ(TextOf(82), "RGB Effect");
  EXPECT_EQ(Config()[field::LightingEffect], 2);
}

TEST_F(LightingSectionTest, TheParameterListFollowsTheMode) {
  Config()[field::LightingMode] = 1;
  page_.ToggleLightingParamList();
  EXPECT_EQ(host_.Find(kParamList)->rect, (Rect{768, 378, 851, 548}));
  EXPECT_EQ(ItemsOf(kParamList).size(), 10u);
  Choose(kParamList, 4);
  EXPECT_EQ(Config()[field::LightingBrightness], 4);
  EXPECT_EQ(TextOf(81), "45%");

  Config()[field::LightingMode] = 2;
  page_.ToggleLightingParamList();
  EXPECT_EQ(host_.Find(kParamList)->rect, (Rect{768, 378, 851, 468}));
  Choose(kParamList, 3);
  EXPECT_EQ(Config()[field::LightingSpeed], 3);
  EXPECT_EQ(TextOf(81), "5S");
}

TEST_F(LightingSectionTest, OnlyRespirationChoosesAnEffect) {
  Config()[field::LightingMode] = 1;
  page_.ToggleLightingEffectList();
  EXPECT_FALSE(AnyListCreated());
  EXPECT_EQ(TextOf(82), "RGB Effect");
  page_.ToggleLightingEffectList();  // only clears the flag

  Config()[field::LightingMode] = 2;
  page_.ToggleLightingEffectList();
  EXPECT_EQ(ItemsOf(kEffectList), (std::vector<std::string>{"RGB Effect", "RGB Flash"}));
  Choose(kEffectList, 1);
  EXPECT_EQ(Config()[field::LightingEffect], 2);
  EXPECT_EQ(TextOf(82), "RGB Flash");
}

TEST_F(LightingSectionTest, APressClosesEveryListItMisses) {
  Config()[field::LightingMode] = 2;
  page_.ToggleLightingModeList();
  page_.ToggleLightingParamList();
  page_.ToggleLightingEffectList();
  page_.CloseListsOutside({800, 335});  // the mode's click area
  EXPECT_TRUE(host_.Has(kModeList));
  EXPECT_FALSE(host_.Has(kParamList));
  EXPECT_FALSE(host_.Has(kEffectList));
  page_.ToggleLightingParamList();  // closed by the press: this click opens it again
  EXPECT_TRUE(host_.Has(kParamList));
}

}  // namespace
}  // namespace q8::test
