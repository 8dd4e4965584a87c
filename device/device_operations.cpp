#include "device/device_operations.h"

#include <algorithm>
#include <optional>

#include "device/feature_report.h"
#include "device/report_scrambler.h"

namespace q8 {
namespace {

// Holds the mouse for one whole operation, so that another program's reports cannot come between
// its own; let go on every way out of the operation.
class OperationLock {
 public:
  explicit OperationLock(FeatureChannel& shortChannel) : channel_(shortChannel) { channel_.Lock(); }
  ~OperationLock() { channel_.Unlock(); }
  OperationLock(const OperationLock&) = delete;
  OperationLock& operator=(const OperationLock&) = delete;

 private:
  FeatureChannel& channel_;
};

void SendShortRequest(const ProtocolPorts& ports, const DeviceState& state, std::uint8_t command,
                      std::uint8_t firstParam = 0, std::uint8_t secondParam = 0) {
  FeatureReport report = MakeShortReport(command, firstParam, secondParam);
  if (state.scrambleEnabled) {
    ReportScrambler::Scramble(ShortReportBody(report));
  }
  ports.shortChannel.SendFeature(ShortReportBytes(report));
}

FeatureReport ReceiveShortReply(const ProtocolPorts& ports, const DeviceState& state) {
  FeatureReport report{};
  report[0] = kShortReportId;
  ports.shortChannel.GetFeature(std::span(report).first(kShortReportLength));
  if (state.scrambleEnabled) {
    ReportScrambler::Unscramble(ShortReportBody(report));
  }
  return report;
}

// The status query every operation starts with. Returns the reply when it passes the check
// (the report id only where `checkReportId`), otherwise reports the failure and returns nothing.
std::optional<FeatureReport> QueryStatus(const ProtocolPorts& ports, const DeviceState& state,
                                         std::string_view operation, bool checkReportId) {
  SendShortRequest(ports, state, kCommandStatusQuery);
  FeatureReport reply = ReceiveShortReply(ports, state);
  const bool idOk = !checkReportId || reply[0] == kShortReportId;
  if (!idOk || !HasReportSignature(reply)) {
    ports.messages.ShowMessage(ports.mouseNotDetectedText, operation);
    return std::nullopt;
  }
  return reply;
}

void StoreStatus(const FeatureReport& reply, DeviceStatus& status) {
  status.reportRateCode = reply[kShortFirstParamByte];
  status.dpiStage = reply[kShortSecondParamByte];
}

}  // namespace

void GetDPIStage(const ProtocolPorts& ports, DeviceState& state) {
  const OperationLock lock(ports.shortChannel);
  if (auto reply = QueryStatus(ports, state, "GetDPIStage", /*checkReportId=*/true)) {
    StoreStatus(*reply, state.status);
  }
}

void ReadOperation(const ProtocolPorts& ports, DeviceState& state) {
  const OperationLock lock(ports.shortChannel);
  auto reply = QueryStatus(ports, state, "ReadOperation", /*checkReportId=*/true);
  if (!reply) {
    return;
  }
  StoreStatus(*reply, state.status);
  for (std::size_t page = 1; page <= DeviceImage::kPageCount; ++page) {
    SendShortRequest(ports, state, static_cast<std::uint8_t>(kCommandReadPageBase + page));
    ReceiveShortReply(ports, state);  // an acknowledgement whose content means nothing
    FeatureReport report{};
    report[0] = kPageReportId;
    ports.pageChannel.GetFeature(std::span(report).first(kPageReportLength));
    if (state.scrambleEnabled) {
      ReportScrambler::UnscramblePayload(PageReportPayload(report));
    }
    const auto payload = PageReportPayload(report);
    std::copy(payload.begin(), payload.end(), state.image.Page(page).begin());
    ports.sleeper.SleepMs(kPageTransferDelayMs);
  }
}

void WriteOperation(const ProtocolPorts& ports, const DeviceState& state) {
  const OperationLock lock(ports.shortChannel);
  // The mouse's answer is checked for its signature only; its report id is not looked at here.
  if (!QueryStatus(ports, state, "WriteOperation", /*checkReportId=*/false)) {
    return;
  }
  SendShortRequest(ports, state, kCommandStatusSet, state.status.reportRateCode,
                   state.status.dpiStage);
  ports.sleeper.SleepMs(kStatusSetDelayMs);
  for (std::size_t page = DeviceImage::kPageCount; page >= 1; --page) {
    SendShortRequest(ports, state, static_cast<std::uint8_t>(kCommandWritePageBase + page));
    ReceiveShortReply(ports, state);
    FeatureReport report{};
    report[0] = kPageReportId;
    const auto source = state.image.Page(page);
    std::copy(source.begin(), source.end(), PageReportPayload(report).begin());
    if (state.scrambleEnabled) {
      ReportScrambler::ScramblePayload(PageReportPayload(report));
    }
    ports.pageChannel.SendFeature(PageReportBytes(report));
    ports.sleeper.SleepMs(kPageTransferDelayMs);
  }
}

}  // namespace q8
