#include "cli/mouse_session.h"

#include "cli/system_hid_bus.h"
#include "device/device_change.h"
#include "device/simulated_hid_bus.h"
#include "ui/ui_text.h"

namespace q8 {

void StreamMessageSink::ShowMessage(std::string_view text, std::string_view caption) {
  // Messages may end in blanks or a newline of their own; one line each on the terminal.
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  err_ << "q8ctl: " << caption << ": " << text << '\n';
  ++count_;
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

MouseSession::MouseSession(const Invocation& invocation, HidBus* systemBus,
                           StreamMessageSink& messages, std::ostream& err)
    : invocation_(invocation), systemBus_(systemBus), messages_(messages), err_(err) {}

bool MouseSession::OpenBus() {
  if (!invocation_.simulate) {
    if (!systemBus_) {
      ownBus_ = OpenSystemHidBus();
    }
    bus_ = systemBus_ ? systemBus_ : ownBus_.get();
    return true;
  }
  SimulatedMouse* mouse = nullptr;
  if (invocation_.stateFile) {
    const std::filesystem::path path = PathFromUtf8(*invocation_.stateFile);
    std::string error;
    const auto memory = LoadOrCreateMouseStateFile(path, error);
    if (!memory) {
      err_ << "q8ctl: " << error << '\n';
      return false;
    }
    persistentMouse_ = std::make_unique<PersistentSimulatedMouse>(path, *memory);
    mouse = &persistentMouse_->Mouse();
  } else {
    memoryMouse_ = std::make_unique<SimulatedMouse>();
    mouse = memoryMouse_.get();
  }
  auto bus = std::make_unique<SimulatedHidBus>(*mouse);
  if (persistentMouse_) {
    bus->FollowPlugState([persistent = persistentMouse_.get()] { return persistent->Plugged(); });
  }
  ownBus_ = std::move(bus);
  bus_ = ownBus_.get();
  return true;
}

bool MouseSession::OpenTrace() {
  if (!invocation_.traceFile) {
    return true;
  }
  // Binary, so every platform writes the same lines ending in a plain newline.
  traceFile_.open(PathFromUtf8(*invocation_.traceFile), std::ios::app | std::ios::binary);
  if (!traceFile_) {
    err_ << "q8ctl: cannot open the trace file " << *invocation_.traceFile << '\n';
    return false;
  }
  trace_ = std::make_unique<WireTrace>(traceFile_);
  tracedSleeper_ = std::make_unique<TracingSleeper>(realSleeper_, *trace_);
  return true;
}

MouseSession::Outcome MouseSession::Open() {
  if (!OpenBus() || !OpenTrace()) {
    return Outcome::kBadInput;
  }
  if (!FindMouse(*bus_, messages_, link_)) {
    if (messages_.Count() == 0) {
      err_ << "q8ctl: " << TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN) << '\n';
    }
    return Outcome::kNotFound;
  }
  countedShort_ = std::make_unique<CountingChannel>(link_.ShortChannel());
  countedPage_ = std::make_unique<CountingChannel>(link_.PageChannel());
  if (trace_) {
    tracedShort_ = std::make_unique<TracingChannel>(*countedShort_, *trace_, "short");
    tracedPage_ = std::make_unique<TracingChannel>(*countedPage_, *trace_, "page");
  }
  const int before = messages_.Count();
  ReadFoundMouse(Ports(), device_);  // what start-up does when the mouse is found
  if (messages_.Count() != before) {
    return Outcome::kNotAnswering;  // the message said so
  }
  if (const int failed = FailedReports(); failed > 0) {
    err_ << "q8ctl: the mouse stopped answering while it was read (" << failed
         << " feature reports failed); what came back is not its memory\n";
    return Outcome::kNotAnswering;
  }
  return Outcome::kReady;
}

int MouseSession::FailedReports() const {
  return (countedShort_ ? countedShort_->Failures() : 0) +
         (countedPage_ ? countedPage_->Failures() : 0);
}

ProtocolPorts MouseSession::Ports() {
  FeatureChannel& shortChannel =
      tracedShort_ ? static_cast<FeatureChannel&>(*tracedShort_) : *countedShort_;
  FeatureChannel& pageChannel =
      tracedPage_ ? static_cast<FeatureChannel&>(*tracedPage_) : *countedPage_;
  Sleeper& sleeper = tracedSleeper_ ? static_cast<Sleeper&>(*tracedSleeper_) : realSleeper_;
  return {shortChannel, pageChannel, sleeper, messages_,
          TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN)};
}

bool MouseSession::StateSaved() {
  if (persistentMouse_ && persistentMouse_->SaveError()) {
    err_ << "q8ctl: " << *persistentMouse_->SaveError() << '\n';
    return false;
  }
  return true;
}

bool MouseSession::TraceWritten() {
  if (trace_ && trace_->Failed()) {
    err_ << "q8ctl: cannot write the trace file " << *invocation_.traceFile << '\n';
    return false;
  }
  return true;
}

}  // namespace q8
