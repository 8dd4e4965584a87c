#include "pages/rate_dpi_section.h"

#include <string>

#include "model/dpi_levels.h"
#include "pages/main_page_layout.h"
#include "ui/skin_controls.h"

namespace q8 {
namespace {

using namespace page_layout;

// Wheel notches scroll the level list by this many lines.
constexpr int kWheelLines = 3;

int StoredPosition(const DeviceConfig& config) {
  return static_cast<int>(ReportRateChoiceIndex(config[field::ReportRateCode]));
}

}  // namespace

void RateDpiSection::Draw(Canvas* target) const {
  const DeviceConfig& config = page_.state.settings.deviceConfig;
  SkinSlider(kReportRateStops, StoredPosition(config), kReportRateGround)
      .DrawAll(page_.painter, target);
  for (std::size_t i = 0; i < kReportRateStops.size(); ++i) {
    page_.painter.DrawCaption(target, ReportRateChoices[i].label,
                              ReportRateLabelRect(kReportRateStops[i]), TextAlign::kCentre);
  }
  for (int stage = 1; stage <= kPageStages; ++stage) {
    page_.painter.DrawCaption(target, std::to_string(stage), StageNumberRect(stage),
                              TextAlign::kCentre);
  }
}

void RateDpiSection::ShowStages(bool create) {
  ControlHost& host = page_.nativeControls;
  const DeviceConfig& config = Config();
  for (int stage = 1; stage <= kPageStages; ++stage) {
    const std::string_view label =
        DpiLevelLabel(page_.state.sensorVariant,
                      config.Stage(field::DpiStageLevel, static_cast<std::size_t>(stage)));
    if (create) {
      host.CreateStatic(StageValueId(stage), StageValueRect(stage), label, StaticStyle::kCentre);
      // The swatch shows no text: its background brush is the stage's colour.
      host.CreateStatic(StageSwatchId(stage), StageSwatchRect(stage), "", StaticStyle::kLeft);
    } else {
      host.SetControlText(StageValueId(stage), label);
      host.RedrawControl(StageSwatchId(stage));
    }
  }
}

void RateDpiSection::DestroyStages() {
  for (int stage = 1; stage <= kPageStages; ++stage) {
    page_.nativeControls.DestroyControl(StageValueId(stage));
    page_.nativeControls.DestroyControl(StageSwatchId(stage));
  }
}

// Choosing the rate shown already draws nothing; otherwise the new position turns light and the
// old one dark, in one drawing.
void RateDpiSection::SelectReportRate(int position) {
  if (position < 1 || position > static_cast<int>(ReportRateChoices.size())) {
    return;
  }
  std::uint8_t& stored = Config()[field::ReportRateCode];
  const std::uint8_t code = ReportRateChoices[static_cast<std::size_t>(position - 1)].code;
  if (stored != code) {
    SkinSlider track(kReportRateStops, StoredPosition(Config()), kReportRateGround);
    page_.window.Draw([&](Canvas* target) { track.Select(page_.painter, target, position - 1); });
  }
  stored = code;
}

void RateDpiSection::ToggleDpiLevelList(int stage) {
  if (listStage_) {
    CloseLevelList();  // any value box closes the open list
    return;
  }
  ControlHost& host = page_.nativeControls;
  listStage_ = stage;
  host.CreateList(kDpiLevelListId, DpiLevelListRect(stage), /*verticalScrollBar=*/false);
  for (const DpiLevel& level : DpiLevelTable(page_.state.sensorVariant)) {
    host.AddListItem(kDpiLevelListId, level.label);
  }
}

void RateDpiSection::CommitDpiLevel() {
  const auto selected = page_.nativeControls.ListSelection(kDpiLevelListId);
  if (!selected || *selected < 0 || !listStage_) {
    return;
  }
  const int stage = *listStage_;
  const auto level = static_cast<std::size_t>(*selected);
  Config().Stage(field::DpiStageLevel, static_cast<std::size_t>(stage)) =
      static_cast<std::uint8_t>(level);
  page_.nativeControls.SetControlText(StageValueId(stage),
                                      DpiLevelLabel(page_.state.sensorVariant, level));
  page_.nativeControls.RedrawControl(StageValueId(stage));
  CloseLevelList();
}

void RateDpiSection::CloseLevelList() {
  if (listStage_) {
    page_.nativeControls.DestroyControl(kDpiLevelListId);
    listStage_.reset();
  }
}

void RateDpiSection::OnMouseWheel(int delta) {
  if (listStage_) {
    page_.nativeControls.ScrollList(kDpiLevelListId, delta > 0 ? -kWheelLines : kWheelLines);
  }
}

// Only a stage switched on (enable byte exactly 1) takes a colour.
void RateDpiSection::ChooseStageColor(int stage) {
  const auto index = static_cast<std::size_t>(stage);
  if (Config().Stage(field::DpiStageEnabled, index) != 1) {
    return;
  }
  // The chooser opens as the system sets it up by default, not on the stage's colour.
  const std::optional<Rgb> chosen = page_.nativeControls.ChooseColor(Rgb{});
  if (!chosen) {
    return;
  }
  const auto colour = Config().StageColor(index);
  colour[0] = chosen->red;
  colour[1] = chosen->green;
  colour[2] = chosen->blue;
  page_.nativeControls.RedrawControl(StageSwatchId(stage));
}

}  // namespace q8
