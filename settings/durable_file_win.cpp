#include <windows.h>

#include <string>

#include "settings/durable_file.h"

namespace q8 {
namespace {

// Another program that holds the file open without letting it be deleted (a backup tool, a virus
// scanner) often lets go within moments: the replacement is tried this often, this far apart,
// before the file is written in place.
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceRetryMs = 25;

std::error_code ErrorCode(DWORD error) {
  return {static_cast<int>(error), std::system_category()};
}

std::error_code LastError() {
  return ErrorCode(::GetLastError());
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

// Writes everything, flushes it to the disk and closes the file.
std::error_code WriteFlushAndClose(FileHandle& file, std::span<const std::uint8_t> bytes) {
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

// The file `path` names once symbolic links are followed, so that a save changes the file behind a
// link and leaves the link as it is.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return path;
  }
  const FileHandle file(::CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) {
    return path;
  }
  std::wstring target(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length = ::GetFinalPathNameByHandleW(file.get(), target.data(),
                                                     static_cast<DWORD>(target.size()), 0);
    if (length == 0) {
      return path;
    }
    if (length < target.size()) {
      target.resize(length);
      return target;
    }
    target.resize(length + 1);  // the length needed, with its terminating zero
  }
  return path;
}

}  // namespace

// A file the user may not write (read-only, or denied by its security) stays as it is, although
// the folder would let a new file take its place: the replacement must not get round what opening
// the file for writing refuses. A file that does not exist yet is fine.
std::error_code CheckWritable(const std::filesystem::path& path) {
  // The read-only attribute is looked at by itself: Windows refuses such a file even to an
  // administrator, but Wine running as root opens it for writing.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return ErrorCode(ERROR_ACCESS_DENIED);
  }
  const FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
    return LastError();
  }
  return {};
}

namespace {

// The errors by which a folder refuses a new file, or another program's open handle refuses the
// replacement, although the file itself may be written.
bool RefusedOrHeld(const std::error_code& error) {
  switch (error.value()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
      return true;
    default:
      return false;
  }
}

// Writes, flushes and closes the temporary file; the caller removes it on failure.
std::error_code WriteTemporary(const std::wstring& temp, std::span<const std::uint8_t> bytes) {
  FileHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return LastError();
  }
  return WriteFlushAndClose(file, bytes);
}

// Whether the file may be deleted, as its replacement needs: not when this user may not, nor while
// another program holds it open without allowing it. Asked first, because Wine's ReplaceFileW
// leaves a file of its own behind when it fails.
bool MayBeReplaced(const std::filesystem::path& target) {
  const FileHandle probe(::CreateFileW(target.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  return probe.valid();
}

// Puts the temporary file in the target's place. ReplaceFileW keeps what the system knows of the
// file besides its content (owner, security, attributes); a new file is simply moved into place.
bool PutInPlace(const std::wstring& temp, const std::filesystem::path& target) {
  if (::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return ::MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!MayBeReplaced(target)) {
    return false;  // with the probe's error
  }
  return ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr);
}

// Another program's handle that refuses the replacement is given a few moments to go away.
std::error_code PutInPlaceRetrying(const std::wstring& temp, const std::filesystem::path& target) {
  for (int attempt = 1;; ++attempt) {
    if (PutInPlace(temp, target)) {
      return {};
    }
    const std::error_code error = LastError();
    if (!RefusedOrHeld(error) || attempt == kReplaceAttempts) {
      return error;
    }
    ::Sleep(kReplaceRetryMs);
  }
}

std::error_code ReplaceWithTemporary(const std::filesystem::path& target,
                                     std::span<const std::uint8_t> bytes) {
  const std::wstring temp = target.wstring() + L".tmp-" + std::to_wstring(::GetCurrentProcessId());
  std::error_code error = WriteTemporary(temp, bytes);
  if (!error) {
    error = PutInPlaceRetrying(temp, target);
  }
  if (error) {
    ::DeleteFileW(temp.c_str());
  }
  return error;
}

// What the system's file functions do: the file keeps its identity, but a failure midway leaves it
// half written. Used only where no replacement can be made.
std::error_code WriteInPlace(const std::filesystem::path& target,
                             std::span<const std::uint8_t> bytes) {
  FileHandle file(::CreateFileW(target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return LastError();
  }
  if (!::SetEndOfFile(file.get())) {  // the file pointer is at 0: this truncates
    return LastError();
  }
  return WriteFlushAndClose(file, bytes);
}

}  // namespace

std::error_code ReplaceFileContents(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
  // A full path: Wine's ReplaceFileW finds no folder for a bare file name (ERROR_DIRECTORY).
  std::error_code absoluteError;
  const std::filesystem::path absolute = std::filesystem::absolute(path, absoluteError);
  const std::filesystem::path target = FollowLinks(absoluteError ? path : absolute);
  if (std::error_code error = CheckWritable(target)) {
    return error;
  }
  const std::error_code error = ReplaceWithTemporary(target, bytes);
  if (RefusedOrHeld(error)) {
    return WriteInPlace(target, bytes);
  }
  return error;
}

}  // namespace q8
