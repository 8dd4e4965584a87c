#pragma once

#include "model/device_image.h"
#include "settings/device_config.h"

namespace q8 {

// Encoding the settings record into the tool's copy of the mouse's memory before it is written
// back. The encoding writes only the positions it owns; every other byte keeps what was read from
// the mouse, so whatever the tool does not interpret survives an apply unchanged.
//
// The apply path runs it in two halves around the status query:
//   EncodeConstantTables(image);
//   GetDPIStage(...);  status.reportRateCode = config[field::ReportRateCode];
//   EncodeDeviceConfig(config, image);

// The constant tables the key slots index: the media usages into page 4 bytes 32..63 and the
// shortcut presets into page 5 bytes 48..63.
void EncodeConstantTables(DeviceImage& image);

// The rest, in this order: lighting (page 4 bytes 7..12), stage colours (page 5 bytes 24..47),
// stage count and snipe code (page 4 bytes 6 and 23), DPI stage codes (page 4 bytes 24..31), fire
// times (page 4 bytes 14 and 15) and the two key configurations (page 3 bytes 0..15 and 32..47).
// The DPI codes follow the sensor the image was read from (page 4 byte 1, which the tool never
// changes).
void EncodeDeviceConfig(const DeviceConfig& config, DeviceImage& image);

}  // namespace q8
