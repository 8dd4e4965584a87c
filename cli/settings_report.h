#pragma once

#include <cstdint>
#include <ostream>

#include "device/find_mouse.h"
#include "model/device_image.h"
#include "settings/device_config.h"

namespace q8 {

// info: the mouse, its channels, status, sensor and DPI levels.
void PrintMouseInfo(const MouseLink& link, const DeviceState& device, std::ostream& out);

// dump: the memory image, one page per line, in hexadecimal.
void PrintMemoryDump(const DeviceImage& image, std::ostream& out);

// show: a settings record in words, with the English names the tool's window shows.
void PrintSettings(const DeviceConfig& config, std::uint8_t sensorVariant, std::ostream& out);

}  // namespace q8
