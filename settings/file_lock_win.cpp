#include <windows.h>

#include "settings/file_lock.h"

namespace q8 {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

bool FileLock::Lock() {
  if (handle_ != -1) {
    return true;
  }
  const HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  // One byte of the (empty) file: locks beyond its end are allowed and keep it empty.
  OVERLAPPED at{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
    ::CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

void FileLock::Unlock() {
  if (handle_ != -1) {
    OVERLAPPED at{};
    ::UnlockFileEx(AsHandle(handle_), 0, 1, 0, &at);
    ::CloseHandle(AsHandle(handle_));
    handle_ = -1;
  }
}

}  // namespace q8
