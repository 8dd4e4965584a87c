#include "settings/config_file.h"

#include <array>
#include <fstream>
#include <string>

#include "settings/durable_file.h"

namespace q8 {
namespace {

bool FileExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

DataFilePaths DataFilePathsFor(const std::filesystem::path& executable) {
  const std::filesystem::path folder = executable.parent_path();
  return {folder / kConfigFileName, folder / kIniFileName};
}

void LoadConfigFile(const std::filesystem::path& path, SettingsRecord& settings,
                    MessageSink& messages) {
  if (!FileExists(path)) {
    messages.ShowMessage(kMsgConfigFileMissing, kApplicationName);
    return;
  }
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    messages.ShowMessage(kMsgConfigFileUnreadable, kApplicationName);
    return;
  }
  if (file.tellg() != static_cast<std::streamoff>(kConfigFileSize)) {
    return;  // a file of another size is not ours to interpret
  }
  std::array<char, kConfigFileSize> bytes{};
  file.seekg(0);
  if (!file.read(bytes.data(), bytes.size())) {
    messages.ShowMessage(kMsgConfigFileUnreadable, kApplicationName);
    return;
  }
  settings.firstRunFlag = static_cast<std::uint8_t>(bytes[0]);
  auto record = settings.deviceConfig.Bytes();
  for (std::size_t i = 0; i < record.size(); ++i) {
    record[i] = static_cast<std::uint8_t>(bytes[i + 1]);
  }
}

bool SaveConfigFile(const std::filesystem::path& path, const DeviceConfig& config,
                    MessageSink& messages) {
  if (!FileExists(path)) {
    messages.ShowMessage(kMsgConfigFileMissing, kApplicationName);
    return false;
  }
  std::array<std::uint8_t, kConfigFileSize> bytes{};
  bytes[0] = 1;
  const auto record = config.Bytes();
  std::copy(record.begin(), record.end(), bytes.begin() + 1);
  if (const std::error_code error = ReplaceFileContents(path, bytes)) {
    messages.ShowMessage("Error Code is: " + std::to_string(error.value()) + " \n",
                         kSaveFailedCaption);
    return false;
  }
  return true;
}

std::variant<SettingsRecord, std::string> LoadSettings(const std::filesystem::path& path,
                                                       MessageSink& messages) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    return "cannot read " + path.string() + ": " + error.message();
  }
  if (size != kConfigFileSize) {
    return path.string() + " has " + std::to_string(size) + " bytes, not " +
           std::to_string(kConfigFileSize) + "; it is not a config.bin";
  }
  SettingsRecord settings;
  LoadConfigFile(path, settings, messages);
  return settings;
}

}  // namespace q8
