// config.bin as a user may copy it: any bytes. Loads the file as start-up does, then hands the
// record to everything that interprets it: the encoding into the mouse's memory that every apply
// runs, and the description q8ctl prints.
#include <sstream>

#include "cli/settings_report.h"
#include "device/settings_encoding.h"
#include "device/simulated_mouse.h"
#include "fuzz/fuzz_support.h"
#include "settings/config_file.h"

namespace q8 {
namespace {

const fuzz::ScratchFolder scratch;

class SilentMessages final : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view) override { ++count; }
  int count = 0;
};

}  // namespace
}  // namespace q8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  const auto configBin = scratch / "config.bin";
  fuzz::WriteInput(configBin, fuzz::Bytes(data, size));
  SilentMessages messages;
  SettingsRecord settings;
  LoadConfigFile(configBin, settings, messages);
  fuzz::Require(messages.count == 0, "an existing file loads without a message");
  if (size == kConfigFileSize) {
    fuzz::Require(settings.firstRunFlag == data[0] &&
                      std::equal(settings.deviceConfig.Bytes().begin(),
                                 settings.deviceConfig.Bytes().end(), data + 1),
                  "a file of the right size loads byte for byte");
  }

  // The record goes to a mouse of every sensor the tool knows, and one it does not.
  for (const std::uint8_t sensorVariant : {0, 1, 2, 3, 4, 255}) {
    DeviceImage image = FactoryMouseMemory().image;
    image.At(kSensorVariantPage, kSensorVariantByte) = sensorVariant;
    EncodeConstantTables(image);
    EncodeDeviceConfig(settings.deviceConfig, image);
    fuzz::Require(SensorVariantOf(image) == sensorVariant, "the sensor byte is never written");
    std::ostringstream described;
    PrintSettings(settings.deviceConfig, sensorVariant, described);
  }

  // What a save writes, a load reads back.
  fuzz::Require(SaveConfigFile(configBin, settings.deviceConfig, messages), "the file is saved");
  SettingsRecord reloaded;
  LoadConfigFile(configBin, reloaded, messages);
  fuzz::Require(reloaded.firstRunFlag == 1 && reloaded.deviceConfig == settings.deviceConfig,
                "a saved record loads back");
  return 0;
}
