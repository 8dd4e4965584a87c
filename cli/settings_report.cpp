#include "cli/settings_report.h"

#include <iomanip>
#include <sstream>

#include "device/wire_trace.h"
#include "model/button_caption.h"
#include "model/dpi_levels.h"
#include "model/key_model.h"
#include "model/lighting_settings.h"

namespace q8 {
namespace {

constexpr std::size_t kStagesShown = 6;  // the stages the settings page edits

std::string LevelText(std::uint8_t sensorVariant, std::size_t level) {
  const std::string_view label = DpiLevelLabel(sensorVariant, level);
  return label.empty() ? "(level " + std::to_string(level) + " not offered by this sensor)"
                       : std::string(label) + " DPI";
}

std::string ColorText(std::span<const std::uint8_t, 3> rgb) {
  std::ostringstream text;
  text << '#' << std::hex << std::setfill('0');
  for (std::uint8_t channel : rgb) {
    text << std::setw(2) << unsigned{channel};
  }
  return text.str();
}

std::string ButtonText(const DeviceConfig& config, KeyConfigId keyConfig, std::size_t button,
                       std::uint8_t sensorVariant) {
  std::string text = ButtonCaptionFor(config, keyConfig, button, sensorVariant, UiLanguage::EN);
  const std::uint8_t function = config.Button(field::KeyFunction, keyConfig, button);
  if (function == static_cast<std::uint8_t>(KeyFunctionCode::FireKey)) {
    const unsigned times = config.Button(field::FireTimes, keyConfig, button);
    text += times == 0 ? ", repeated while held" : ", " + std::to_string(times) + " times";
  } else if (function >= kKeyFunctionCount) {
    text = "unknown function " + std::to_string(function);
  }
  return text;
}

}  // namespace

void PrintMouseInfo(const MouseLink& link, const DeviceState& device, std::ostream& out) {
  const std::uint8_t variant = SensorVariantOf(device.image);
  out << "mouse: found\n"
      << "short channel: " << link.ShortReportLength() << "-byte feature reports\n"
      << "page channel: " << link.PageReportLength() << "-byte feature reports\n"
      << "report rate: " << ReportRateLabel(device.status.reportRateCode) << " Hz\n"
      << "DPI stage: " << unsigned{device.status.dpiStage} << '\n'
      << "sensor variant: " << unsigned{variant} << '\n'
      << "DPI levels:";
  const auto levels = DpiLevelTable(variant);
  for (const DpiLevel& level : levels) {
    out << ' ' << level.label;
  }
  out << (levels.empty() ? " none\n" : "\n");
}

void PrintMemoryDump(const DeviceImage& image, std::ostream& out) {
  for (std::size_t page = 1; page <= DeviceImage::kPageCount; ++page) {
    out << "page " << page << ": " << HexBytes(image.Page(page)) << '\n';
  }
}

void PrintSettings(const DeviceConfig& config, std::uint8_t sensorVariant, std::ostream& out) {
  out << "report rate: " << ReportRateLabel(config[field::ReportRateCode]) << " Hz\n"
      << "DPI stages:\n";
  for (std::size_t stage = 1; stage <= kStagesShown; ++stage) {
    out << "  " << stage << ": "
        << LevelText(sensorVariant, config.Stage(field::DpiStageLevel, stage)) << ", "
        << (config.Stage(field::DpiStageEnabled, stage) == 0 ? "off" : "on") << ", colour "
        << ColorText(config.StageColor(stage)) << '\n';
  }
  const LightingTexts lighting = LightingPageTexts(config, UiLanguage::EN);
  out << "lighting: " << (lighting.mode.empty() ? "unknown mode" : lighting.mode);
  for (const std::string& detail : {lighting.parameter, lighting.effect}) {
    if (!detail.empty()) {
      out << ", " << detail;
    }
  }
  out << "\nfire key times: press " << unsigned{config[field::FireMakeTime]} << ", release "
      << unsigned{config[field::FireBreakTime]} << '\n';
  for (KeyConfigId keyConfig : {KeyConfigId::A, KeyConfigId::B}) {
    out << (keyConfig == KeyConfigId::A ? "Mode A" : "Mode B") << ":\n";
    for (std::size_t button = 1; button <= kButtonCount; ++button) {
      out << "  button " << button << ": " << ButtonText(config, keyConfig, button, sensorVariant)
          << '\n';
    }
  }
}

}  // namespace q8
