#include "app/status_balloon.h"

#include "app/main_window_host.h"
#include "device/device_change.h"
#include "model/dpi_levels.h"

namespace q8 {
namespace {

constexpr int kStatusReportRate = 5;
constexpr int kStatusDpiStage = 7;
constexpr int kStatusKeyConfig = 8;
constexpr int kStatusMacro = 9;

std::optional<UiTextKey> ReportRateText(std::intptr_t code) {
  switch (code) {
    case 1:
      return UiTextKey::NotifyRate1000;
    case 2:
      return UiTextKey::NotifyRate500;
    case 4:
      return UiTextKey::NotifyRate250;
    case 8:
      return UiTextKey::NotifyRate125;
    default:
      return std::nullopt;
  }
}

UiTextKey Offset(UiTextKey first, std::intptr_t by) {
  return static_cast<UiTextKey>(static_cast<std::size_t>(first) + static_cast<std::size_t>(by));
}

}  // namespace

std::optional<StatusBalloon> StatusBalloonFor(
    std::uintptr_t type, std::intptr_t value,
    const std::function<std::string_view(UiTextKey)>& text, const AppState& state) {
  StatusBalloon balloon{{}, kBalloonTitleInfo, kChangeBalloonMs};
  switch (type) {
    case kStatusReportRate: {
      const auto key = ReportRateText(value);
      if (!key)
        return std::nullopt;
      balloon.text = text(*key);
      break;
    }
    case kStatusDpiStage: {
      if (value < 1 || value > static_cast<std::intptr_t>(kDpiStageCount))
        return std::nullopt;
      const auto stage = static_cast<std::size_t>(value);
      balloon.text = text(Offset(UiTextKey::NotifyDpiStage1, value - 1));
      balloon.text += DpiLevelLabel(state.sensorVariant,
                                    state.settings.deviceConfig.Stage(field::DpiStageLevel, stage));
      break;
    }
    case kStatusKeyConfig:
      if (value != 1 && value != 2)
        return std::nullopt;
      balloon.text = text(Offset(UiTextKey::NotifyKeyGroup1, value - 1));
      break;
    case kStatusMacro:
      if (value == 0)
        return std::nullopt;
      balloon.text = std::string(text(UiTextKey::NotifyMacro)) + std::to_string(value);
      break;
    case kStatusMouseFound:
      balloon.text = text(UiTextKey::MsgMouseDetected);
      balloon.timeoutMs = kDeviceBalloonMs;
      break;
    case kStatusMouseLost:
      balloon.text = text(UiTextKey::MsgMouseNotDetected);
      balloon.title = kBalloonTitleWarning;
      balloon.timeoutMs = kDeviceBalloonMs;
      break;
    default:
      return std::nullopt;
  }
  return balloon;
}

}  // namespace q8
