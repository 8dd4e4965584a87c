#include <windows.h>

#include <string>

#include "settings/durable_file.h"

namespace q8 {
namespace {

std::error_code LastError() {
  return {static_cast<int>(::GetLastError()), std::system_category()};
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// A file the user may not write (read-only, or denied by its security) stays as it is, although
// the folder would let a new file take its place: the replacement must not get round what opening
// the file for writing refuses. A file that does not exist yet is fine.
std::error_code CheckWritable(const std::filesystem::path& path) {
  // The read-only attribute is looked at by itself: Windows refuses such a file even to an
  // administrator, but Wine running as root opens it for writing.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return {ERROR_ACCESS_DENIED, std::system_category()};
  }
  const FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
    return LastError();
  }
  return {};
}

// Writes, flushes and closes the temporary file; the caller removes it on failure.
std::error_code WriteTemporary(const std::wstring& temp, std::span<const std::uint8_t> bytes) {
  FileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return LastError();
  }
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!::WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
      return LastError();
    }
    bytes = bytes.subspan(written);
  }
  if (!::FlushFileBuffers(file.get()) || !file.Close()) {
    return LastError();
  }
  return {};
}

}  // namespace

std::error_code ReplaceFileContents(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
  if (std::error_code error = CheckWritable(path)) {
    return error;
  }
  const std::wstring temp = path.wstring() + L".tmp-" + std::to_wstring(::GetCurrentProcessId());
  std::error_code error = WriteTemporary(temp, bytes);
  if (!error && !::MoveFileExW(temp.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastError();
  }
  if (error) {
    ::DeleteFileW(temp.c_str());
  }
  return error;
}

}  // namespace q8
