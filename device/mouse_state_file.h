#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "device/simulated_mouse.h"
#include "settings/file_lock.h"

namespace q8 {

// The simulated mouse's memory on disk, exactly 322 bytes: byte 0 the report-rate code, byte 1 the
// DPI stage, then the 320-byte memory image, page 1 first.
inline constexpr std::size_t kMouseStateFileSize = 2 + DeviceImage::kSize;

std::array<std::uint8_t, kMouseStateFileSize> EncodeMouseState(const SimulatedMouseMemory& memory);

// Reads the state file, creating it with the factory memory when it does not exist. A file of any
// other size, or one that cannot be read or created, is refused: `error` then says why, and the
// file is left as it was.
std::optional<SimulatedMouseMemory> LoadOrCreateMouseStateFile(const std::filesystem::path& path,
                                                               std::string& error);

[[nodiscard]] std::error_code SaveMouseStateFile(const std::filesystem::path& path,
                                                 const SimulatedMouseMemory& memory);

// Whether the simulated mouse of a state file is plugged in. It is, unless a file named after the
// state file with ".unplugged" added lies beside it: `q8ctl unplug` makes that file and `plug`
// removes it, and every program that uses the state file sees the cable go out or come back. The
// file sits beside the state file, not in it, since unplugging must not wait for a program that
// holds the mouse for an operation, and must not touch the mouse's memory.
std::filesystem::path UnpluggedMarkerPath(const std::filesystem::path& stateFile);
bool SimulatedMousePlugged(const std::filesystem::path& stateFile);
[[nodiscard]] std::error_code SetSimulatedMousePlugged(const std::filesystem::path& stateFile,
                                                       bool plugged);

// A simulated mouse that rewrites its state file after every change, shared by every program that
// uses the same file as one mouse would be: a program that takes it for a device operation waits
// while another holds it (a lock on the state file's name with ".lock" added), and then reads
// what the others wrote meanwhile.
class PersistentSimulatedMouse {
 public:
  PersistentSimulatedMouse(std::filesystem::path path, const SimulatedMouseMemory& memory);
  PersistentSimulatedMouse(const PersistentSimulatedMouse&) = delete;
  PersistentSimulatedMouse& operator=(const PersistentSimulatedMouse&) = delete;

  SimulatedMouse& Mouse() { return mouse_; }
  const std::filesystem::path& StateFile() const { return path_; }
  bool Plugged() const { return SimulatedMousePlugged(path_); }
  // The first failure to rewrite the state file, if any.
  const std::optional<std::string>& SaveError() const { return saveError_; }

 private:
  void Take();

  std::filesystem::path path_;
  FileLock lock_;
  SimulatedMouse mouse_;
  std::optional<std::string> saveError_;
};

}  // namespace q8
