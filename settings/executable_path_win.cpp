#include <windows.h>

#include <string>

#include "settings/executable_path.h"

namespace q8 {

std::optional<std::filesystem::path> ExecutablePath() {
  // The buffer grows until the whole path fits: a path cut short would put the data files in
  // the wrong folder.
  std::wstring buffer(1024, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return std::nullopt;
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    if (buffer.size() >= 32768) {
      return std::nullopt;  // longer than any path the system allows
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace q8
