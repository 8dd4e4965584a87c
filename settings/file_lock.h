#pragma once

#include <cstdint>
#include <filesystem>

namespace q8 {

// An advisory lock that the programs which take it share through a file: Lock waits until no
// other holder has it. The lock lives in a file of its own, made when first needed and left in
// place, since a file that saves replace by rename would carry a lock away with its old content.
//
// Implemented once per operating system (file_lock_posix.cpp with flock, file_lock_win.cpp with
// LockFileEx).
class FileLock {
 public:
  explicit FileLock(std::filesystem::path path) : path_(std::move(path)) {}
  ~FileLock() { Unlock(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Waits for the lock and holds it. False when the lock file cannot be made or locked: the caller
  // then goes on without it.
  bool Lock();
  // Lets go, if the lock is held.
  void Unlock();

 private:
  std::filesystem::path path_;
  std::intptr_t handle_ = -1;  // the lock file while the lock is held
};

}  // namespace q8
