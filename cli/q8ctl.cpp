#include "cli/q8ctl.h"

#include <fstream>
#include <memory>
#include <optional>

#include "device/device_operations.h"
#include "device/mouse_state_file.h"
#include "device/thread_sleeper.h"
#include "device/wire_trace.h"

namespace q8 {
namespace {

constexpr std::string_view kUsage =
    "usage: q8ctl [--simulate[=STATE_FILE]] [--trace=FILE] COMMAND\n"
    "\n"
    "Configures the Tarnix Q8 gaming mouse.\n"
    "\n"
    "options:\n"
    "  --simulate[=STATE_FILE]  talk to the simulated mouse; with a file, the mouse keeps its\n"
    "                           memory there (322 bytes, created when missing)\n"
    "  --trace=FILE             append every feature report and protocol delay to FILE\n"
    "\n"
    "commands:\n"
    "  info   the mouse's report rate, DPI stage and sensor variant\n"
    "  dump   the mouse's 320-byte memory, one page per line\n";

// English text of the message shown when the mouse does not answer.
constexpr std::string_view kMouseNotDetected = "The system did not detect the gaming mouse!";

struct Options {
  bool simulate = false;
  std::optional<std::string> stateFile;
  std::optional<std::string> traceFile;
  std::string command;
};

class StreamMessageSink final : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& err) : err_(err) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    err_ << "q8ctl: " << caption << ": " << text << '\n';
    ++count_;
  }
  int count() const { return count_; }

 private:
  std::ostream& err_;
  int count_ = 0;
};

// Paths arrive as UTF-8 on every platform.
std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::optional<Options> ParseOptions(std::span<const std::string> args, std::ostream& err) {
  Options options;
  for (const std::string& arg : args) {
    if (arg == "--simulate") {
      options.simulate = true;
    } else if (arg.starts_with("--simulate=")) {
      options.simulate = true;
      options.stateFile = arg.substr(std::string_view("--simulate=").size());
    } else if (arg.starts_with("--trace=")) {
      options.traceFile = arg.substr(std::string_view("--trace=").size());
    } else if (arg == "--help" || arg == "-h") {
      options.command = "help";
    } else if (!arg.starts_with("-") && options.command.empty()) {
      options.command = arg;
    } else {
      err << "q8ctl: unexpected argument '" << arg << "'\n";
      return std::nullopt;
    }
  }
  return options;
}

unsigned ReportRateHz(std::uint8_t code) {
  switch (code) {
    case 8:
      return 125;
    case 4:
      return 250;
    case 2:
      return 500;
    default:
      return 1000;
  }
}

void PrintInfo(const DeviceState& state, std::ostream& out) {
  out << "mouse: found\n"
      << "report rate: " << ReportRateHz(state.status.reportRateCode) << " Hz (code "
      << unsigned{state.status.reportRateCode} << ")\n"
      << "DPI stage: " << unsigned{state.status.dpiStage} << '\n'
      << "sensor variant: " << unsigned{SensorVariantOf(state.image)} << '\n';
}

void PrintDump(const DeviceState& state, std::ostream& out) {
  for (std::size_t page = 1; page <= DeviceImage::kPageCount; ++page) {
    out << "page " << page << ": " << HexBytes(state.image.Page(page)) << '\n';
  }
}

}  // namespace

int RunQ8ctl(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const std::optional<Options> options = ParseOptions(args, err);
  if (!options || options->command.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  if (options->command == "help") {
    out << kUsage;
    return kExitOk;
  }
  if (options->command != "info" && options->command != "dump") {
    err << "q8ctl: unknown command '" << options->command << "'\n" << kUsage;
    return kExitUsage;
  }
  if (!options->simulate) {
    err << "q8ctl: this build talks only to the simulated mouse; use --simulate\n";
    return kExitDeviceFailure;
  }

  std::unique_ptr<PersistentSimulatedMouse> persistent;
  std::unique_ptr<SimulatedMouse> transient;
  SimulatedMouse* mouse = nullptr;
  if (options->stateFile) {
    std::string error;
    auto memory = LoadOrCreateMouseStateFile(PathFromUtf8(*options->stateFile), error);
    if (!memory) {
      err << "q8ctl: " << error << '\n';
      return kExitUsage;
    }
    persistent =
        std::make_unique<PersistentSimulatedMouse>(PathFromUtf8(*options->stateFile), *memory);
    mouse = &persistent->Mouse();
  } else {
    transient = std::make_unique<SimulatedMouse>();
    mouse = transient.get();
  }

  std::ofstream traceFile;
  std::optional<WireTrace> trace;
  if (options->traceFile) {
    // Binary, so every platform writes the same lines ending in a plain newline.
    traceFile.open(PathFromUtf8(*options->traceFile), std::ios::app | std::ios::binary);
    if (!traceFile) {
      err << "q8ctl: cannot open the trace file " << *options->traceFile << '\n';
      return kExitUsage;
    }
    trace.emplace(traceFile);
  }

  ThreadSleeper realSleeper;
  StreamMessageSink messages(err);
  std::optional<TracingChannel> tracedShort, tracedPage;
  std::optional<TracingSleeper> tracedSleeper;
  FeatureChannel* shortChannel = &mouse->ShortChannel();
  FeatureChannel* pageChannel = &mouse->PageChannel();
  Sleeper* sleeper = &realSleeper;
  if (trace) {
    shortChannel = &tracedShort.emplace(*shortChannel, *trace, "short");
    pageChannel = &tracedPage.emplace(*pageChannel, *trace, "page");
    sleeper = &tracedSleeper.emplace(*sleeper, *trace);
  }

  const ProtocolPorts ports{*shortChannel, *pageChannel, *sleeper, messages, kMouseNotDetected};
  DeviceState state;
  state.ResetForDiscovery();
  ReadOperation(ports, state);
  if (messages.count() > 0) {
    return kExitDeviceFailure;  // the mouse did not answer; the message says so
  }
  if (options->command == "info") {
    PrintInfo(state, out);
  } else {
    PrintDump(state, out);
  }
  return kExitOk;
}

}  // namespace q8
