#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// Helpers shared by the fuzz targets. A broken promise of the code under test ends the run with
// abort(), which libFuzzer records as a crash together with the input that caused it.

namespace q8::fuzz {

// Ends the run when `holds` is false, naming the promise that was broken.
inline void Require(bool holds, const char* promise) {
  if (!holds) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

inline std::span<const std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
  return {data, size};
}

// A folder of this process for the files a target writes, in memory where the system offers it
// (a file is written for every input), removed when the run ends normally.
class ScratchFolder {
 public:
  ScratchFolder() {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    const auto base =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    path_ = base / ("q8-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path operator/(const char* name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` as the whole file, plainly: this is the input, not the save under test.
inline void WriteInput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "the scratch file can be written");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Require(std::fclose(file) == 0 && written, "the scratch file can be written");
}

}  // namespace q8::fuzz
