#pragma once

#include <filesystem>

#include "support/temp_dir.h"

namespace q8::bench {

// Puts beside a program started in `dir` what the tool is delivered with: config.bin, str.ini
// and the skins.
inline void CopyDeliveredFiles(const test::TempDir& dir) {
  std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "config.bin", dir / "config.bin");
  std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "str.ini", dir / "str.ini");
  std::filesystem::copy(Q8_SKINS_DIR, dir / "Skins", std::filesystem::copy_options::recursive);
}

}  // namespace q8::bench
