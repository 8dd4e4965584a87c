#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/mouse_connection.h"
#include "app/whole_operation.h"
#include "device/device_operations.h"
#include "model/device_image.h"
#include "settings/config_file.h"
#include "settings/profile_file.h"
#include "settings/str_ini.h"

namespace q8 {

// Sends the settings to the mouse and saves them: the one path by which settings reach the mouse
// and the disk, used by OK and Apply of the tray program, profile loads and q8ctl.
//
//   1. constant tables into the memory image
//   2. GetDPIStage: refresh both status bytes from the mouse
//   3. the report-rate status byte := ReportRateCode (the DPI stage keeps what was just read)
//   4. the rest of the settings into the memory image
//   5. WriteOperation: status, then pages 5 to 1
//   6. config.bin saved (flag 1 and the record), its problem told through `fileMessages`
//   7. `saveButtonCaptions`, when given (the tray program's captions in str.ini)
//
// Every step runs whatever the outcome of the one before: a mouse that does not answer produces
// the message of GetDPIStage and then that of WriteOperation, and the settings are still saved.
// Copying the record into the backup is the caller's business (OK and Apply do it afterwards).
// Returns whether config.bin was saved.
bool ApplySettings(const ProtocolPorts& ports, DeviceState& device, const SettingsRecord& settings,
                   const std::filesystem::path& configBin, MessageSink& fileMessages,
                   const std::function<void()>& saveButtonCaptions = {});
// The same with the save's problem told with the device operations' messages.
inline bool ApplySettings(const ProtocolPorts& ports, DeviceState& device,
                          const SettingsRecord& settings, const std::filesystem::path& configBin,
                          const std::function<void()>& saveButtonCaptions = {}) {
  return ApplySettings(ports, device, settings, configBin, ports.messages, saveButtonCaptions);
}

// What a write of the settings achieved. The mouse and the files are separate outcomes: a mouse
// written whole holds the settings even when a file could not be saved, and a file saved says
// nothing about the mouse.
struct WriteOutcome {
  bool mouseWhole = false;    // see WholeOperation
  bool configSaved = false;   // config.bin
  bool captionsSaved = true;  // str.ini's captions, where they were written
};

// The files a profile is loaded into: config.bin, and str.ini with the caption section of the
// language the tool runs in.
struct ProfileTargetFiles {
  std::filesystem::path configBin;
  std::filesystem::path strIni;
  std::string captionSection;
};

// Loads a profile, for the tray programs and q8ctl alike: its record into `settings` and its
// captions into `captions`, then everything ApplySettings does and the captions into str.ini.
// The mouse is held from the first report to the last save, so that another program's load
// cannot leave the mouse holding one profile and the files another. The device operations'
// problems are told through `messages`, the files' through `fileMessages`.
WriteOutcome LoadProfileIntoMouse(MouseConnection& mouse, MessageSink& messages,
                                  MessageSink& fileMessages, std::string_view mouseNotDetectedText,
                                  DeviceState& device, SettingsRecord& settings,
                                  ButtonCaptions& captions, const Profile& profile,
                                  const ProfileTargetFiles& files);

}  // namespace q8
