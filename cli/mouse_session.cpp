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

MouseSession::MouseSession(const Invocation& invocation, StreamMessageSink& messages,
                           std::ostream& err)
    : invocation_(invocation), messages_(messages), err_(err) {}

bool MouseSession::OpenBus() {
  if (!invocation_.simulate) {
    bus_ = OpenSystemHidBus();
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
  bus_ = std::make_unique<SimulatedHidBus>(*mouse);
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
  if (trace_) {
    tracedShort_ = std::make_unique<TracingChannel>(link_.ShortChannel(), *trace_, "short");
    tracedPage_ = std::make_unique<TracingChannel>(link_.PageChannel(), *trace_, "page");
  }
  // What start-up does when the mouse is found.
  const int before = messages_.Count();
  ReadFoundMouse(Ports(), device_);
  return messages_.Count() == before ? Outcome::kReady : Outcome::kNotAnswering;
}

ProtocolPorts MouseSession::Ports() {
  FeatureChannel& shortChannel = tracedShort_ ? *tracedShort_ : link_.ShortChannel();
  FeatureChannel& pageChannel = tracedPage_ ? *tracedPage_ : link_.PageChannel();
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

}  // namespace q8
