#include "device/simulated_mouse.h"

#include <algorithm>

#include "device/report_scrambler.h"
#include "device/settings_encoding.h"
#include "model/key_model.h"

namespace q8 {

SimulatedMouseMemory FactoryMouseMemory() {
  SimulatedMouseMemory memory;
  memory.status = {.reportRateCode = 1, .dpiStage = 2};  // 1000 Hz, stage 2
  DeviceImage& image = memory.image;

  // Pages 1 and 2 hold firmware data the tool never interprets; a fixed pattern makes it easy to
  // see that the tool writes them back untouched.
  for (std::size_t page = 1; page <= 2; ++page) {
    for (std::size_t byte = 0; byte < DeviceImage::kPageSize; ++byte) {
      image.At(page, byte) = static_cast<std::uint8_t>(page * 0x40 + byte * 3);
    }
  }
  // Page 3: the default key layout in both configurations, as the tool encodes it.
  DeviceConfig defaultKeys;
  ApplyDefaultKeyLayout(defaultKeys);
  const KeyAssignments keys = EncodeKeyAssignments(defaultKeys);
  std::copy(keys.keyConfigA.begin(), keys.keyConfigA.end(), image.Page(3).begin());
  std::copy(keys.keyConfigB.begin(), keys.keyConfigB.end(), image.Page(3).begin() + 32);

  // Page 4: sensor, stages, lighting, fire times, snipe and DPI codes.
  image.At(4, 1) = 3;   // sensor variant 3: 400 to 3200 DPI
  image.At(4, 6) = 6;   // six stages offered
  image.At(4, 7) = 1;   // lighting details of the standard effect
  image.At(4, 10) = 1;  // lighting mode: standard
  image.At(4, 11) = 3;  // brightness
  image.At(4, 12) = 2;
  image.At(4, 14) = 20;    // fire make time
  image.At(4, 15) = 20;    // fire break time
  image.At(4, 23) = 0x01;  // snipe: 400 DPI
  constexpr std::array<std::uint8_t, 8> kStageCodes{0x02, 0x03, 0x04, 0x05, 0x06, 0x08, 0x87, 0x88};
  std::copy(kStageCodes.begin(), kStageCodes.end(), image.Page(4).begin() + 24);

  // Page 5: stage colours.
  constexpr std::array<std::uint8_t, 24> kColors{0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
                                                 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00,
                                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00};
  std::copy(kColors.begin(), kColors.end(), image.Page(5).begin() + 24);

  // The media table (page 4) and the shortcut table (page 5).
  EncodeConstantTables(image);
  return memory;
}

SimulatedMouse::SimulatedMouse(SimulatedMouseMemory memory) : memory_(memory) {}

bool SimulatedMouse::Endpoint::SendFeature(std::span<const std::uint8_t> report) {
  return isShort_ ? mouse_.ReceiveShortRequest(report) : mouse_.ReceivePage(report);
}

bool SimulatedMouse::Endpoint::GetFeature(std::span<std::uint8_t> report) {
  return isShort_ ? mouse_.AnswerShortRequest(report) : mouse_.SendPage(report);
}

void SimulatedMouse::Endpoint::Lock() {
  if (isShort_ && mouse_.onTaken_) {
    mouse_.onTaken_();
  }
}

void SimulatedMouse::Endpoint::Unlock() {
  if (isShort_ && mouse_.onReleased_) {
    mouse_.onReleased_();
  }
}

bool SimulatedMouse::ReceiveShortRequest(std::span<const std::uint8_t> report) {
  if (report.size() != kShortReportLength || report[0] != kShortReportId) {
    return false;
  }
  FeatureReport request{};
  std::copy(report.begin(), report.end(), request.begin());
  ReportScrambler::Unscramble(ShortReportBody(request));
  if (!HasReportSignature(request)) {
    return false;  // not a request of this protocol: ignored
  }
  const std::uint8_t command = request[kShortCommandByte];
  pageToRead_.reset();
  pageToWrite_.reset();
  if (command == kCommandStatusSet) {
    memory_.status = {request[kShortFirstParamByte], request[kShortSecondParamByte]};
    Changed();
  } else if (command > kCommandReadPageBase && command <= kCommandReadPageBase + 5) {
    pageToRead_ = command - kCommandReadPageBase;
  } else if (command > kCommandWritePageBase && command <= kCommandWritePageBase + 5) {
    pageToWrite_ = command - kCommandWritePageBase;
  }
  pendingReply_ = MakeShortReport(command, memory_.status.reportRateCode, memory_.status.dpiStage);
  return true;
}

bool SimulatedMouse::AnswerShortRequest(std::span<std::uint8_t> report) {
  if (!pendingReply_ || report.size() != kShortReportLength) {
    return false;
  }
  FeatureReport reply = *pendingReply_;
  ReportScrambler::Scramble(ShortReportBody(reply));
  std::copy_n(reply.begin(), kShortReportLength, report.begin());
  return true;
}

bool SimulatedMouse::ReceivePage(std::span<const std::uint8_t> report) {
  if (!pageToWrite_ || report.size() != kPageReportLength || report[0] != kPageReportId) {
    return false;
  }
  FeatureReport received{};
  std::copy(report.begin(), report.end(), received.begin());
  ReportScrambler::UnscramblePayload(PageReportPayload(received));
  const auto payload = PageReportPayload(received);
  std::copy(payload.begin(), payload.end(), memory_.image.Page(*pageToWrite_).begin());
  pageToWrite_.reset();
  Changed();
  return true;
}

bool SimulatedMouse::SendPage(std::span<std::uint8_t> report) {
  if (!pageToRead_ || report.size() != kPageReportLength) {
    return false;
  }
  FeatureReport page{};
  page[0] = kPageReportId;
  const auto source = memory_.image.Page(*pageToRead_);
  std::copy(source.begin(), source.end(), PageReportPayload(page).begin());
  ReportScrambler::ScramblePayload(PageReportPayload(page));
  std::copy_n(page.begin(), kPageReportLength, report.begin());
  pageToRead_.reset();
  return true;
}

void SimulatedMouse::Changed() {
  if (onChange_) {
    onChange_(memory_);
  }
}

}  // namespace q8
