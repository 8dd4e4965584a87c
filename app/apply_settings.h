#pragma once

#include <filesystem>
#include <functional>

#include "device/device_operations.h"
#include "model/device_image.h"
#include "settings/config_file.h"

namespace q8 {

// Sends the settings to the mouse and saves them: the one path by which settings reach the mouse
// and the disk, used by OK and Apply of the tray program and by q8ctl.
//
//   1. constant tables into the memory image
//   2. GetDPIStage: refresh both status bytes from the mouse
//   3. the report-rate status byte := ReportRateCode (the DPI stage keeps what was just read)
//   4. the rest of the settings into the memory image
//   5. WriteOperation: status, then pages 5 to 1
//   6. config.bin saved (flag 1 and the record)
//   7. `saveButtonCaptions`, when given (the tray program's captions in str.ini)
//
// Every step runs whatever the outcome of the one before: a mouse that does not answer produces
// the message of GetDPIStage and then that of WriteOperation, and the settings are still saved.
// Copying the record into the backup is the caller's business (OK and Apply do it afterwards).
void ApplySettings(const ProtocolPorts& ports, DeviceState& device, const SettingsRecord& settings,
                   const std::filesystem::path& configBin,
                   const std::function<void()>& saveButtonCaptions = {});

}  // namespace q8
