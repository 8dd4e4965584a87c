#include "pages/main_page_areas.h"

#include "ui/main_window_controls.h"

namespace q8 {
namespace {

// The page's click areas.
constexpr Rect kModeAArea{253, 518, 358, 539};
constexpr Rect kModeBArea{357, 518, 462, 539};
constexpr Rect kRestoreKeysArea = MainWindowControls::kRestoreKeysButton.region;
constexpr Rect kReportRateAreas[] = {
    {542, 204, 612, 215}, {614, 204, 684, 215}, {686, 204, 756, 215}, {758, 204, 828, 215}};
constexpr int kPageStages = 6;
constexpr Rect StageSwatchArea(int stage) {
  return {548, 323 + 30 * (stage - 1), 564, 339 + 30 * (stage - 1)};
}
constexpr Rect StageValueArea(int stage) {
  return {575, 323 + 30 * (stage - 1), 659, 337 + 30 * (stage - 1)};
}
constexpr Rect kLightingModeArea{768, 331, 851, 345};
constexpr Rect kLightingParamArea{768, 361, 851, 375};
constexpr Rect kLightingEffectArea{768, 391, 851, 405};

}  // namespace

bool DispatchPageClick(MainPageOperations& page, Point point) {
  if (kModeAArea.Contains(point)) {
    page.SelectKeyConfig(KeyConfigId::A);
    return true;
  }
  if (kModeBArea.Contains(point)) {
    page.SelectKeyConfig(KeyConfigId::B);
    return true;
  }
  if (kRestoreKeysArea.Contains(point)) {
    page.RestoreDefaultKeys();
    return true;
  }
  for (int row = 1; row <= MainWindowControls::kKeyRows; ++row) {
    if (MainWindowControls::KeyRow(row).region.Contains(point)) {
      page.ToggleKeyList(row);
      return true;
    }
  }
  for (int position = 1; position <= 4; ++position) {
    if (kReportRateAreas[position - 1].Contains(point)) {
      page.SelectReportRate(position);
      return true;
    }
  }
  for (int stage = 1; stage <= kPageStages; ++stage) {
    if (StageSwatchArea(stage).Contains(point)) {
      page.ChooseStageColor(stage);
      return true;
    }
  }
  for (int stage = 1; stage <= kPageStages; ++stage) {
    if (StageValueArea(stage).Contains(point)) {
      page.ToggleDpiLevelList(stage);
      return true;
    }
  }
  if (kLightingModeArea.Contains(point)) {
    page.ToggleLightingModeList();
  } else if (kLightingParamArea.Contains(point)) {
    page.ToggleLightingParamList();
  } else if (kLightingEffectArea.Contains(point)) {
    page.ToggleLightingEffectList();
  } else {
    return false;
  }
  return true;
}

}  // namespace q8
