#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/hid_bus.h"

namespace q8 {

// The top-level collections of a HID report descriptor, in descriptor order, with their report
// lengths counted the way the Windows HID class driver counts them: the longest report of each
// kind, in whole bytes, plus the report-id byte (0 for a device without report ids).
struct ParsedReportDescriptor {
  std::vector<HidCapabilities> collections;
  std::string error;  // empty when the descriptor was accepted

  bool Ok() const { return error.empty(); }
};

// Parses `descriptor` strictly: no collection at all, a truncated item, an unbalanced collection, a
// main item outside any collection, report id 0, reports with and without ids in one descriptor,
// one report id in two collections, two collections without ids, a report longer than a 16-bit
// length or a broken push/pop stack refuse the whole descriptor. Never reads past the end of
// `descriptor`.
ParsedReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace q8
