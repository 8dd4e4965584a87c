#pragma once

#include <cstdint>
#include <span>

#include "device/feature_channel.h"

namespace q8 {

// One of the tool's channels, counting the feature reports the system refuses into `failures`
// (which both channels of a mouse may share). The device operations judge the mouse by its
// answers alone, so a mouse that goes away after answering the status check would pass for one
// that took every page; the count tells the two apart.
//
// Its lock may be taken again while held: a load of a profile holds the mouse from its first
// report to its last file save, around device operations that each take the lock themselves, and
// the mouse is let go only when the outermost holder lets go.
class CountingChannel final : public FeatureChannel {
 public:
  CountingChannel(FeatureChannel& inner, int& failures) : inner_(inner), failures_(failures) {}

  bool SendFeature(std::span<const std::uint8_t> report) override {
    return Counted(inner_.SendFeature(report));
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    return Counted(inner_.GetFeature(report));
  }
  void Lock() override {
    if (lockDepth_++ == 0) {
      inner_.Lock();
    }
  }
  void Unlock() override {
    if (lockDepth_ > 0 && --lockDepth_ == 0) {
      inner_.Unlock();
    }
  }

  const FeatureChannel& Inner() const { return inner_; }

 private:
  bool Counted(bool ok) {
    failures_ += ok ? 0 : 1;
    return ok;
  }

  FeatureChannel& inner_;
  int& failures_;
  int lockDepth_ = 0;
};

}  // namespace q8
