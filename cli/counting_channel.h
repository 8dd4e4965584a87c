#pragma once

#include <cstdint>
#include <span>

#include "device/feature_channel.h"

namespace q8 {

// One of the tool's channels, counting the feature reports the system refuses. The device
// operations judge the mouse by its answers alone, so a mouse that goes away after answering the
// status check would pass for one that took every page; the count tells the two apart.
class CountingChannel final : public FeatureChannel {
 public:
  explicit CountingChannel(FeatureChannel& inner) : inner_(inner) {}

  bool SendFeature(std::span<const std::uint8_t> report) override {
    return Counted(inner_.SendFeature(report));
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    return Counted(inner_.GetFeature(report));
  }
  void Lock() override { inner_.Lock(); }
  void Unlock() override { inner_.Unlock(); }

  int Failures() const { return failures_; }

 private:
  bool Counted(bool ok) {
    failures_ += ok ? 0 : 1;
    return ok;
  }

  FeatureChannel& inner_;
  int failures_ = 0;
};

}  // namespace q8
