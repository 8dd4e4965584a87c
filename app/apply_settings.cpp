#include "app/apply_settings.h"

#include "device/settings_encoding.h"

namespace q8 {

void ApplySettings(const ProtocolPorts& ports, DeviceState& device, const SettingsRecord& settings,
                   const std::filesystem::path& configBin,
                   const std::function<void()>& saveButtonCaptions) {
  const DeviceConfig& config = settings.deviceConfig;
  EncodeConstantTables(device.image);
  GetDPIStage(ports, device);
  device.status.reportRateCode = config[field::ReportRateCode];
  EncodeDeviceConfig(config, device.image);
  WriteOperation(ports, device);
  SaveConfigFile(configBin, config, ports.messages);
  if (saveButtonCaptions) {
    saveButtonCaptions();
  }
}

}  // namespace q8
