#include "linux/fuse_hidraw.h"

#include <fcntl.h>
#include <linux/fuse.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <span>
#include <vector>

namespace q8::test {
namespace {

constexpr std::uint64_t kRootNode = FUSE_ROOT_ID;
constexpr std::uint32_t kMaxWrite = 4096;

template <typename T>
T Read(const std::uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

fuse_attr Attributes(std::uint64_t node) {
  fuse_attr attr{};
  attr.ino = node;
  attr.mode = node == kRootNode ? (S_IFDIR | 0755) : (S_IFREG | 0666);
  attr.nlink = node == kRootNode ? 2 : 1;
  attr.blksize = 4096;
  return attr;
}

}  // namespace

FuseHidrawNodes::FuseHidrawNodes(std::filesystem::path mountPoint,
                                 std::map<std::string, FeatureChannel*> nodes)
    : mountPoint_(std::move(mountPoint)), nodes_(std::move(nodes)) {
  fd_ = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = std::string("cannot open /dev/fuse: ") + std::strerror(errno);
    return;
  }
  const std::string options = "fd=" + std::to_string(fd_) +
                              ",rootmode=40000,user_id=" + std::to_string(::getuid()) +
                              ",group_id=" + std::to_string(::getgid());
  if (::mount("q8hidraw", mountPoint_.c_str(), "fuse.q8hidraw", MS_NOSUID | MS_NODEV,
              options.c_str()) != 0) {
    error_ = std::string("cannot mount a FUSE file system: ") + std::strerror(errno);
    return;
  }
  mounted_ = true;
  server_ = std::thread([this] { Serve(); });
}

FuseHidrawNodes::~FuseHidrawNodes() {
  if (mounted_) {
    ::umount2(mountPoint_.c_str(), MNT_DETACH);
  }
  stop_ = true;
  if (server_.joinable()) {
    server_.join();
  }
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

void FuseHidrawNodes::Serve() {
  std::vector<std::uint8_t> buffer(kMaxWrite + 65536);
  while (!stop_) {
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) {
      continue;
    }
    const ssize_t size = ::read(fd_, buffer.data(), buffer.size());
    if (size < 0) {
      if (errno == EINTR || errno == ENOENT || errno == EAGAIN) {
        continue;  // ENOENT: a request interrupted before it was read
      }
      return;  // ENODEV: unmounted
    }
    if (static_cast<std::size_t>(size) >= sizeof(fuse_in_header)) {
      Handle(buffer.data(), static_cast<std::size_t>(size));
    }
  }
}

void FuseHidrawNodes::Handle(const std::uint8_t* request, std::size_t size) {
  const auto header = Read<fuse_in_header>(request);
  const std::uint8_t* body = request + sizeof(fuse_in_header);
  const std::size_t bodySize = size - sizeof(fuse_in_header);
  std::vector<std::uint8_t> payload;
  int error = 0;
  const auto reply = [&](const void* data, std::size_t length) {
    payload.assign(static_cast<const std::uint8_t*>(data),
                   static_cast<const std::uint8_t*>(data) + length);
  };
  // Nodes 2, 3, ... are the files in the order of their names.
  const auto channelOf = [&](std::uint64_t node) -> FeatureChannel* {
    std::uint64_t id = kRootNode + 1;
    for (const auto& [name, channel] : nodes_) {
      if (id++ == node) {
        return channel;
      }
    }
    return nullptr;
  };

  switch (header.opcode) {
    case FUSE_INIT: {
      const auto in = Read<fuse_init_in>(body);
      fuse_init_out out{};
      out.major = FUSE_KERNEL_VERSION;
      out.minor = FUSE_KERNEL_MINOR_VERSION;
      out.max_readahead = in.max_readahead;
      out.max_background = 16;
      out.congestion_threshold = 12;
      out.max_write = kMaxWrite;
      out.time_gran = 1;
      reply(&out, sizeof(out));
      break;
    }
    case FUSE_LOOKUP: {
      const std::string name(reinterpret_cast<const char*>(body),
                             ::strnlen(reinterpret_cast<const char*>(body), bodySize));
      error = -ENOENT;
      std::uint64_t id = kRootNode + 1;
      for (const auto& entry : nodes_) {
        if (entry.first == name) {
          fuse_entry_out out{};
          out.nodeid = id;
          out.attr = Attributes(id);
          reply(&out, sizeof(out));
          error = 0;
        }
        ++id;
      }
      break;
    }
    case FUSE_GETATTR: {
      fuse_attr_out out{};
      out.attr = Attributes(header.nodeid);
      reply(&out, sizeof(out));
      break;
    }
    case FUSE_OPEN: {
      fuse_open_out out{};
      out.fh = header.nodeid;
      out.open_flags = FOPEN_DIRECT_IO;
      reply(&out, sizeof(out));
      break;
    }
    case FUSE_IOCTL: {
      const auto in = Read<fuse_ioctl_in>(body);
      FeatureChannel* channel = channelOf(header.nodeid);
      const std::size_t length = std::min<std::size_t>(in.in_size, bodySize - sizeof(in));
      std::vector<std::uint8_t> report(body + sizeof(in), body + sizeof(in) + length);
      bool ok = false;
      if (channel && in.cmd == HIDIOCSFEATURE(length)) {
        ok = channel->SendFeature(report);
      } else if (channel && in.cmd == HIDIOCGFEATURE(length)) {
        ok = channel->GetFeature(report);
      } else {
        error = -ENOTTY;
        break;
      }
      if (!ok) {
        error = -EIO;
        break;
      }
      fuse_ioctl_out out{};
      out.result = static_cast<std::int32_t>(report.size());
      reply(&out, sizeof(out));
      payload.insert(payload.end(), report.begin(),
                     report.begin() + std::min<std::size_t>(report.size(), in.out_size));
      break;
    }
    case FUSE_FLUSH:
    case FUSE_RELEASE:
    case FUSE_FSYNC:
    case FUSE_DESTROY:
      break;
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT:
      return;  // these take no answer
    default:
      error = -ENOSYS;
  }
  fuse_out_header out{};
  out.unique = header.unique;
  out.error = error;
  if (error != 0) {
    payload.clear();
  }
  out.len = static_cast<std::uint32_t>(sizeof(out) + payload.size());
  std::vector<std::uint8_t> message(sizeof(out));
  std::memcpy(message.data(), &out, sizeof(out));
  message.insert(message.end(), payload.begin(), payload.end());
  [[maybe_unused]] const ssize_t written = ::write(fd_, message.data(), message.size());
}

}  // namespace q8::test
