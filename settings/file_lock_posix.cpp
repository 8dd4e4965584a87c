#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "settings/file_lock.h"

namespace q8 {

bool FileLock::Lock() {
  if (handle_ >= 0) {
    return true;
  }
  const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

void FileLock::Unlock() {
  if (handle_ >= 0) {
    // Closing the only descriptor of the file releases its lock.
    ::close(static_cast<int>(handle_));
    handle_ = -1;
  }
}

}  // namespace q8
