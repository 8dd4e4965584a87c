#pragma once

#include <string_view>

namespace q8 {

// Caption of the messages that belong to the application rather than to one device operation.
inline constexpr std::string_view kApplicationName = "TarnixMouseApp";

// A message the user must acknowledge (text and caption, one OK button). The Windows program
// shows a message box; the command-line tool prints it; tests record it.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

}  // namespace q8
