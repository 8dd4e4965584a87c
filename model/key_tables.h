#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace q8 {

// The mouse's own codes for its buttons, used wherever a key code may name a mouse button: in key
// slots, fire keys and the key-name table.
inline constexpr std::uint8_t kMouseLeftUsage = 0xF0;
inline constexpr std::uint8_t kMouseRightUsage = 0xF1;
inline constexpr std::uint8_t kMouseMiddleUsage = 0xF2;
inline constexpr std::uint8_t kMouseBackUsage = 0xF3;     // button 4
inline constexpr std::uint8_t kMouseForwardUsage = 0xF4;  // button 5

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

// The usages rise through the table; a slip in one entry breaks the order.
static_assert(std::is_sorted(MediaUsageTable.begin(), MediaUsageTable.end()));

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

// One entry of the fire-key list: the text the list shows (the same in every language) and the key
// code the mouse repeats. Keys are keyboard-page usages.
struct FireKey {
  std::string_view name;
  std::uint8_t usage;
};

// The keys a fire key can repeat, in list order; a button's `FireKeyIndex` indexes it.
inline constexpr std::array<FireKey, 59> FireKeyList{{
    {"L-Button", kMouseLeftUsage},
    {"R-Button", kMouseRightUsage},
    {"M-Button", kMouseMiddleUsage},
    {"B4-Button", kMouseBackUsage},
    {"B5-Button", kMouseForwardUsage},
    {"A", 0x04},
    {"B", 0x05},
    {"C", 0x06},
    {"D", 0x07},
    {"E", 0x08},
    {"F", 0x09},
    {"G", 0x0A},
    {"H", 0x0B},
    {"I", 0x0C},
    {"J", 0x0D},
    {"K", 0x0E},
    {"L", 0x0F},
    {"M", 0x10},
    {"N", 0x11},
    {"O", 0x12},
    {"P", 0x13},
    {"Q", 0x14},
    {"R", 0x15},
    {"S", 0x16},
    {"T", 0x17},
    {"U", 0x18},
    {"V", 0x19},
    {"W", 0x1A},
    {"X", 0x1B},
    {"Y", 0x1C},
    {"Z", 0x1D},
    {"1", 0x1E},
    {"2", 0x1F},
    {"3", 0x20},
    {"4", 0x21},
    {"5", 0x22},
    {"6", 0x23},
    {"7", 0x24},
    {"8", 0x25},
    {"9", 0x26},
    {"0", 0x27},
    {"L-CTRL", 0xE0},
    {"L-SHIFT", 0xE1},
    {"L-ALT", 0xE2},
    {"R-CTRL", 0xE4},
    {"R-SHIFT", 0xE5},
    {"R-ALT", 0xE6},
    {"F1", 0x3A},
    {"F2", 0x3B},
    {"F3", 0x3C},
    {"F4", 0x3D},
    {"F5", 0x3E},
    {"F6", 0x3F},
    {"F7", 0x40},
    {"F8", 0x41},
    {"F9", 0x42},
    {"F10", 0x43},
    {"F11", 0x44},
    {"F12", 0x45},
}};

// The letters, digits and function keys run in usage order without gaps, so a slip in one entry
// shows up here.
namespace detail {
constexpr bool UsagesRun(std::size_t first, std::size_t count, std::uint8_t firstUsage) {
  for (std::size_t i = 0; i < count; ++i) {
    if (FireKeyList[first + i].usage != firstUsage + i) {
      return false;
    }
  }
  return true;
}
}  // namespace detail
static_assert(FireKeyList[5].name == "A" && detail::UsagesRun(5, 26, 0x04));
static_assert(FireKeyList[31].name == "1" && detail::UsagesRun(31, 10, 0x1E));
static_assert(FireKeyList[47].name == "F1" && detail::UsagesRun(47, 12, 0x3A));

// The key code of a fire-key list entry; 0 (no key) past the end of the list.
constexpr std::uint8_t FireKeyIndexToUsage(std::size_t index) {
  return index < FireKeyList.size() ? FireKeyList[index].usage : std::uint8_t{0};
}

}  // namespace q8
