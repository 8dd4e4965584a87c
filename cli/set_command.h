#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/device_config.h"

namespace q8 {

// One change that `q8ctl set` makes, checked before anything is touched.
class SettingChange {
 public:
  // The change the arguments describe, or the one line that says what is wrong with them.
  static std::variant<SettingChange, std::string> Parse(const std::vector<std::string>& args);

  // Makes the change as the settings page does. A DPI value is looked up among the levels of the
  // mouse's sensor; when it is not one of them, nothing changes and the line says so.
  std::optional<std::string> ApplyTo(DeviceConfig& config, std::uint8_t sensorVariant) const;

 private:
  enum class Kind { kReportRate, kDpi, kLighting };

  Kind kind_ = Kind::kReportRate;
  std::uint8_t reportRateCode_ = 0;
  std::size_t stage_ = 0;
  std::string dpiLabel_;
  std::uint8_t lightingMode_ = 0;
  std::size_t lightingParam_ = 0;
  std::optional<std::size_t> lightingEffect_;
};

}  // namespace q8
