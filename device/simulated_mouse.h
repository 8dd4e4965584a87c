#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "device/feature_channel.h"
#include "device/feature_report.h"
#include "model/device_image.h"

namespace q8 {

// What the simulated mouse remembers: its two status bytes and its 320 bytes of memory.
struct SimulatedMouseMemory {
  DeviceStatus status;
  DeviceImage image;

  friend bool operator==(const SimulatedMouseMemory&, const SimulatedMouseMemory&) = default;
};

// A plausible mouse as it leaves the factory: sensor variant 3, six DPI stages on, standard
// lighting, the default key layout and the media and shortcut tables in place.
SimulatedMouseMemory FactoryMouseMemory();

// The device side of the feature-report protocol. It unscrambles every request and scrambles
// every reply, exactly as the mouse does, so the tool's real operations run against it unchanged.
//
// Short channel: every request with the signature prepares the answer to the next get (report id
// 1, the signature, the request's command byte, report-rate code, DPI stage); a status set stores
// both status bytes; an announce of reading (0x80 + n) or writing (n) page n arms the page
// channel for one transfer of that page.
class SimulatedMouse {
 public:
  explicit SimulatedMouse(SimulatedMouseMemory memory = FactoryMouseMemory());
  SimulatedMouse(const SimulatedMouse&) = delete;
  SimulatedMouse& operator=(const SimulatedMouse&) = delete;

  FeatureChannel& ShortChannel() { return shortChannel_; }
  FeatureChannel& PageChannel() { return pageChannel_; }

  const SimulatedMouseMemory& Memory() const { return memory_; }

  // Called after every change of the memory (a status set or a page written).
  void OnChange(std::function<void(const SimulatedMouseMemory&)> listener) {
    onChange_ = std::move(listener);
  }

  // Called when a program takes the mouse for one device operation and when it lets go (Lock and
  // Unlock of the short channel), so that a mouse shared by several programs can keep them apart.
  void OnLock(std::function<void()> taken, std::function<void()> released) {
    onTaken_ = std::move(taken);
    onReleased_ = std::move(released);
  }

  // Takes over memory another program left, without telling the change listener.
  void Restore(const SimulatedMouseMemory& memory) { memory_ = memory; }

 private:
  class Endpoint final : public FeatureChannel {
   public:
    Endpoint(SimulatedMouse& mouse, bool isShort) : mouse_(mouse), isShort_(isShort) {}
    bool SendFeature(std::span<const std::uint8_t> report) override;
    bool GetFeature(std::span<std::uint8_t> report) override;
    // Only the short channel, through which every operation begins, takes the mouse.
    void Lock() override;
    void Unlock() override;

   private:
    SimulatedMouse& mouse_;
    bool isShort_;
  };

  bool ReceiveShortRequest(std::span<const std::uint8_t> report);
  bool AnswerShortRequest(std::span<std::uint8_t> report);
  bool ReceivePage(std::span<const std::uint8_t> report);
  bool SendPage(std::span<std::uint8_t> report);
  void Changed();

  SimulatedMouseMemory memory_;
  Endpoint shortChannel_{*this, true};
  Endpoint pageChannel_{*this, false};
  std::optional<FeatureReport> pendingReply_;  // plain, scrambled when it is fetched
  std::optional<std::size_t> pageToRead_;
  std::optional<std::size_t> pageToWrite_;
  std::function<void(const SimulatedMouseMemory&)> onChange_;
  std::function<void()> onTaken_;
  std::function<void()> onReleased_;
};

}  // namespace q8
