#include "app/mouse_connection.h"

#include "device/simulated_hid_bus.h"

namespace q8 {
namespace {

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kTrace = "--trace=";

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

void UseDefaultSimulatedMouse(MouseOptions& options, const std::filesystem::path& folder) {
  if (options.simulate && !options.stateFile) {
    options.stateFile = folder / std::string(kDefaultSimulatedMouseFile);
  }
}

bool MouseConnection::Open(const MouseOptions& options, SystemBusFactory systemBus,
                           std::string& error) {
  if (!options.simulate) {
    ownBus_ = systemBus();
    bus_ = ownBus_.get();
  } else if (!OpenSimulatedMouse(options, error)) {
    return false;
  }
  return !options.traceFile || OpenTrace(*options.traceFile, error);
}

bool MouseConnection::Open(const MouseOptions& options, HidBus& systemBus, std::string& error) {
  if (!options.simulate) {
    bus_ = &systemBus;
  } else if (!OpenSimulatedMouse(options, error)) {
    return false;
  }
  return !options.traceFile || OpenTrace(*options.traceFile, error);
}

bool MouseConnection::OpenSimulatedMouse(const MouseOptions& options, std::string& error) {
  if (options.stateFile) {
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
  return true;
}

bool MouseConnection::OpenTrace(const std::filesystem::path& path, std::string& error) {
  // Binary, so every platform writes the same lines ending in a plain newline.
  traceFile_.open(path, std::ios::app | std::ios::binary);
  if (!traceFile_) {
    error = "cannot open the trace file " + Utf8Of(path);
    return false;
  }
  tracePath_ = path;
  trace_ = std::make_unique<WireTrace>(traceFile_);
  tracedSleeper_ = std::make_unique<TracingSleeper>(realSleeper_, *trace_);
  sleeper_ = tracedSleeper_.get();
  return true;
}

void MouseConnection::UseBus(HidBus& bus, Sleeper& sleeper) {
  bus_ = &bus;
  sleeper_ = &sleeper;
}

FeatureChannel& MouseConnection::Wrapped(FeatureChannel& inner,
                                         std::optional<CountingChannel>& counted,
                                         std::optional<TracingChannel>& traced,
                                         std::string_view name) {
  // The channels change with every search, so the wrappers follow them; while the channel stays,
  // so do its wrappers, which ports handed out earlier may still be using.
  if (!counted || &counted->Inner() != &inner) {
    counted.emplace(inner, failedReports_);
    if (trace_) {
      traced.emplace(*counted, *trace_, name);
    }
  }
  return traced ? static_cast<FeatureChannel&>(*traced) : *counted;
}

ProtocolPorts MouseConnection::Ports(MessageSink& messages, std::string_view mouseNotDetectedText) {
  FeatureChannel& shortChannel =
      Wrapped(link_.ShortChannel(), countedShort_, tracedShort_, "short");
  FeatureChannel& pageChannel = Wrapped(link_.PageChannel(), countedPage_, tracedPage_, "page");
  return {shortChannel, pageChannel, *sleeper_, messages, mouseNotDetectedText};
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

std::optional<std::string> MouseConnection::TraceError() const {
  if (trace_ && trace_->Failed()) {
    return "cannot write the trace file " + Utf8Of(tracePath_);
  }
  return std::nullopt;
}

}  // namespace q8
