#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace q8 {

// The tool's copy of the mouse's settings memory: five pages of 64 bytes, page n at offset
// 64 * (n - 1). Pages are numbered 1 to 5 and bytes 0 to 63, as the mouse numbers them.
class DeviceImage {
 public:
  static constexpr std::size_t kPageCount = 5;
  static constexpr std::size_t kPageSize = 64;
  static constexpr std::size_t kSize = kPageCount * kPageSize;

  using DevicePage = std::span<std::uint8_t, kPageSize>;
  using ConstDevicePage = std::span<const std::uint8_t, kPageSize>;

  DevicePage Page(std::size_t page) {
    assert(page >= 1 && page <= kPageCount);
    return DevicePage(bytes_.data() + (page - 1) * kPageSize, kPageSize);
  }
  ConstDevicePage Page(std::size_t page) const {
    assert(page >= 1 && page <= kPageCount);
    return ConstDevicePage(bytes_.data() + (page - 1) * kPageSize, kPageSize);
  }

  std::uint8_t& At(std::size_t page, std::size_t byte) { return Page(page)[byte]; }
  std::uint8_t At(std::size_t page, std::size_t byte) const { return Page(page)[byte]; }

  std::span<std::uint8_t, kSize> Bytes() { return bytes_; }
  std::span<const std::uint8_t, kSize> Bytes() const { return bytes_; }

  void Clear() { bytes_.fill(0); }

  friend bool operator==(const DeviceImage&, const DeviceImage&) = default;

 private:
  std::array<std::uint8_t, kSize> bytes_{};
};

// Page 4 byte 1: which sensor the mouse has, and so which DPI level table applies.
inline constexpr std::size_t kSensorVariantPage = 4;
inline constexpr std::size_t kSensorVariantByte = 1;

inline std::uint8_t SensorVariantOf(const DeviceImage& image) {
  return image.At(kSensorVariantPage, kSensorVariantByte);
}

// The mouse's two status bytes.
struct DeviceStatus {
  std::uint8_t reportRateCode = 0;  // polling interval in ms: 1, 2, 4 or 8
  std::uint8_t dpiStage = 0;        // current DPI stage as the mouse reports it

  friend bool operator==(const DeviceStatus&, const DeviceStatus&) = default;
};

// What the tool knows of the mouse it talks to; lives as long as the process.
struct DeviceState {
  bool scrambleEnabled = false;  // set before the first operation after every discovery
  DeviceStatus status;
  DeviceImage image;

  // What every successful discovery does before reading the mouse.
  void ResetForDiscovery() {
    scrambleEnabled = true;
    status = {};
    image.Clear();
  }
};

}  // namespace q8
