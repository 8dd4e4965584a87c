#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/counting_channel.h"
#include "cli/invocation.h"
#include "device/device_operations.h"
#include "device/find_mouse.h"
#include "device/mouse_state_file.h"
#include "device/thread_sleeper.h"
#include "device/wire_trace.h"

namespace q8 {

// Prints the messages of the core on standard error and counts them, so that a failed check
// becomes a failed exit status.
class StreamMessageSink final : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& err) : err_(err) {}
  void ShowMessage(std::string_view text, std::string_view caption) override;
  int Count() const { return count_; }

 private:
  std::ostream& err_;
  int count_ = 0;
};

// The mouse as q8ctl talks to it: the simulated mouse or the system's HID bus, found through the
// real search, every report and delay optionally traced, and read once as start-up reads it.
class MouseSession {
 public:
  // How opening ended: found and read, or why not.
  enum class Outcome { kReady, kBadInput, kNotFound, kNotAnswering };

  // `systemBus`: the bus to use without --simulate; null for the system's HID bus.
  MouseSession(const Invocation& invocation, HidBus* systemBus, StreamMessageSink& messages,
               std::ostream& err);
  MouseSession(const MouseSession&) = delete;
  MouseSession& operator=(const MouseSession&) = delete;

  // Finds the mouse, opens both channels and reads its status and memory. Problems are told on
  // `err` or through the message sink; a mouse that stops answering during the read is one that
  // is not answering.
  Outcome Open();

  ProtocolPorts Ports();
  DeviceState& Device() { return device_; }
  const MouseLink& Link() const { return link_; }
  // The feature reports the system refused so far, on both channels.
  int FailedReports() const;
  // Whether the simulated mouse could keep its state file up to date; says so on `err` if not.
  bool StateSaved();
  // Whether every line of the trace was written; says so on `err` if not.
  bool TraceWritten();

 private:
  bool OpenBus();
  bool OpenTrace();

  const Invocation& invocation_;
  HidBus* systemBus_;
  StreamMessageSink& messages_;
  std::ostream& err_;

  std::unique_ptr<PersistentSimulatedMouse> persistentMouse_;
  std::unique_ptr<SimulatedMouse> memoryMouse_;
  std::unique_ptr<HidBus> ownBus_;
  HidBus* bus_ = nullptr;
  MouseLink link_;

  std::unique_ptr<CountingChannel> countedShort_;
  std::unique_ptr<CountingChannel> countedPage_;

  std::ofstream traceFile_;
  std::unique_ptr<WireTrace> trace_;
  std::unique_ptr<TracingChannel> tracedShort_;
  std::unique_ptr<TracingChannel> tracedPage_;
  ThreadSleeper realSleeper_;
  std::unique_ptr<TracingSleeper> tracedSleeper_;

  DeviceState device_;
};

// Paths arrive as UTF-8 on every platform.
std::filesystem::path PathFromUtf8(const std::string& text);

}  // namespace q8
