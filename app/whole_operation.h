#pragma once

#include <string_view>

#include "app/mouse_connection.h"
#include "device/device_operations.h"
#include "settings/message_sink.h"

namespace q8 {

// Passes messages on and counts them.
class CountingMessageSink final : public MessageSink {
 public:
  explicit CountingMessageSink(MessageSink& inner) : inner_(inner) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    ++count_;
    inner_.ShowMessage(text, caption);
  }
  int Count() const { return count_; }

 private:
  MessageSink& inner_;
  int count_ = 0;
};

// Whether a run of device operations on the mouse was whole: no operation complained (their
// messages pass through here and are counted) and the system refused none of the mouse's reports
// (the connection counts them). The device operations judge the mouse by its answers alone, so a
// mouse that went away after answering the status check would pass for one that took every page;
// the refused reports tell the two apart. The one measure every reader and writer of the mouse
// uses, the tray programs' and q8ctl's alike.
//
// Files saved along the way report through their own sink, not through Ports(): a config.bin that
// cannot be saved says nothing about the mouse.
class WholeOperation {
 public:
  WholeOperation(MouseConnection& mouse, MessageSink& messages, std::string_view notDetectedText)
      : mouse_(mouse),
        counted_(messages),
        refusedBefore_(mouse.FailedReports()),
        ports_(mouse.Ports(counted_, notDetectedText)) {}
  WholeOperation(const WholeOperation&) = delete;
  WholeOperation& operator=(const WholeOperation&) = delete;

  const ProtocolPorts& Ports() const { return ports_; }
  // The messages of the device operations so far.
  int Complaints() const { return counted_.Count(); }
  // The reports the system refused so far.
  int RefusedReports() const { return mouse_.FailedReports() - refusedBefore_; }
  bool Whole() const { return Complaints() == 0 && RefusedReports() == 0; }

 private:
  MouseConnection& mouse_;
  CountingMessageSink counted_;
  int refusedBefore_;
  ProtocolPorts ports_;
};

// Holds the mouse against every other program for its lifetime, around device operations that each
// take it themselves (the connection's channels count the nesting).
class MouseHold {
 public:
  explicit MouseHold(FeatureChannel& shortChannel) : channel_(shortChannel) { channel_.Lock(); }
  ~MouseHold() { channel_.Unlock(); }
  MouseHold(const MouseHold&) = delete;
  MouseHold& operator=(const MouseHold&) = delete;

 private:
  FeatureChannel& channel_;
};

}  // namespace q8
