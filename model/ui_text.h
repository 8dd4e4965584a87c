#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace q8 {

// The language of every text the tool shows, fixed at start-up by the language code of str.ini.
enum class UiLanguage { CHS, CHT, EN };

// "CHS" and "CHT" (the whole code, in exactly this case) select the Chinese texts; every other
// code, an empty one included, selects English.
UiLanguage SelectLanguage(std::string_view languageCode);

// The keys of the UiTextTable, in the table's order.
enum class UiTextKey : std::size_t {
  // Captions of the main window.
  BasicSettings,
  KeySetting,
  ReportRateSetting,
  DpiSetting,
  DpiEffect,
  Mode,
  Parameter,
  Effect,
  Ok,
  Apply,
  Cancel,
  RestoreKeys,
  WebLink,
  // Names of key functions and the related warning.
  FnLeftClick,
  FnRightClick,
  FnMidClick,
  FnForward,
  FnBackward,
  FnDpiSwitch,
  FnShift,
  FnWindows,
  FnMultimedia,
  FnHotKey,
  FnFireKey,
  FnSingleKey,
  FnSnipeKey,
  FnKeyOff,
  MsgLeftKeyRequired,
  // Names of lighting modes.
  DpiEffectOff,
  DpiEffectStandard,
  DpiEffectRespiration,
  DpiEffectNeon,
  RgbNonDisplay,
  RgbEffect,
  RgbFlash,
  RgbFixedOn,
  // Tray notifications of a change the mouse reports.
  NotifyRate1000,
  NotifyRate500,
  NotifyRate250,
  NotifyRate125,
  NotifyDpiStage1,
  NotifyDpiStage2,
  NotifyDpiStage3,
  NotifyDpiStage4,
  NotifyDpiStage5,
  NotifyDpiStage6,
  NotifyDpiStage7,
  NotifyDpiStage8,
  NotifyKeyGroup1,
  NotifyKeyGroup2,
  NotifyMacro,
  // Tray menu and device messages.
  MenuExit,
  MsgMouseNotDetected,
  MsgMouseDetected,
  // The section of str.ini that holds this language's button captions.
  StrIniSection,
  // Profiles: the tray menu's submenu and the balloon of a switch (followed by the name).
  MenuProfiles,
  NotifyProfile,
  // The balloon of a load that failed or was refused (followed by the name), and the one that
  // says the rules switch nothing until the mouse is read whole.
  NotifyProfileNotLoaded,
  NotifyProfilesHalted,
  // Why nothing was written: the mouse's memory was not read whole (a box after OK or Apply, the
  // problem of a profile chosen from the menu).
  MsgMouseNotReadWhole,
  // The balloon of OK or Apply over a profile whose file another program changed since the page
  // was loaded from it (followed by the name): the file is left as it is.
  NotifyProfileFileChanged,
  // The tray menu's entry that starts the program at log-in (Linux).
  MenuStartAtLogIn,
  // The tray menu's entry that opens the profiles dialog, and the tip's line of the active profile
  // (followed by the name).
  MenuManageProfiles,
  TrayTipProfile,
  // The profiles dialog: its captions and buttons, and its questions and hints ("{}" stands for a
  // profile's name).
  ProfilesRules,
  ProfilesName,
  ProfilesSaveAs,
  ProfilesRename,
  ProfilesDelete,
  ProfilesImport,
  ProfilesExport,
  ProfilesProgram,
  ProfilesBrowse,
  ProfilesSetRule,
  ProfilesRemoveRule,
  ProfilesDefault,
  ProfilesNone,
  ProfilesActive,
  ProfilesActiveMark,
  ProfilesClose,
  ProfilesAskReplace,
  ProfilesAskDelete,
  ProfilesChooseProfile,
  ProfilesChooseProgram,
  ProfilesChooseRule,
  ProfilesFileKind,
  ProfilesProgramKind,
};

inline constexpr std::size_t kUiTextCount = 87;

// The text of `key` in `language`, straight from the table; for code that runs before or without
// a main window (the device operations take MsgMouseNotDetected this way).
std::string_view TextFor(UiTextKey key, UiLanguage language);

// The main window's texts in the language chosen at start-up: empty until filled, then one string
// per key, owned here.
class UiTextTable {
 public:
  // Sets every entry to its text in `language`, so that none keeps a text of another language.
  void FillTextTable(UiLanguage language);
  const std::string& Text(UiTextKey key) const { return texts_[static_cast<std::size_t>(key)]; }

 private:
  std::array<std::string, kUiTextCount> texts_;
};

}  // namespace q8
