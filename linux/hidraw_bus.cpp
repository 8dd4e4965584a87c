#include "linux/hidraw_bus.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "device/hid_report_descriptor.h"
#include "linux/unique_fd.h"
#include "settings/file_bytes.h"

namespace q8::linux_shell {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kNodePrefix = "hidraw";
constexpr char kCollectionSeparator = '#';

// The number in "hidraw12"; nothing for other names.
std::optional<unsigned> NodeNumber(std::string_view name) {
  if (!name.starts_with(kNodePrefix) || name.size() == kNodePrefix.size()) {
    return std::nullopt;
  }
  unsigned number = 0;
  const char* end = name.data() + name.size();
  const auto [rest, error] = std::from_chars(name.data() + kNodePrefix.size(), end, number);
  if (error != std::errc() || rest != end) {
    return std::nullopt;
  }
  return number;
}

// Nothing when the file cannot be read to its end: a sysfs file of a device that is leaving fails
// its reads. Read in chunks, because the stream reports such a failure only to its own reads
// (iterators over its buffer throw it instead).
template <typename T>
std::optional<T> ParseHex(std::string_view text) {
  T value = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || rest != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// Vendor and product from the HID device's "HID_ID=0003:000004D9:0000A09E" line.
std::optional<HidAttributes> ReadHidId(const fs::path& uevent) {
  std::ifstream in(uevent);
  std::string line;
  while (std::getline(in, line)) {
    constexpr std::string_view kKey = "HID_ID=";
    if (!line.starts_with(kKey)) {
      continue;
    }
    const std::string_view id = std::string_view(line).substr(kKey.size());
    const std::size_t first = id.find(':');
    const std::size_t second = id.find(':', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) {
      return std::nullopt;
    }
    const auto vendor = ParseHex<std::uint32_t>(id.substr(first + 1, second - first - 1));
    const auto product = ParseHex<std::uint32_t>(id.substr(second + 1));
    if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) {
      return std::nullopt;
    }
    return HidAttributes{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product),
                         0};
  }
  return std::nullopt;
}

// The release number of the USB device the HID device belongs to ("bcdDevice", two levels up:
// past the USB interface). 0 for devices on other buses.
std::uint16_t ReadVersion(const fs::path& hidDevice) {
  std::error_code error;
  fs::path dir = fs::canonical(hidDevice, error);
  for (int level = 0; level < 3 && !error && dir.has_parent_path(); ++level) {
    dir = dir.parent_path();
    std::ifstream in(dir / "bcdDevice");
    std::string text;
    if (in >> text) {
      return ParseHex<std::uint16_t>(text).value_or(0);
    }
  }
  return 0;
}

// "/dev/hidraw3#1" into the node's name and the collection's index.
std::optional<std::pair<std::string, std::size_t>> SplitPath(const std::string& path) {
  const std::size_t separator = path.rfind(kCollectionSeparator);
  if (separator == std::string::npos) {
    return std::nullopt;
  }
  std::size_t index = 0;
  const char* end = path.data() + path.size();
  const auto [rest, error] = std::from_chars(path.data() + separator + 1, end, index);
  const std::string name = fs::path(path.substr(0, separator)).filename().string();
  if (error != std::errc() || rest != end || !NodeNumber(name)) {
    return std::nullopt;
  }
  return std::pair{name, index};
}

class NodeInterfaceList final : public HidInterfaceList {
 public:
  explicit NodeInterfaceList(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  HidEnumStatus Enumerate(unsigned index) override {
    current_ = index;
    return index < paths_.size() ? HidEnumStatus::kItem : HidEnumStatus::kNoMoreItems;
  }
  std::optional<std::string> DevicePath() override {
    if (current_ >= paths_.size()) {
      return std::nullopt;
    }
    return paths_[current_];
  }

 private:
  std::vector<std::string> paths_;
  std::size_t current_ = 0;
};

class NodeProbe final : public HidProbe {
 public:
  NodeProbe(std::optional<HidAttributes> attributes, std::optional<HidCapabilities> caps)
      : attributes_(attributes), caps_(caps) {}
  std::optional<HidAttributes> Attributes() override { return attributes_; }
  std::optional<HidCapabilities> Capabilities() override { return caps_; }

 private:
  std::optional<HidAttributes> attributes_;
  std::optional<HidCapabilities> caps_;
};

// Byte 0 of every report is its report id, as hidraw expects it.
class HidrawChannel final : public FeatureChannel {
 public:
  explicit HidrawChannel(UniqueFd fd) : fd_(std::move(fd)) {}

  bool SendFeature(std::span<const std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    return ::ioctl(fd_.Get(), HIDIOCSFEATURE(buffer.size()), buffer.data()) >= 0;
  }

  bool GetFeature(std::span<std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    const int received = ::ioctl(fd_.Get(), HIDIOCGFEATURE(buffer.size()), buffer.data());
    if (received < 0) {
      return false;  // the caller's buffer stays as it was
    }
    const std::size_t count = std::min(static_cast<std::size_t>(received), report.size());
    std::copy_n(buffer.begin(), count, report.begin());
    return true;
  }

  // An advisory lock on the node, which every program of this tool takes for each device operation
  // (the tray program, q8ctl). Where the node cannot be locked at all, the operation goes on
  // without the lock rather than failing.
  void Lock() override {
    while (::flock(fd_.Get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  void Unlock() override { ::flock(fd_.Get(), LOCK_UN); }

 private:
  UniqueFd fd_;
};

}  // namespace

std::optional<HidrawNode> HidrawBus::Node(const std::string& name) const {
  if (!NodeNumber(name)) {
    return std::nullopt;
  }
  const fs::path classDir = sysRoot_ / "class" / "hidraw" / name;
  std::error_code error;
  if (!fs::exists(classDir, error)) {
    return std::nullopt;
  }
  const fs::path hidDevice = classDir / "device";
  HidrawNode node{name, devRoot_ / name, ReadHidId(hidDevice / "uevent"), std::nullopt};
  if (node.attributes) {
    node.attributes->versionNumber = ReadVersion(hidDevice);
  }
  if (const auto descriptor = ReadFileBytes(hidDevice / "report_descriptor")) {
    ParsedReportDescriptor parsed = ParseReportDescriptor(*descriptor);
    if (parsed.Ok()) {
      node.collections = std::move(parsed.collections);
    }
  }
  return node;
}

std::vector<HidrawNode> HidrawBus::Nodes() const {
  std::vector<std::pair<unsigned, std::string>> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(sysRoot_ / "class" / "hidraw", error)) {
    const std::string name = entry.path().filename().string();
    if (const auto number = NodeNumber(name)) {
      names.emplace_back(*number, name);
    }
  }
  std::sort(names.begin(), names.end());
  std::vector<HidrawNode> nodes;
  for (const auto& [number, name] : names) {
    if (auto node = Node(name)) {
      nodes.push_back(std::move(*node));
    }
  }
  return nodes;
}

std::unique_ptr<HidInterfaceList> HidrawBus::ListInterfaces() {
  std::vector<std::string> paths;
  for (const HidrawNode& node : Nodes()) {
    // A node whose descriptor is refused is still one interface, one that describes nothing.
    const std::size_t count = node.collections ? node.collections->size() : 1;
    for (std::size_t index = 0; index < count; ++index) {
      paths.push_back(node.devicePath.string() + kCollectionSeparator + std::to_string(index));
    }
  }
  return std::make_unique<NodeInterfaceList>(std::move(paths));
}

std::unique_ptr<HidProbe> HidrawBus::OpenProbe(const std::string& path) {
  const auto split = SplitPath(path);
  if (!split) {
    return nullptr;
  }
  const auto& [name, index] = *split;
  const std::optional<HidrawNode> node = Node(name);
  // Without access rights a probe opens nothing: it only needs the node to be there.
  std::error_code error;
  if (!node || !fs::exists(node->devicePath, error)) {
    return nullptr;
  }
  std::optional<HidCapabilities> caps;
  if (node->collections && index < node->collections->size()) {
    caps = (*node->collections)[index];
  }
  return std::make_unique<NodeProbe>(node->attributes, caps);
}

HidChannelOpening HidrawBus::OpenChannel(const std::string& path, ChannelKind kind) {
  static_cast<void>(kind);  // both channels are opened the same way on Linux
  const auto split = SplitPath(path);
  if (!split) {
    return {nullptr, static_cast<std::uint32_t>(ENOENT)};
  }
  const fs::path node = devRoot_ / split->first;
  UniqueFd fd(::open(node.c_str(), O_RDWR | O_CLOEXEC));
  if (!fd.Valid()) {
    return {nullptr, static_cast<std::uint32_t>(errno)};
  }
  return {std::make_unique<HidrawChannel>(std::move(fd)), 0};
}

std::string HidrawBus::OpenFailureAdvice(std::uint32_t errorCode) const {
  if (errorCode != EACCES && errorCode != EPERM) {
    return {};
  }
  // The package's place, the same on a system whose /lib is not merged into /usr, and the
  // administrator's (where `cmake --install` puts it).
  for (const char* folder : {"usr/lib/udev/rules.d", "lib/udev/rules.d", "etc/udev/rules.d"}) {
    const fs::path rule = systemRoot_ / folder / "70-tarnix-q8.rules";
    std::error_code error;
    if (fs::exists(rule, error)) {
      return "This user may not open the mouse's hidraw nodes yet. The tool's udev rule is "
             "installed (/" +
             std::string(folder) +
             "/70-tarnix-q8.rules) but has not reached the mouse: unplug the mouse and plug it in "
             "again, or run\n"
             "  sudo udevadm trigger --subsystem-match=hidraw\n"
             "(the rule gives access to the user at the local seat: from a remote login the "
             "mouse stays root's).";
    }
  }
  return "This user may not open the mouse's hidraw nodes. Install the udev rule that gives the "
         "user at the seat access, then plug the mouse in again:\n"
         "  sudo cp 70-tarnix-q8.rules /etc/udev/rules.d/\n"
         "  sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw\n"
         "(the rule is linux/70-tarnix-q8.rules in the tool's sources, which `sudo cmake "
         "--install` of a build installs too; the Debian package tarnix-q8 brings it in place).";
}

}  // namespace q8::linux_shell
