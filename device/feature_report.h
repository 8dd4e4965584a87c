#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace q8 {

// The buffer every report is built in or received into. Only the first bytes travel: as many as
// the channel's report length.
using FeatureReport = std::array<std::uint8_t, 80>;

inline constexpr std::size_t kShortReportLength = 8;  // report id 1, signature, command, 2 params
inline constexpr std::size_t kPageReportLength = 65;  // report id 0, then one 64-byte page
inline constexpr std::uint8_t kShortReportId = 1;
inline constexpr std::uint8_t kPageReportId = 0;

inline constexpr std::array<std::uint8_t, 4> kReportSignature{0xAA, 0xCC, 0xEE, 0xDD};

// Byte positions of a short report.
inline constexpr std::size_t kShortCommandByte = 5;
inline constexpr std::size_t kShortFirstParamByte = 6;   // report-rate code in status reports
inline constexpr std::size_t kShortSecondParamByte = 7;  // DPI stage in status reports

// Command bytes of the short channel.
inline constexpr std::uint8_t kCommandStatusSet = 0x00;
inline constexpr std::uint8_t kCommandStatusQuery = 0x80;
inline constexpr std::uint8_t kCommandReadPageBase = 0x80;   // + page number 1..5
inline constexpr std::uint8_t kCommandWritePageBase = 0x00;  // + page number 1..5

// Bytes 1..7 of a short report: the part that is scrambled as one block.
inline std::span<std::uint8_t, 7> ShortReportBody(FeatureReport& report) {
  return std::span(report).subspan<1, 7>();
}

// Bytes 1..64 of a page report: the page payload.
inline std::span<std::uint8_t, 64> PageReportPayload(FeatureReport& report) {
  return std::span(report).subspan<1, 64>();
}

inline std::span<const std::uint8_t> ShortReportBytes(const FeatureReport& report) {
  return std::span(report).first(kShortReportLength);
}

inline std::span<const std::uint8_t> PageReportBytes(const FeatureReport& report) {
  return std::span(report).first(kPageReportLength);
}

// True when bytes 1..4 carry the report signature.
bool HasReportSignature(const FeatureReport& report);

// A plain (unscrambled) short report with the given command and parameters.
FeatureReport MakeShortReport(std::uint8_t command, std::uint8_t firstParam = 0,
                              std::uint8_t secondParam = 0);

}  // namespace q8
