#include "pages/page_control_colors.h"

#include "pages/main_page_layout.h"

namespace q8 {
namespace {

using namespace page_layout;

// The page's dark blue behind the value texts; the lighting texts sit on a lighter brush.
constexpr Rgb kValueTextBackground{3, 20, 31};
constexpr Rgb kLightingBrush{3, 20, 55};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

bool IsSwatch(ControlId id) {
  return id >= StageSwatchId(1) && id <= StageSwatchId(static_cast<int>(kDpiStageCount));
}

bool IsStageValue(ControlId id) {
  return id >= StageValueId(1) && id <= StageValueId(kPageStages);
}

bool IsLightingValue(ControlId id) {
  return id == kModeValueId || id == kParameterValueId || id == kEffectValueId;
}

bool IsPopupList(ControlId id) {
  return id == kDpiSubListId || (id >= kFirstKeyListId && id <= kLastKeyListId) ||
         id == kDpiLevelListId || id == kModeListId || id == kParameterListId ||
         id == kEffectListId;
}

}  // namespace

std::optional<ControlColors> PageControlColor(ControlId control, const DeviceConfig& config,
                                              Rgb skinTextColor) {
  if (IsSwatch(control)) {
    const auto stage = static_cast<std::size_t>(control - StageSwatchId(1) + 1);
    const auto colour = config.StageColor(stage);
    return ControlColors{std::nullopt, std::nullopt, Rgb{colour[0], colour[1], colour[2]}};
  }
  if (IsLightingValue(control)) {
    return ControlColors{skinTextColor, kValueTextBackground, kLightingBrush};
  }
  if (IsStageValue(control)) {
    return ControlColors{skinTextColor, kValueTextBackground, kValueTextBackground};
  }
  if (IsPopupList(control)) {
    return ControlColors{kWhite, std::nullopt, kBlack};
  }
  return std::nullopt;
}

}  // namespace q8
