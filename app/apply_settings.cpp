#include "app/apply_settings.h"

#include "device/settings_encoding.h"
#include "settings/utf8_path.h"

namespace q8 {

bool ApplySettings(const ProtocolPorts& ports, DeviceState& device, const SettingsRecord& settings,
                   const std::filesystem::path& configBin, MessageSink& fileMessages,
                   const std::function<void()>& saveButtonCaptions) {
  const DeviceConfig& config = settings.deviceConfig;
  EncodeConstantTables(device.image);
  GetDPIStage(ports, device);
  device.status.reportRateCode = config[field::ReportRateCode];
  EncodeDeviceConfig(config, device.image);
  WriteOperation(ports, device);
  const bool saved = SaveConfigFile(configBin, config, fileMessages);
  if (saveButtonCaptions) {
    saveButtonCaptions();
  }
  return saved;
}

WriteOutcome LoadProfileIntoMouse(MouseConnection& mouse, MessageSink& messages,
                                  MessageSink& fileMessages, std::string_view mouseNotDetectedText,
                                  DeviceState& device, SettingsRecord& settings,
                                  ButtonCaptions& captions, const Profile& profile,
                                  const ProfileTargetFiles& files) {
  settings.deviceConfig = profile.config;
  captions = profile.captions;
  const WholeOperation operation(mouse, messages, mouseNotDetectedText);
  const MouseHold hold(operation.Ports().shortChannel);
  WriteOutcome outcome;
  outcome.configSaved =
      ApplySettings(operation.Ports(), device, settings, files.configBin, fileMessages);
  outcome.mouseWhole = operation.Whole();
  // The captions are the profile's now, not ones of an older layout that a first run replaces.
  settings.firstRunFlag = 1;
  if (const std::error_code error =
          WriteButtonCaptions(files.strIni, files.captionSection, captions)) {
    outcome.captionsSaved = false;
    fileMessages.ShowMessage(Utf8Of(files.strIni) + " cannot be written: " + error.message(),
                             kApplicationName);
  }
  return outcome;
}

}  // namespace q8
