#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "settings/device_config.h"
#include "settings/message_sink.h"

namespace q8 {

inline constexpr std::string_view kExecutableName = "TarnixMouseApp.exe";
inline constexpr std::string_view kConfigFileName = "config.bin";
inline constexpr std::string_view kIniFileName = "str.ini";

// config.bin is the flag byte followed by the record, nothing else.
inline constexpr std::size_t kConfigFileSize = 1 + DeviceConfig::kSize;

inline constexpr std::string_view kMsgConfigFileMissing = "Config file is not exist.";
inline constexpr std::string_view kMsgConfigFileUnreadable = "Config file cannot be read.";
inline constexpr std::string_view kSaveFailedCaption = "NULL ==fp ";

// The data files live beside the executable: its path with the file name replaced.
struct DataFilePaths {
  std::filesystem::path configBin;
  std::filesystem::path strIni;
};
DataFilePaths DataFilePathsFor(const std::filesystem::path& executable);

// The settings the tool keeps for the whole process.
struct SettingsRecord {
  // 0 until config.bin was written by the tool (the delivered file carries 0); always saved as 1.
  std::uint8_t firstRunFlag = 0;
  DeviceConfig deviceConfig;
  // The last applied settings, which Cancel restores.
  DeviceConfig deviceConfigBackup;
};

// Fills `firstRunFlag` and `deviceConfig` from config.bin. A missing file is reported; a file of
// any size but 220 bytes is ignored without a word; nothing is validated.
void LoadConfigFile(const std::filesystem::path& path, SettingsRecord& settings,
                    MessageSink& messages);

// The settings of a config.bin of exactly kConfigFileSize bytes, or the one line that says why not
// (a missing or unreadable file is also reported through `messages`, as LoadConfigFile does):
// for tools that must not work on a file that is no config.bin.
std::variant<SettingsRecord, std::string> LoadSettings(const std::filesystem::path& path,
                                                       MessageSink& messages);

// Writes flag 1 and the record over an existing config.bin, replacing it whole, and returns
// whether it was saved. A missing file is reported and never created; a failed write is reported
// with the system's error code and leaves the previous file as it was.
bool SaveConfigFile(const std::filesystem::path& path, const DeviceConfig& config,
                    MessageSink& messages);

}  // namespace q8
