#pragma once

#include "pages/key_section.h"
#include "pages/lighting_section.h"
#include "pages/main_page_context.h"
#include "pages/main_page_operations.h"
#include "pages/rate_dpi_section.h"

namespace q8 {

// The main window's settings page: its key, report-rate, DPI and lighting sections drawn into the
// window's canvas, with their native lists and value texts. The main window's dispatcher decides
// which area a press falls in and calls the operation; the page does the rest.
class MainPage final : public MainPageOperations {
 public:
  explicit MainPage(const MainPageContext& context)
      : page_(context), keys_(page_), rates_(page_), lighting_(page_) {}
  MainPage(const MainPage&) = delete;
  MainPage& operator=(const MainPage&) = delete;

  bool IsBuilt() const override { return built_; }
  void Build() override;
  void TearDown() override;
  void Redraw(bool overArt) override;
  std::optional<Canvas> TakeArt() override;
  void CloseListsOutside(Point point) override;

  void SelectKeyConfig(KeyConfigId config) override { keys_.SelectKeyConfig(config); }
  void RestoreDefaultKeys() override { keys_.RestoreDefaultKeys(); }
  void ToggleKeyList(int row) override;
  void SelectReportRate(int position) override { rates_.SelectReportRate(position); }
  void ChooseStageColor(int stage) override;
  void ToggleDpiLevelList(int stage) override;
  void ToggleLightingModeList() override { lighting_.ToggleModeList(); }
  void ToggleLightingParamList() override { lighting_.ToggleParamList(); }
  void ToggleLightingEffectList() override { lighting_.ToggleEffectList(); }

  void OnPointerMove(Point point) override;
  void OnListNotification(ControlId list, ListEvent event) override;
  void OnMouseWheel(int delta) override { rates_.OnMouseWheel(delta); }
  std::optional<ControlColors> ControlColor(ControlId control) const override;

 private:
  void TakeDefaultCaptionsOnFirstRun();
  // Everything the page draws into the canvas; the page art unless `overArt`.
  void DrawPage(Canvas* target, bool overArt = false);

  MainPageContext page_;
  KeySection keys_;
  RateDpiSection rates_;
  LightingSection lighting_;
  bool built_ = false;
  // The value texts and swatches exist: a build only updates them.
  bool staticsExist_ = false;
};

}  // namespace q8
