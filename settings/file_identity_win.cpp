#include <windows.h>

#include "settings/file_identity.h"

namespace q8 {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  // Opened for no access at all: a file another program holds open is still reached.
  const HANDLE file =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const bool read = ::GetFileInformationByHandle(file, &information) != 0;
  ::CloseHandle(file);
  if (!read) {
    return std::nullopt;
  }
  return FileIdentity{
      information.dwVolumeSerialNumber,
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
      (static_cast<std::int64_t>(information.ftLastWriteTime.dwHighDateTime) << 32) |
          information.ftLastWriteTime.dwLowDateTime};
}

}  // namespace q8
