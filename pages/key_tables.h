#pragma once

#include <array>
#include <cstdint>

namespace q8 {

// Consumer-page usages that the multimedia and launch slots index (codes 0..15), written into the
// mouse's memory on every apply, low byte first.
inline constexpr std::array<std::uint16_t, 16> MediaUsageTable{
    0x00B5,  // Next
    0x00B6,  // Previous
    0x00B7,  // Stop
    0x00CD,  // Play/Pause
    0x00E2,  // Mute
    0x00E9,  // Vol+
    0x00EA,  // Vol-
    0x0183,  // Multimedia Player
    0x018A,  // Mail
    0x0192,  // Calculator
    0x0194,  // My Computer
    0x0221,  // Browser-Search
    0x0223,  // Browser-Home
    0x0224,  // Browser-Back
    0x0225,  // Browser-Forward
    0x0227,  // Browser-Refresh
};

// A shortcut preset: keyboard-page modifier usage and key usage.
struct Shortcut {
  std::uint8_t modifier;
  std::uint8_t key;
};

// The shortcut presets that hot-key slots index (codes 16..23).
inline constexpr std::array<Shortcut, 8> ShortcutTable{{
    {0xE0, 0x06},  // Copy (Ctrl+C)
    {0xE0, 0x1B},  // Cut (Ctrl+X)
    {0xE0, 0x19},  // Paste (Ctrl+V)
    {0xE0, 0x04},  // Select all (Ctrl+A)
    {0xE0, 0x12},  // Open (Ctrl+O)
    {0xE0, 0x11},  // New (Ctrl+N)
    {0xE0, 0x16},  // Save (Ctrl+S)
    {0xE0, 0x1D},  // Undo (Ctrl+Z)
}};

// The tables as the mouse stores them.
constexpr std::array<std::uint8_t, 32> MediaUsageTableBytes() {
  std::array<std::uint8_t, 32> bytes{};
  for (std::size_t i = 0; i < MediaUsageTable.size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(MediaUsageTable[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(MediaUsageTable[i] >> 8);
  }
  return bytes;
}

constexpr std::array<std::uint8_t, 16> ShortcutTableBytes() {
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < ShortcutTable.size(); ++i) {
    bytes[2 * i] = ShortcutTable[i].modifier;
    bytes[2 * i + 1] = ShortcutTable[i].key;
  }
  return bytes;
}

}  // namespace q8
