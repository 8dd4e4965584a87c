#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "device/feature_channel.h"

namespace q8::test {

// A channel that records what is sent and answers gets from a queue of replies. With no reply
// queued, a get fails and leaves the buffer as it was, as an unplugged mouse does.
class ScriptedChannel final : public FeatureChannel {
 public:
  using Bytes = std::vector<std::uint8_t>;

  bool SendFeature(std::span<const std::uint8_t> report) override {
    sent.emplace_back(report.begin(), report.end());
    events.push_back("set");
    return true;
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    events.push_back("get");
    requestedIds.push_back(report[0]);
    requestedLengths.push_back(report.size());
    if (replies.empty()) {
      return false;
    }
    const Bytes reply = replies.front();
    replies.pop_front();
    std::copy_n(reply.begin(), std::min(reply.size(), report.size()), report.begin());
    return true;
  }

  std::deque<Bytes> replies;
  std::vector<Bytes> sent;
  std::vector<std::string> events;
  std::vector<std::uint8_t> requestedIds;
  std::vector<std::size_t> requestedLengths;
};

}  // namespace q8::test
