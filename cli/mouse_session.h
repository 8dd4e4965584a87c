#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/mouse_connection.h"
#include "app/whole_operation.h"
#include "cli/invocation.h"
#include "device/device_operations.h"
#include "device/find_mouse.h"

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

// The mouse as q8ctl talks to it: the tray programs' connection (the simulated mouse or the
// system's HID bus, every report counted and optionally traced), found through the real search and
// read once as start-up reads it.
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
  // is not answering. With `holdForWrite`, the mouse is held against every other program from
  // before the read until the session ends: a command that reads config.bin, writes the mouse and
  // saves the files is then never interleaved with another program's load.
  Outcome Open(bool holdForWrite = false);
  // Lets the mouse go before the session ends: the tray program, told of a change, may then read
  // or write the mouse at once, instead of waiting for a hold that waits for its answer.
  void LetGo() { hold_.reset(); }

  ProtocolPorts Ports();
  MouseConnection& Connection() { return connection_; }
  DeviceState& Device() { return device_; }
  const MouseLink& Link() const { return connection_.Link(); }
  // The feature reports the system refused so far, on both channels.
  int FailedReports() const { return connection_.FailedReports(); }
  // Whether the simulated mouse could keep its state file up to date; says so on `err` if not.
  bool StateSaved();
  // Whether every line of the trace was written; says so on `err` if not.
  bool TraceWritten();

 private:
  const Invocation& invocation_;
  HidBus* systemBus_;
  StreamMessageSink& messages_;
  std::ostream& err_;
  MouseConnection connection_;
  DeviceState device_;
  // Let go before the connection closes.
  std::optional<MouseHold> hold_;
};

}  // namespace q8
