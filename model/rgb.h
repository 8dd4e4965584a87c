#pragma once

#include <cstdint>

namespace q8 {

// A colour as three bytes. As a platform colour value it reads red + green * 256 + blue * 65536.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  constexpr std::uint32_t ColorRef() const {
    return red | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16;
  }
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The caption colour before the settings are read.
inline constexpr Rgb kInitialSkinTextColor{0, 255, 0};

}  // namespace q8
