#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "device/feature_channel.h"

namespace q8 {

// A text log of everything that crosses the channel boundary, one event per line:
//   set short 01 aa cc ...     a report as sent (after scrambling)
//   get page 00 3f ...         a report as received (before unscrambling)
//   wait 100                   a protocol delay in milliseconds
// Because it wraps the channels rather than the protocol, a real mouse is traced the same way.
class WireTrace {
 public:
  explicit WireTrace(std::ostream& out) : out_(out) {}

  void Report(std::string_view direction, std::string_view channel,
              std::span<const std::uint8_t> bytes);
  void Wait(unsigned milliseconds);

  // Whether a line could not be written (a full disk, a reader that went away). The protocol goes
  // on regardless: a trace must never stop a write to the mouse halfway.
  bool Failed() const { return out_.fail(); }

 private:
  std::ostream& out_;
};

// "01 aa cc": bytes as two-digit lower-case hexadecimal separated by single spaces.
std::string HexBytes(std::span<const std::uint8_t> bytes);

class TracingChannel final : public FeatureChannel {
 public:
  // `name` is how the trace calls the channel: "short" or "page".
  TracingChannel(FeatureChannel& inner, WireTrace& trace, std::string_view name)
      : inner_(inner), trace_(trace), name_(name) {}

  bool SendFeature(std::span<const std::uint8_t> report) override;
  bool GetFeature(std::span<std::uint8_t> report) override;
  void Lock() override { inner_.Lock(); }
  void Unlock() override { inner_.Unlock(); }

 private:
  FeatureChannel& inner_;
  WireTrace& trace_;
  std::string name_;
};

class TracingSleeper final : public Sleeper {
 public:
  TracingSleeper(Sleeper& inner, WireTrace& trace) : inner_(inner), trace_(trace) {}
  void SleepMs(unsigned milliseconds) override;

 private:
  Sleeper& inner_;
  WireTrace& trace_;
};

}  // namespace q8
