#include "cli/set_command.h"

#include <algorithm>

#include "model/dpi_levels.h"
#include "model/lighting_settings.h"

namespace q8 {
namespace {

constexpr std::size_t kEditableStages = 6;

template <typename Names>
std::optional<std::size_t> IndexOf(const Names& names, const std::string& name) {
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - names.begin());
}

template <typename Names>
std::string Listed(const Names& names) {
  std::string text;
  for (const auto& name : names) {
    text += (text.empty() ? "" : " ") + std::string(name);
  }
  return text;
}

}  // namespace

std::variant<SettingChange, std::string> SettingChange::Parse(
    const std::vector<std::string>& args) {
  SettingChange change;
  const std::string what = args.empty() ? std::string() : args[0];
  if (what == "report-rate" && args.size() == 2) {
    const auto* choice =
        std::find_if(ReportRateChoices.begin(), ReportRateChoices.end(),
                     [&](const ReportRateChoice& c) { return c.label == args[1]; });
    if (choice == ReportRateChoices.end()) {
      return "report rate '" + args[1] + "' is not one of 125 250 500 1000";
    }
    change.kind_ = Kind::kReportRate;
    change.reportRateCode_ = choice->code;
    return change;
  }
  if (what == "dpi" && args.size() == 3) {
    const std::string& stage = args[1];
    if (stage.size() != 1 || stage[0] < '1' ||
        stage[0] > static_cast<char>('0' + kEditableStages)) {
      return "DPI stage '" + stage + "' is not one of 1 to 6";
    }
    change.kind_ = Kind::kDpi;
    change.stage_ = static_cast<std::size_t>(stage[0] - '0');
    change.dpiLabel_ = args[2];
    return change;
  }
  if (what == "lighting" && args.size() >= 2) {
    change.kind_ = Kind::kLighting;
    const std::string& mode = args[1];
    if (mode == "off" && args.size() == 2) {
      change.lightingMode_ = static_cast<std::uint8_t>(LightingModeCode::Off);
      return change;
    }
    if (mode == "standard" && args.size() == 3) {
      const auto brightness = IndexOf(BrightnessNames, args[2]);
      if (!brightness) {
        return "brightness '" + args[2] + "' is not one of " + Listed(BrightnessNames);
      }
      change.lightingMode_ = static_cast<std::uint8_t>(LightingModeCode::Standard);
      change.lightingParam_ = *brightness;
      return change;
    }
    if (mode == "respiration" && (args.size() == 3 || args.size() == 4)) {
      const auto speed = IndexOf(RespirationSpeedNames, args[2]);
      if (!speed) {
        return "speed '" + args[2] + "' is not one of " + Listed(RespirationSpeedNames);
      }
      change.lightingMode_ = static_cast<std::uint8_t>(LightingModeCode::Respiration);
      change.lightingParam_ = *speed;
      if (args.size() == 4) {
        constexpr std::array<std::string_view, 2> kEffects{"rgb-effect", "rgb-flash"};
        change.lightingEffect_ = IndexOf(kEffects, args[3]);
        if (!change.lightingEffect_) {
          return "effect '" + args[3] + "' is not one of rgb-effect rgb-flash";
        }
      }
      return change;
    }
    return std::string(
        "lighting takes: off | standard BRIGHTNESS | respiration SPEED [rgb-effect|rgb-flash]");
  }
  return std::string("set takes: report-rate RATE | dpi STAGE VALUE | lighting MODE ...");
}

std::optional<std::string> SettingChange::ApplyTo(DeviceConfig& config,
                                                  std::uint8_t sensorVariant) const {
  switch (kind_) {
    case Kind::kReportRate:
      config[field::ReportRateCode] = reportRateCode_;
      break;
    case Kind::kDpi: {
      const auto levels = DpiLevelTable(sensorVariant);
      std::string offered;
      for (std::size_t index = 0; index < levels.size(); ++index) {
        if (levels[index].label == dpiLabel_) {
          config.Stage(field::DpiStageLevel, stage_) = static_cast<std::uint8_t>(index);
          return std::nullopt;
        }
        offered += " " + std::string(levels[index].label);
      }
      return "DPI value '" + dpiLabel_ + "' is not a level of this mouse's sensor (levels:" +
             (offered.empty() ? " none" : offered) + ")";
    }
    case Kind::kLighting:
      CommitLightingMode(config, static_cast<LightingModeCode>(lightingMode_));
      if (lightingMode_ != static_cast<std::uint8_t>(LightingModeCode::Off)) {
        CommitLightingParam(config, lightingParam_);
      }
      if (lightingEffect_) {
        CommitLightingEffect(config, *lightingEffect_);
      }
      break;
  }
  return std::nullopt;
}

}  // namespace q8
