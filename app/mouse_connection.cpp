#include "app/mouse_connection.h"

#include "device/simulated_hid_bus.h"

namespace q8 {
namespace {

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kTrace = "--trace=";

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

std::optional<MouseOptions> ParseMouseOptions(std::span<const std::string> args,
                                              std::string& error) {
  MouseOptions options;
  for (const std::string& arg : args) {
    const std::string_view text(arg);
    if (text == kSimulate) {
      options.simulate = true;
    } else if (text.starts_with(kSimulate) && text[kSimulate.size()] == '=') {
      const std::string_view file = text.substr(kSimulate.size() + 1);
      if (file.empty()) {
        error = "--simulate= needs a state file name";
        return std::nullopt;
      }
      options.simulate = true;
      options.stateFile = PathFromUtf8(file);
    } else if (text.starts_with(kTrace)) {
      const std::string_view file = text.substr(kTrace.size());
      if (file.empty()) {
        error = "--trace= needs a file name";
        return std::nullopt;
      }
      options.traceFile = PathFromUtf8(file);
    } else {
      error = "unknown option '" + arg + "' (known: --simulate[=STATE_FILE], --trace=FILE)";
      return std::nullopt;
    }
  }
  return options;
}

bool MouseConnection::Open(const MouseOptions& options, SystemBusFactory systemBus,
                           std::string& error) {
  if (!options.simulate) {
    ownBus_ = systemBus();
  } else if (options.stateFile) {
    const auto memory = LoadOrCreateMouseStateFile(*options.stateFile, error);
    if (!memory) {
      return false;
    }
    persistentMouse_ = std::make_unique<PersistentSimulatedMouse>(*options.stateFile, *memory);
    auto bus = std::make_unique<SimulatedHidBus>(persistentMouse_->Mouse());
    bus->FollowPlugState([mouse = persistentMouse_.get()] { return mouse->Plugged(); });
    ownBus_ = std::move(bus);
  } else {
    memoryMouse_ = std::make_unique<SimulatedMouse>();
    ownBus_ = std::make_unique<SimulatedHidBus>(*memoryMouse_);
  }
  bus_ = ownBus_.get();
  if (options.traceFile) {
    // Binary, so every platform writes the same lines ending in a plain newline.
    traceFile_.open(*options.traceFile, std::ios::app | std::ios::binary);
    if (!traceFile_) {
      error = "cannot open the trace file " + options.traceFile->string();
      return false;
    }
    trace_ = std::make_unique<WireTrace>(traceFile_);
    tracedSleeper_ = std::make_unique<TracingSleeper>(realSleeper_, *trace_);
    sleeper_ = tracedSleeper_.get();
  }
  return true;
}

void MouseConnection::UseBus(HidBus& bus, Sleeper& sleeper) {
  bus_ = &bus;
  sleeper_ = &sleeper;
}

ProtocolPorts MouseConnection::Ports(MessageSink& messages, std::string_view mouseNotDetectedText) {
  FeatureChannel* shortChannel = &link_.ShortChannel();
  FeatureChannel* pageChannel = &link_.PageChannel();
  if (trace_) {
    // The channels change with every search, so the traced wrappers follow them.
    tracedShort_.emplace(*shortChannel, *trace_, "short");
    tracedPage_.emplace(*pageChannel, *trace_, "page");
    shortChannel = &*tracedShort_;
    pageChannel = &*tracedPage_;
  }
  countedShort_.emplace(*shortChannel);
  countedPage_.emplace(*pageChannel);
  return {*countedShort_, *countedPage_, *sleeper_, messages, mouseNotDetectedText};
}

int MouseConnection::FailedReports() const {
  return (countedShort_ ? countedShort_->Failures() : 0) +
         (countedPage_ ? countedPage_->Failures() : 0);
}

std::optional<std::filesystem::path> MouseConnection::SimulatedStateFile() const {
  if (!persistentMouse_) {
    return std::nullopt;
  }
  return persistentMouse_->StateFile();
}

std::optional<std::string> MouseConnection::StateSaveError() const {
  return persistentMouse_ ? persistentMouse_->SaveError() : std::nullopt;
}

}  // namespace q8
