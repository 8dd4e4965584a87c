#pragma once

#include <string_view>

#include "device/feature_channel.h"
#include "model/device_image.h"
#include "settings/message_sink.h"

namespace q8 {

// What the three device operations talk through.
struct ProtocolPorts {
  FeatureChannel& shortChannel;  // 8-byte command reports
  FeatureChannel& pageChannel;   // 65-byte page reports
  Sleeper& sleeper;
  MessageSink& messages;
  // The text shown when the mouse does not answer: MsgMouseNotDetected of the current language.
  std::string_view mouseNotDetectedText;
};

// The protocol delays, in milliseconds.
inline constexpr unsigned kPageTransferDelayMs = 100;
inline constexpr unsigned kStatusSetDelayMs = 20;

// None of the operations returns a result: a reply that fails its check is reported to the user
// (caption: the operation's name) and the operation ends with `state` as it was. Each holds the
// short channel's lock from its first report to its last (FeatureChannel::Lock).

// Queries the status and stores both status bytes.
void GetDPIStage(const ProtocolPorts& ports, DeviceState& state);

// Queries the status, then reads pages 1 to 5 into the image, 100 ms after each page.
void ReadOperation(const ProtocolPorts& ports, DeviceState& state);

// Checks that the mouse answers, sets its status from `state.status`, waits 20 ms, then writes
// pages 5 down to 1 from the image, 100 ms after each page.
void WriteOperation(const ProtocolPorts& ports, const DeviceState& state);

}  // namespace q8
