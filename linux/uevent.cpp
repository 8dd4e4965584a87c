#include "linux/uevent.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace q8::linux_shell {
namespace {

constexpr std::string_view kUdevPrefix{"libudev\0", 8};
constexpr std::uint32_t kUdevMagic = 0xFEEDCAFE;  // stored in network byte order

// udev's header after the prefix: magic, header size, then offset and length of the properties.
constexpr std::size_t kUdevMagicOffset = 8;
constexpr std::size_t kUdevPropertiesOffsetField = 16;
constexpr std::size_t kUdevPropertiesLengthField = 20;

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
         std::uint32_t{bytes[offset + 2]} << 8 | std::uint32_t{bytes[offset + 3]};
}

std::uint32_t HostEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof(value));
  return value;
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Reads the NUL-separated KEY=VALUE list.
Uevent ReadProperties(std::string_view properties) {
  Uevent event;
  while (!properties.empty()) {
    const std::size_t end = std::min(properties.find('\0'), properties.size());
    const std::string_view entry = properties.substr(0, end);
    properties.remove_prefix(std::min(end + 1, properties.size()));
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const std::string_view key = entry.substr(0, equals);
    const std::string value(entry.substr(equals + 1));
    if (key == "ACTION") {
      event.action = value;
    } else if (key == "SUBSYSTEM") {
      event.subsystem = value;
    } else if (key == "DEVNAME") {
      // The kernel names the node relative to /dev, udev with the full path.
      const std::size_t slash = value.rfind('/');
      event.devName = slash == std::string::npos ? value : value.substr(slash + 1);
    }
  }
  return event;
}

}  // namespace

std::optional<Uevent> ParseUevent(std::span<const std::uint8_t> message) {
  const std::string_view text = AsText(message);
  std::string_view properties;
  if (text.starts_with(kUdevPrefix)) {
    if (message.size() < kUdevPropertiesLengthField + 4 ||
        BigEndian32(message, kUdevMagicOffset) != kUdevMagic) {
      return std::nullopt;
    }
    const std::size_t offset = HostEndian32(message, kUdevPropertiesOffsetField);
    const std::size_t length = HostEndian32(message, kUdevPropertiesLengthField);
    if (offset > message.size() || length > message.size() - offset) {
      return std::nullopt;
    }
    properties = text.substr(offset, length);
  } else {
    // The kernel's form: "action@devpath", then the properties.
    const std::size_t headerEnd = text.find('\0');
    if (headerEnd == std::string_view::npos ||
        text.substr(0, headerEnd).find('@') == std::string_view::npos) {
      return std::nullopt;
    }
    properties = text.substr(headerEnd + 1);
  }
  Uevent event = ReadProperties(properties);
  if (event.action.empty()) {
    return std::nullopt;
  }
  return event;
}

}  // namespace q8::linux_shell
