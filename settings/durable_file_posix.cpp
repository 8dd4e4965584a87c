#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "settings/durable_file.h"

namespace q8 {
namespace {

// The number of links the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinksFollowed = 40;

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

// Flushes the file to the disk and closes it.
std::error_code FlushAndClose(FileDescriptor& file) {
  if (::fsync(file.get()) != 0 || !file.Close()) {
    return LastError();
  }
  return {};
}

// The file `path` names once symbolic links are followed, so that a save changes the file behind a
// link and leaves the link as it is. A chain that never ends is left to the system to refuse.
std::filesystem::path FollowLinks(std::filesystem::path path) {
  for (int link = 0; link < kMaxLinksFollowed; ++link) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
      break;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) {
      break;
    }
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

}  // namespace

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

namespace {

// The errors by which the system refuses this user a new file in the folder, the file's owner for
// it, or the rename: the file itself may still be writable.
bool RefusedToThisUser(const std::error_code& error) {
  return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

// Gives the temporary file the owner, group and permissions of the file it replaces, so that the
// replacement changes nothing but the content: a save by root must not take the user's file away
// from the user. Only root may give a file to another user; anyone else is refused (EPERM) where
// the original belongs to someone else, and the file is then written in place.
std::error_code TakeOverOwnership(int fd, const std::filesystem::path& target) {
  struct stat original {};
  if (::stat(target.c_str(), &original) != 0) {
    return {};  // a new file: the user's own
  }
  if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
    return LastError();
  }
  // After the owner, since a change of owner clears the set-id bits.
  ::fchmod(fd, original.st_mode & 07777);
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
  if (auto error = TakeOverOwnership(file.get(), target)) {
    return error;
  }
  if (auto error = WriteAll(file.get(), bytes)) {
    return error;
  }
  return FlushAndClose(file);
}

std::error_code ReplaceByRename(const std::filesystem::path& target,
                                std::span<const std::uint8_t> bytes) {
  const std::string temp = target.string() + ".tmp-" + std::to_string(::getpid());
  std::error_code error = WriteTemporary(temp, target, bytes);
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) {
    error = LastError();
  }
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  // Make the rename itself durable; a folder that cannot be synced does not undo the save.
  const std::filesystem::path folder = target.parent_path();
  FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.valid()) {
    ::fsync(dir.get());
  }
  return {};
}

// What the system's file functions do: the file keeps its identity, but a failure midway leaves it
// half written. Used only where no replacement can be made.
std::error_code WriteInPlace(const std::filesystem::path& target,
                             std::span<const std::uint8_t> bytes) {
  FileDescriptor file(
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0644));
  if (!file.valid()) {
    return LastError();
  }
  if (auto error = WriteAll(file.get(), bytes)) {
    return error;
  }
  return FlushAndClose(file);
}

}  // namespace

std::error_code ReplaceFileContents(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes) {
  const std::filesystem::path target = FollowLinks(path);
  if (std::error_code error = CheckWritable(target)) {
    return error;
  }
  const std::error_code error = ReplaceByRename(target, bytes);
  if (RefusedToThisUser(error)) {
    return WriteInPlace(target, bytes);
  }
  return error;
}

}  // namespace q8
