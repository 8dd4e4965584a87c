#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/counting_channel.h"
#include "device/device_operations.h"
#include "device/find_mouse.h"
#include "device/hid_bus.h"
#include "device/mouse_state_file.h"
#include "device/simulated_mouse.h"
#include "device/thread_sleeper.h"
#include "device/wire_trace.h"
#include "settings/utf8_path.h"

namespace q8 {

// How the tray program reaches the mouse: the system's HID bus, or with --simulate the simulated
// mouse (its memory kept in a state file when one is named); every report and delay optionally
// traced to a file.
struct MouseOptions {
  bool simulate = false;
  std::optional<std::filesystem::path> stateFile;
  std::optional<std::filesystem::path> traceFile;
};

// The state file of the simulated mouse a bare --simulate means, in the folder of the tool's
// config.bin: the tray program and q8ctl share it, so that what one writes the other reads.
inline constexpr std::string_view kDefaultSimulatedMouseFile = "simulated-mouse.bin";
// Gives a bare --simulate the default state file of the tool whose settings are in `folder`.
void UseDefaultSimulatedMouse(MouseOptions& options, const std::filesystem::path& folder);

// The program's options: "--simulate", "--simulate=STATE_FILE" and "--trace=FILE", nothing else.
// The options, or the one line that says what is wrong.
std::optional<MouseOptions> ParseMouseOptions(std::span<const std::string> args,
                                              std::string& error);

// The bus, the channels of the mouse found last and the protocol's sleeper, for the whole process:
// the tray programs and q8ctl reach the mouse through it alike. Every feature report the system
// refuses on the mouse's channels is counted, and every problem with the files it keeps (the
// simulated mouse's state file, the trace) can be asked for.
class MouseConnection {
 public:
  using SystemBusFactory = std::unique_ptr<HidBus> (*)();

  MouseConnection() = default;
  MouseConnection(const MouseConnection&) = delete;
  MouseConnection& operator=(const MouseConnection&) = delete;

  // Opens the bus the options ask for; false with `error` set when the state or trace file cannot
  // be opened. Without --simulate, `systemBus` makes the system's bus.
  bool Open(const MouseOptions& options, SystemBusFactory systemBus, std::string& error);
  // The same with a system bus that exists already (tests).
  bool Open(const MouseOptions& options, HidBus& systemBus, std::string& error);
  // Uses `bus` as it is, without trace (tests, benchmarks).
  void UseBus(HidBus& bus, Sleeper& sleeper);

  HidBus& Bus() { return *bus_; }
  MouseLink& Link() { return link_; }
  const MouseLink& Link() const { return link_; }
  // The ports of the channels open now, which must exist (Link().HasChannels()).
  ProtocolPorts Ports(MessageSink& messages, std::string_view mouseNotDetectedText);

  // The feature reports the system refused so far, on both channels of every mouse found.
  int FailedReports() const { return failedReports_; }
  // The state file of the simulated mouse, whose plug state `q8ctl unplug` and `plug` change;
  // nothing for the system's bus or a simulated mouse without a file.
  std::optional<std::filesystem::path> SimulatedStateFile() const;
  // The simulated mouse's state file could not be written; the reason, once.
  std::optional<std::string> StateSaveError() const;
  // A line of the trace could not be written; the reason.
  std::optional<std::string> TraceError() const;

 private:
  bool OpenSimulatedMouse(const MouseOptions& options, std::string& error);
  bool OpenTrace(const std::filesystem::path& path, std::string& error);
  // The channel the device operations use for `inner`: counted, then traced.
  FeatureChannel& Wrapped(FeatureChannel& inner, std::optional<CountingChannel>& counted,
                          std::optional<TracingChannel>& traced, std::string_view name);

  std::unique_ptr<PersistentSimulatedMouse> persistentMouse_;
  std::unique_ptr<SimulatedMouse> memoryMouse_;
  std::unique_ptr<HidBus> ownBus_;
  HidBus* bus_ = nullptr;
  MouseLink link_;
  ThreadSleeper realSleeper_;
  Sleeper* sleeper_ = &realSleeper_;
  int failedReports_ = 0;
  std::optional<CountingChannel> countedShort_;
  std::optional<CountingChannel> countedPage_;
  std::filesystem::path tracePath_;
  std::ofstream traceFile_;
  std::unique_ptr<WireTrace> trace_;
  std::unique_ptr<TracingSleeper> tracedSleeper_;
  std::optional<TracingChannel> tracedShort_;
  std::optional<TracingChannel> tracedPage_;
};

}  // namespace q8
