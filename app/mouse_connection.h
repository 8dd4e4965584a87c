#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/counting_channel.h"
#include "device/device_operations.h"
#include "device/find_mouse.h"
#include "device/hid_bus.h"
#include "device/mouse_state_file.h"
#include "device/simulated_mouse.h"
#include "device/thread_sleeper.h"
#include "device/wire_trace.h"

namespace q8 {

// How the tray program reaches the mouse: the system's HID bus, or with --simulate the simulated
// mouse (its memory kept in a state file when one is named); every report and delay optionally
// traced to a file.
struct MouseOptions {
  bool simulate = false;
  std::optional<std::filesystem::path> stateFile;
  std::optional<std::filesystem::path> traceFile;
};

// The program's options: "--simulate", "--simulate=STATE_FILE" and "--trace=FILE", nothing else.
// The options, or the one line that says what is wrong.
std::optional<MouseOptions> ParseMouseOptions(std::span<const std::string> args,
                                              std::string& error);

// The bus, the channels of the mouse found last and the protocol's sleeper, for the whole process.
class MouseConnection {
 public:
  using SystemBusFactory = std::unique_ptr<HidBus> (*)();

  MouseConnection() = default;
  MouseConnection(const MouseConnection&) = delete;
  MouseConnection& operator=(const MouseConnection&) = delete;

  // Opens the bus the options ask for; false with `error` set when the state or trace file cannot
  // be opened.
  bool Open(const MouseOptions& options, SystemBusFactory systemBus, std::string& error);
  // Uses `bus` as it is (tests, benchmarks).
  void UseBus(HidBus& bus, Sleeper& sleeper);

  HidBus& Bus() { return *bus_; }
  MouseLink& Link() { return link_; }
  // The ports of the channels open now, which must exist (Link().HasChannels()). Each call
  // starts a new count of refused reports.
  ProtocolPorts Ports(MessageSink& messages, std::string_view mouseNotDetectedText);
  // The feature reports the system refused on the ports given out last, on both channels.
  int FailedReports() const;
  // The state file of the simulated mouse, whose plug state `q8ctl unplug` and `plug` change;
  // nothing for the system's bus or a simulated mouse without a file.
  std::optional<std::filesystem::path> SimulatedStateFile() const;
  // The simulated mouse's state file could not be written; the reason, once.
  std::optional<std::string> StateSaveError() const;

 private:
  std::unique_ptr<PersistentSimulatedMouse> persistentMouse_;
  std::unique_ptr<SimulatedMouse> memoryMouse_;
  std::unique_ptr<HidBus> ownBus_;
  HidBus* bus_ = nullptr;
  MouseLink link_;
  ThreadSleeper realSleeper_;
  Sleeper* sleeper_ = &realSleeper_;
  std::ofstream traceFile_;
  std::unique_ptr<WireTrace> trace_;
  std::unique_ptr<TracingSleeper> tracedSleeper_;
  std::optional<TracingChannel> tracedShort_;
  std::optional<TracingChannel> tracedPage_;
  std::optional<CountingChannel> countedShort_;
  std::optional<CountingChannel> countedPage_;
};

}  // namespace q8
