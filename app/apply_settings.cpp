#include "app/apply_settings.h"

#include "device/settings_encoding.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

// Holds the mouse against every other program for its lifetime.
class MouseHold {
 public:
  explicit MouseHold(FeatureChannel& shortChannel) : channel_(shortChannel) { channel_.Lock(); }
  ~MouseHold() { channel_.Unlock(); }
  MouseHold(const MouseHold&) = delete;
  MouseHold& operator=(const MouseHold&) = delete;

 private:
  FeatureChannel& channel_;
};

}  // namespace

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

bool LoadProfileIntoMouse(MouseConnection& mouse, MessageSink& messages,
                          std::string_view mouseNotDetectedText, DeviceState& device,
                          SettingsRecord& settings, ButtonCaptions& captions,
                          const Profile& profile, const ProfileTargetFiles& files) {
  settings.deviceConfig = profile.config;
  captions = profile.captions;
  CountingMessageSink counted(messages);
  const int refusedBefore = mouse.FailedReports();
  const ProtocolPorts ports = mouse.Ports(counted, mouseNotDetectedText);
  const MouseHold hold(ports.shortChannel);
  ApplySettings(ports, device, settings, files.configBin);
  const bool whole = counted.Count() == 0 && mouse.FailedReports() == refusedBefore;
  if (const std::error_code error =
          WriteButtonCaptions(files.strIni, files.captionSection, captions)) {
    messages.ShowMessage(Utf8Of(files.strIni) + " cannot be written: " + error.message(),
                         kApplicationName);
  }
  return whole;
}

}  // namespace q8
