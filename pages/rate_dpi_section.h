#pragma once

#include <optional>

#include "pages/main_page_context.h"

namespace q8 {

// The report-rate and DPI sections of the settings page: the report-rate track with its four
// positions, and for DPI stages 1..6 a row number, a colour swatch and a DPI value text with the
// level list that opens under it. Choices go straight into DeviceConfig.
class RateDpiSection {
 public:
  explicit RateDpiSection(MainPageContext& page) : page_(page) {}
  RateDpiSection(const RateDpiSection&) = delete;
  RateDpiSection& operator=(const RateDpiSection&) = delete;

  // The report-rate track at the stored rate with its labels, and the stages' row numbers.
  void Draw(Canvas* target) const;
  // The stages' value texts and swatches: created when `create`, otherwise given the stored
  // levels' labels and repainted.
  void ShowStages(bool create);
  void DestroyStages();

  void SelectReportRate(int position);
  void ToggleDpiLevelList(int stage);
  void CommitDpiLevel();
  void ChooseStageColor(int stage);
  // Scrolls the open level list three lines per notch.
  void OnMouseWheel(int delta);
  void CloseLevelList();

  std::optional<int> LevelListStage() const { return listStage_; }

 private:
  DeviceConfig& Config() { return page_.state.settings.deviceConfig; }

  MainPageContext& page_;
  // The stage whose level list is open.
  std::optional<int> listStage_;
};

}  // namespace q8
