#include "device/mouse_state_file.h"

#include <algorithm>
#include <fstream>

#include "settings/durable_file.h"

namespace q8 {

std::array<std::uint8_t, kMouseStateFileSize> EncodeMouseState(const SimulatedMouseMemory& memory) {
  std::array<std::uint8_t, kMouseStateFileSize> bytes{};
  bytes[0] = memory.status.reportRateCode;
  bytes[1] = memory.status.dpiStage;
  const auto image = memory.image.Bytes();
  std::copy(image.begin(), image.end(), bytes.begin() + 2);
  return bytes;
}

namespace {

// Reads an existing state file of the right size; `error` says why not.
std::optional<SimulatedMouseMemory> ReadMouseStateFile(const std::filesystem::path& path,
                                                       std::string& error) {
  // The size first: a file of another size is refused without reading it, and a folder or
  // anything else that is not a file is refused here rather than failing in the middle of a read.
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (sizeError) {
    error = "cannot read the mouse state file " + path.string() + ": " + sizeError.message();
    return std::nullopt;
  }
  if (size != kMouseStateFileSize) {
    error = "the mouse state file " + path.string() + " has " + std::to_string(size) +
            " bytes, not " + std::to_string(kMouseStateFileSize) + "; it is left untouched";
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  std::array<char, kMouseStateFileSize> bytes{};
  if (!file.read(bytes.data(), bytes.size())) {
    error = "cannot read the mouse state file " + path.string();
    return std::nullopt;
  }
  SimulatedMouseMemory memory;
  memory.status = {static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1])};
  std::transform(bytes.begin() + 2, bytes.end(), memory.image.Bytes().begin(),
                 [](char c) { return static_cast<std::uint8_t>(c); });
  return memory;
}

}  // namespace

std::optional<SimulatedMouseMemory> LoadOrCreateMouseStateFile(const std::filesystem::path& path,
                                                               std::string& error) {
  std::error_code status;
  if (!std::filesystem::exists(path, status)) {
    const SimulatedMouseMemory factory = FactoryMouseMemory();
    if (const std::error_code saveError = SaveMouseStateFile(path, factory)) {
      error = "cannot create the mouse state file " + path.string() + ": " + saveError.message();
      return std::nullopt;
    }
    return factory;
  }
  return ReadMouseStateFile(path, error);
}

std::error_code SaveMouseStateFile(const std::filesystem::path& path,
                                   const SimulatedMouseMemory& memory) {
  return ReplaceFileContents(path, EncodeMouseState(memory));
}

std::filesystem::path UnpluggedMarkerPath(const std::filesystem::path& stateFile) {
  std::filesystem::path marker = stateFile;
  marker += ".unplugged";
  return marker;
}

bool SimulatedMousePlugged(const std::filesystem::path& stateFile) {
  std::error_code error;
  // A marker that cannot be looked at leaves the mouse plugged in, as it was made.
  return !std::filesystem::exists(UnpluggedMarkerPath(stateFile), error);
}

std::error_code SetSimulatedMousePlugged(const std::filesystem::path& stateFile, bool plugged) {
  const std::filesystem::path marker = UnpluggedMarkerPath(stateFile);
  if (!plugged) {
    return ReplaceFileContents(marker, {});
  }
  std::error_code error;
  std::filesystem::remove(marker, error);
  return error;
}

PersistentSimulatedMouse::PersistentSimulatedMouse(std::filesystem::path path,
                                                   const SimulatedMouseMemory& memory)
    : path_(std::move(path)), lock_(path_.string() + ".lock"), mouse_(memory) {
  mouse_.OnChange([this](const SimulatedMouseMemory& changed) {
    if (const std::error_code error = SaveMouseStateFile(path_, changed); error && !saveError_) {
      saveError_ = "cannot write the mouse state file " + path_.string() + ": " + error.message();
    }
  });
  mouse_.OnLock([this] { Take(); }, [this] { lock_.Unlock(); });
}

void PersistentSimulatedMouse::Take() {
  // A folder where no lock file can be made leaves the mouse to one program at a time by custom.
  lock_.Lock();
  // What other programs wrote since this one last held the mouse; a state file that has become
  // unreadable leaves the memory as this program knows it.
  std::string ignored;
  if (const auto memory = ReadMouseStateFile(path_, ignored)) {
    mouse_.Restore(*memory);
  }
}

}  // namespace q8
