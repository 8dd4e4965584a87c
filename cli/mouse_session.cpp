#include "cli/mouse_session.h"

#include "cli/tray_program.h"
#include "device/device_change.h"
#include "device/system_hid_bus.h"
#include "model/ui_text.h"
#include "settings/config_file.h"

namespace q8 {

void StreamMessageSink::ShowMessage(std::string_view text, std::string_view caption) {
  // Messages may end in blanks or a newline of their own; one line each on the terminal.
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  err_ << "q8ctl: " << caption << ": " << text << '\n';
  ++count_;
}

MouseSession::MouseSession(const Invocation& invocation, HidBus* systemBus,
                           StreamMessageSink& messages, std::ostream& err)
    : invocation_(invocation), systemBus_(systemBus), messages_(messages), err_(err) {}

MouseSession::Outcome MouseSession::Open(bool holdForWrite) {
  MouseOptions options;
  options.simulate = invocation_.simulate;
  if (invocation_.stateFile) {
    options.stateFile = PathFromUtf8(*invocation_.stateFile);
  }
  if (invocation_.traceFile) {
    options.traceFile = PathFromUtf8(*invocation_.traceFile);
  }
  std::string error;
  // A bare --simulate's mouse lives with the tool's settings, where the tray program finds it
  // too (whatever --config names).
  if (const auto tool = ToolExecutable(error)) {
    UseDefaultSimulatedMouse(options, DataFilePathsFor(*tool).configBin.parent_path());
  }
  error.clear();
  const bool opened = systemBus_ ? connection_.Open(options, *systemBus_, error)
                                 : connection_.Open(options, &OpenSystemHidBus, error);
  if (!opened) {
    err_ << "q8ctl: " << error << '\n';
    return Outcome::kBadInput;
  }
  if (!FindMouse(connection_.Bus(), messages_, connection_.Link())) {
    if (messages_.Count() == 0) {
      err_ << "q8ctl: " << TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN) << '\n';
    }
    return Outcome::kNotFound;
  }
  if (holdForWrite) {
    hold_.emplace(Ports().shortChannel);
  }
  const WholeOperation read(connection_, messages_,
                            TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN));
  ReadFoundMouse(read.Ports(), device_);  // what start-up does when the mouse is found
  if (read.Complaints() > 0) {
    return Outcome::kNotAnswering;  // the message said so
  }
  if (read.RefusedReports() > 0) {
    err_ << "q8ctl: the mouse stopped answering while it was read (" << read.RefusedReports()
         << " feature reports failed); what came back is not its memory\n";
    return Outcome::kNotAnswering;
  }
  return Outcome::kReady;
}

ProtocolPorts MouseSession::Ports() {
  return connection_.Ports(messages_, TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN));
}

bool MouseSession::StateSaved() {
  if (const auto error = connection_.StateSaveError()) {
    err_ << "q8ctl: " << *error << '\n';
    return false;
  }
  return true;
}

bool MouseSession::TraceWritten() {
  if (const auto error = connection_.TraceError()) {
    err_ << "q8ctl: " << *error << '\n';
    return false;
  }
  return true;
}

}  // namespace q8
