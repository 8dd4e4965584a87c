#include "model/dpi_levels.h"

namespace q8 {

std::size_t ReportRateChoiceIndex(std::uint8_t code) {
  for (std::size_t i = 0; i + 1 < ReportRateChoices.size(); ++i) {
    if (ReportRateChoices[i].code == code) {
      return i;
    }
  }
  return ReportRateChoices.size() - 1;  // 1000 Hz
}

std::string_view ReportRateLabel(std::uint8_t code) {
  return ReportRateChoices[ReportRateChoiceIndex(code)].label;
}

std::string_view DpiLevelLabel(std::uint8_t sensorVariant, std::size_t level) {
  const auto levels = DpiLevelTable(sensorVariant);
  return level < levels.size() ? levels[level].label : std::string_view{};
}

std::uint8_t DpiLevelCode(std::uint8_t sensorVariant, std::size_t level) {
  const auto levels = DpiLevelTable(sensorVariant);
  return level < levels.size() ? levels[level].code : std::uint8_t{0};
}

}  // namespace q8
