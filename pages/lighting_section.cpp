#include "pages/lighting_section.h"

#include <array>

#include "model/lighting_settings.h"

namespace q8 {
namespace {

using namespace page_layout;

LightingModeCode ModeOf(const DeviceConfig& config) {
  return static_cast<LightingModeCode>(config[field::LightingMode]);
}

}  // namespace

void LightingSection::ShowValues(bool create) {
  const LightingTexts texts = LightingPageTexts(Config(), page_.state.language);
  if (create) {
    ControlHost& host = page_.nativeControls;
    host.CreateStatic(kModeValueId, kModeValue, texts.mode, StaticStyle::kCentre);
    host.CreateStatic(kParameterValueId, kParameterValue, texts.parameter, StaticStyle::kCentre);
    host.CreateStatic(kEffectValueId, kEffectValue, texts.effect, StaticStyle::kCentre);
    return;
  }
  SetValue(kModeValueId, texts.mode);
  SetValue(kParameterValueId, texts.parameter);
  SetValue(kEffectValueId, texts.effect);
}

void LightingSection::DestroyValues() {
  for (const ControlId id : {kModeValueId, kParameterValueId, kEffectValueId}) {
    page_.nativeControls.DestroyControl(id);
  }
}

void LightingSection::SetValue(ControlId id, std::string_view text) {
  page_.nativeControls.SetControlText(id, text);
  page_.nativeControls.RedrawControl(id);
}

// --- The lists
// --------------------------------------------------------------------------------------

bool LightingSection::CloseIfOpen(PopupList& list) {
  if (!list.open) {
    return true;
  }
  Close(list);
  return false;
}

void LightingSection::Open(PopupList& list, Rect rect, std::span<const std::string_view> items) {
  ControlHost& host = page_.nativeControls;
  host.CreateList(list.id, rect, /*verticalScrollBar=*/false);
  list.items.clear();
  for (const std::string_view item : items) {
    host.AddListItem(list.id, item);
    list.items.emplace_back(item);
  }
  list.rect = rect;
  list.open = true;
}

void LightingSection::Close(PopupList& list) {
  if (list.rect) {
    page_.nativeControls.DestroyControl(list.id);
  }
  list.rect.reset();
  list.items.clear();
  list.open = false;
}

std::optional<std::size_t> LightingSection::Selection(const PopupList& list) const {
  const auto selected = page_.nativeControls.ListSelection(list.id);
  if (!list.rect || !selected || *selected < 0 ||
      static_cast<std::size_t>(*selected) >= list.items.size()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(*selected);
}

void LightingSection::CloseListsOutside(Point point) {
  for (PopupList* list : {&mode_, &param_, &effect_}) {
    const bool onList = list->rect && list->rect->Contains(point);
    if (list->open && !onList && !list->clickArea.Contains(point)) {
      Close(*list);
    }
  }
}

void LightingSection::CloseLists() {
  Close(mode_);
  Close(param_);
  Close(effect_);
}

// --- Toggles
// -----------------------------------------------------------------------------------------

// Neon is shown when stored, but the list offers only the three modes the tool sets.
void LightingSection::ToggleModeList() {
  if (CloseIfOpen(mode_)) {
    const std::array<std::string_view, 3> modes{Text(UiTextKey::DpiEffectOff),
                                                Text(UiTextKey::DpiEffectStandard),
                                                Text(UiTextKey::DpiEffectRespiration)};
    Open(mode_, kModeListRect, modes);
  }
}

void LightingSection::ToggleParamList() {
  if (!CloseIfOpen(param_)) {
    return;
  }
  switch (ModeOf(Config())) {
    case LightingModeCode::Standard:
      Open(param_, kBrightnessListRect, BrightnessNames);
      break;
    case LightingModeCode::Respiration:
      Open(param_, kSpeedListRect, RespirationSpeedNames);
      break;
    default:
      param_.open = true;  // nothing to choose; the next click only clears the flag
      break;
  }
}

// Standard has one effect: the toggle shows it instead of offering a list.
void LightingSection::ToggleEffectList() {
  if (!CloseIfOpen(effect_)) {
    return;
  }
  switch (ModeOf(Config())) {
    case LightingModeCode::Standard:
      SetValue(kEffectValueId, Text(UiTextKey::RgbEffect));
      break;
    case LightingModeCode::Respiration: {
      const std::array<std::string_view, 2> effects{Text(UiTextKey::RgbEffect),
                                                    Text(UiTextKey::RgbFlash)};
      Open(effect_, kEffectListRect, effects);
      break;
    }
    default:
      break;
  }
  effect_.open = true;
}

// --- Commits
// -----------------------------------------------------------------------------------------

void LightingSection::CommitMode() {
  const auto chosen = Selection(mode_);
  if (!chosen) {
    return;
  }
  const std::string modeText = mode_.items[*chosen];
  DeviceConfig& config = Config();
  CommitLightingMode(config, static_cast<LightingModeCode>(*chosen));
  std::string_view parameter;
  std::string_view effect;
  switch (ModeOf(config)) {
    case LightingModeCode::Standard:
      parameter = BrightnessName(config[field::LightingBrightness]);
      effect = Text(UiTextKey::RgbEffect);
      break;
    case LightingModeCode::Respiration:
      // The effect shown is the first one; the stored effect stays as it is.
      parameter = RespirationSpeedName(config[field::LightingSpeed]);
      effect = Text(UiTextKey::RgbEffect);
      break;
    default:
      break;
  }
  SetValue(kModeValueId, modeText);
  SetValue(kParameterValueId, parameter);
  SetValue(kEffectValueId, effect);
  Close(mode_);
}

void LightingSection::CommitParam() {
  const auto chosen = Selection(param_);
  if (!chosen) {
    return;
  }
  CommitLightingParam(Config(), *chosen);
  SetValue(kParameterValueId, param_.items[*chosen]);
  Close(param_);
}

void LightingSection::CommitEffect() {
  const auto chosen = Selection(effect_);
  if (!chosen) {
    return;
  }
  CommitLightingEffect(Config(), *chosen);
  SetValue(kEffectValueId, effect_.items[*chosen]);
  Close(effect_);
}

}  // namespace q8
