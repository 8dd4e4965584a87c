#pragma once

#include <cstdint>
#include <span>

namespace q8 {

// One HID collection of the mouse that carries feature reports. Byte 0 of every report is the
// report id; the span's size is the number of bytes that travel.
class FeatureChannel {
 public:
  virtual ~FeatureChannel() = default;
  // Sends `report` as a feature report. The protocol ignores the result and judges the device
  // only by what it answers, so a failed send shows up as a reply that fails its checks.
  virtual bool SendFeature(std::span<const std::uint8_t> report) = 0;
  // Receives a feature report into `report`, whose byte 0 the caller has set to the wanted
  // report id. On failure the buffer is left as it was (zeroed by the protocol).
  virtual bool GetFeature(std::span<std::uint8_t> report) = 0;

  // Keeps every other program's device operations off the device until Unlock, waiting while
  // another program holds it: the reports of two operations must never interleave. The device
  // operations lock the short channel, through which each of them begins; a channel that no
  // other program can reach does nothing.
  virtual void Lock() {}
  virtual void Unlock() {}
};

// The protocol's delays. The real sleeper sleeps; tests record the delays instead.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void SleepMs(unsigned milliseconds) = 0;
};

}  // namespace q8
