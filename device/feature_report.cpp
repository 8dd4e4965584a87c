#include "device/feature_report.h"

#include <algorithm>

namespace q8 {

bool HasReportSignature(const FeatureReport& report) {
  return std::equal(kReportSignature.begin(), kReportSignature.end(), report.begin() + 1);
}

FeatureReport MakeShortReport(std::uint8_t command, std::uint8_t firstParam,
                              std::uint8_t secondParam) {
  FeatureReport report{};
  report[0] = kShortReportId;
  std::copy(kReportSignature.begin(), kReportSignature.end(), report.begin() + 1);
  report[kShortCommandByte] = command;
  report[kShortFirstParamByte] = firstParam;
  report[kShortSecondParamByte] = secondParam;
  return report;
}

}  // namespace q8
