#pragma once

#include <chrono>
#include <thread>

#include "device/feature_channel.h"

namespace q8 {

// The sleeper of real runs: the protocol's delays are real delays.
class ThreadSleeper final : public Sleeper {
 public:
  void SleepMs(unsigned milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace q8
