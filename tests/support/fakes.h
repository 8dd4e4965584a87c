#pragma once

#include <string>
#include <vector>

#include "device/feature_channel.h"
#include "settings/message_sink.h"

namespace q8::test {

struct Message {
  std::string text;
  std::string caption;
  friend bool operator==(const Message&, const Message&) = default;
};

class RecordingMessageSink final : public MessageSink {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  std::vector<Message> messages;
};

// For benchmarks: messages and delays that cost nothing.
class SilentMessageSink final : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view) override {}
};

class NoSleeper final : public Sleeper {
 public:
  void SleepMs(unsigned) override {}
};

class RecordingSleeper final : public Sleeper {
 public:
  void SleepMs(unsigned milliseconds) override { delays.push_back(milliseconds); }
  std::vector<unsigned> delays;
};

}  // namespace q8::test
