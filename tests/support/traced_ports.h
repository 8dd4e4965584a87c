#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "device/device_operations.h"
#include "device/wire_trace.h"

namespace q8::test {

// Channels and a sleeper wrapped in the wire trace, with the trace kept in memory.
class TracedPorts {
 public:
  TracedPorts(FeatureChannel& shortChannel, FeatureChannel& pageChannel, Sleeper& sleeper)
      : shortChannel_(shortChannel, trace_, "short"),
        pageChannel_(pageChannel, trace_, "page"),
        sleeper_(sleeper, trace_) {}

  ProtocolPorts Ports(MessageSink& messages) {
    return {shortChannel_, pageChannel_, sleeper_, messages, "not detected"};
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }

  // Each line without its bytes: "set short", "get page", "wait 100".
  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const std::string& line : Lines()) {
      events.push_back(line.starts_with("wait") ? line : line.substr(0, line.find(' ', 4)));
    }
    return events;
  }

 private:
  std::ostringstream out_;
  WireTrace trace_{out_};
  TracingChannel shortChannel_;
  TracingChannel pageChannel_;
  TracingSleeper sleeper_;
};

}  // namespace q8::test
