#include "device/wire_trace.h"

namespace q8 {

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) {
      text += ' ';
    }
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

void WireTrace::Report(std::string_view direction, std::string_view channel,
                       std::span<const std::uint8_t> bytes) {
  // Flushed per line, so the trace of a run that crashes or hangs ends at its last report.
  out_ << direction << ' ' << channel << ' ' << HexBytes(bytes) << std::endl;
}

void WireTrace::Wait(unsigned milliseconds) {
  out_ << "wait " << milliseconds << std::endl;
}

bool TracingChannel::SendFeature(std::span<const std::uint8_t> report) {
  trace_.Report("set", name_, report);
  return inner_.SendFeature(report);
}

bool TracingChannel::GetFeature(std::span<std::uint8_t> report) {
  const bool ok = inner_.GetFeature(report);
  trace_.Report("get", name_, report);
  return ok;
}

void TracingSleeper::SleepMs(unsigned milliseconds) {
  trace_.Wait(milliseconds);
  inner_.SleepMs(milliseconds);
}

}  // namespace q8
