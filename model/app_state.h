#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "model/device_image.h"
#include "model/rgb.h"
#include "model/ui_text.h"
#include "settings/config_file.h"
#include "settings/str_ini.h"

namespace q8 {

// Everything the tool keeps for the whole process: the settings, what it knows of the mouse, the
// flags every window reads, the language and the active skin. The application object owns the
// one instance; tests make their own. Windows and pages write it in place.
struct AppState {
  // The running executable; the data files and the skins live beside it.
  std::filesystem::path executable;
  // config.bin and str.ini, formed from the executable's path at start-up.
  DataFilePaths files;

  // DeviceConfig, DeviceConfigBackup and the first-run flag of config.bin.
  SettingsRecord settings;
  // The captions of the key boxes, both key configurations; kept in str.ini.
  ButtonCaptions captions;

  // DeviceStatus, DeviceImage and ScrambleEnabled.
  DeviceState device;
  // Byte 1 of device page 4: which DPI level table the pages and the snipe dialog use.
  std::uint8_t sensorVariant = 0;
  // Both channels of the mouse are open.
  bool devicePresent = false;
  // Set by Cancel: the next show from the tray rebuilds the page from str.ini.
  bool reloadOnShow = false;
  // Set when another program wrote config.bin and str.ini (a profile loaded by q8ctl): the next
  // show from the tray reads both again and rebuilds the page.
  bool settingsNewerOnDisk = false;
  // Set by the first build of the main page, never cleared.
  bool pagesBuiltOnce = false;

  // The language code of str.ini and the language it selects, fixed at start-up.
  std::string languageCode;
  UiLanguage language = UiLanguage::EN;

  // The active skin: its folder (no trailing separator), name and caption colour.
  std::string skinDirectory;
  std::string skinName;
  Rgb skinTextColor = kInitialSkinTextColor;
};

}  // namespace q8
