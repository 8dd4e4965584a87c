#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "settings/durable_file.h"

namespace q8 {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close succeeded (a late write error can surface here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::error_code WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return LastError();
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return {};
}

// A file the user may not write stays as it is, although the folder would let a new file take its
// place: the replacement must not get round what opening the file for writing refuses. A file
// that does not exist yet is fine.
std::error_code CheckWritable(const std::filesystem::path& path) {
  const FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid() && errno != ENOENT) {
    return LastError();
  }
  return {};
}

// Writes, flushes and closes the temporary file; the caller removes it on failure.
std::error_code WriteTemporary(const std::string& temp, const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes) {
  // Whatever lies under the temporary's name (left by a save that crashed, or planted) goes, and
  // the temporary is created new: writing through a link there would change another file.
  ::unlink(temp.c_str());
  FileDescriptor file(
      ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (!file.valid()) {
    return LastError();
  }
  // The replacement keeps the permissions the user gave the original.
  struct stat original {};
  if (::stat(target.c_str(), &original) == 0) {
    ::fchmod(file.get(), original.st_mode & 07777);
  }
  if (auto error = WriteAll(file.get(), bytes)) {
    return error;
  }
  if (::fsync(file.get()) != 0 || !file.Close()) {
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
  const std::string temp = path.string() + ".tmp-" + std::to_string(::getpid());
  std::error_code error = WriteTemporary(temp, path, bytes);
  if (!error && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = LastError();
  }
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  // Make the rename itself durable; a folder that cannot be synced does not undo the save.
  std::filesystem::path folder = path.parent_path();
  FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.valid()) {
    ::fsync(dir.get());
  }
  return {};
}

}  // namespace q8
