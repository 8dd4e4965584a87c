#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/main_window_host.h"
#include "app/mouse_connection.h"
#include "app/profile_manager.h"
#include "app/profile_store.h"
#include "app/profile_switcher.h"
#include "app/settings_keeper.h"
#include "app/tray_menu.h"
#include "app/window_canvas.h"
#include "device/device_change.h"
#include "dialogs/profiles_dialog_runner.h"
#include "dialogs/skin_chooser_port.h"
#include "model/app_state.h"
#include "model/ui_text.h"
#include "pages/main_page_operations.h"
#include "ui/image_decoder.h"
#include "ui/main_window_controls.h"
#include "ui/skin_painter.h"
#include "ui/skinned_window.h"

namespace q8 {

// The messages of the tray icon the main window reacts to.
inline constexpr unsigned kTrayLeftButtonUp = 0x202;
inline constexpr unsigned kTrayLeftDoubleClick = 0x203;
inline constexpr unsigned kTrayRightButtonUp = 0x205;

// Keys that hide the main window instead of ending it.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

// The status notification q8ctl sends after it loaded a profile into config.bin, str.ini and the
// mouse: the settings on disk are newer than the page's (value: 0).
inline constexpr int kStatusProfileLoaded = 20;
// The status notification q8ctl sends after it changed the profile folder, leaving config.bin,
// str.ini and the mouse as they were: the page's profile may have another name now, or none. Its
// value says whether the rules may give the program in front another profile now.
inline constexpr int kStatusProfilesEdited = 21;
inline constexpr std::intptr_t kProfilesRenamedOrRulesChanged = 0;  // rename, delete, rule, default
inline constexpr std::intptr_t kProfileSaved = 1;  // save, import: the rules give what they gave

inline constexpr std::string_view kTrayTip = "Tarnix Q8 Gaming Mouse 1.0";
inline constexpr std::string_view kMsgDeviceNotificationFailed =
    "RegisterDeviceNotification failed!!!";

// The main window: its start-up, tray icon, status notifications, click dispatch, apply, hover and
// the device changes it hears of. It acts only through its host; the shell forwards the window's
// messages to the On... handlers. The settings page plugs in through MainPageOperations.
class CKeldraDlg final : private DeviceChangeHost, private SettingsKeeperWindow {
 public:
  // `mouse` has its bus open already.
  CKeldraDlg(AppState& state, MainWindowHost& host, MouseConnection& mouse, ImageDecoder& decoder);
  CKeldraDlg(const CKeldraDlg&) = delete;
  CKeldraDlg& operator=(const CKeldraDlg&) = delete;

  // The settings page; without one the page areas are inactive. Set before OnInitDialog.
  void SetPage(MainPageOperations* page) { page_ = page; }
  // The skin chooser; without one its area does nothing.
  void SetSkinChooser(SkinChooserPort* chooser) { skinChooser_ = chooser; }
  // The profiles dialog; without one the tray menu does not offer it.
  void SetProfilesDialog(ProfilesDialogPort* dialog) { profilesDialog_ = dialog; }
  // The entry that starts the program at log-in, offered in the tray menu; none: not offered.
  void SetAutostartEntry(const AutostartEntry* entry) { trayMenu_.SetAutostartEntry(entry); }

  // --- Window messages --------------------------------------------------------------------------
  // The main window's initialisation. False when it stopped early (another copy runs, which ends
  // the process, or the device notifications were refused).
  bool OnInitDialog();
  // A non-client paint request: true when it hid the window instead (the first two of them).
  bool OnNcPaint();
  void OnEraseBackground() { window_.ShowCanvas(); }
  void OnLButtonDown(Point point);
  void OnMouseMove(Point point) { controls_.OnMouseMove(point); }
  void OnMouseHover(Point point) { controls_.OnMouseHover(point); }
  void OnMouseLeave() { controls_.OnMouseLeave(); }
  // Every mouse move the window's loop handles, over the window or its child controls.
  void OnPointerMove(Point point) {
    if (MainPageOperations* page = BuiltPage())
      page->OnPointerMove(point);
  }
  void OnMouseWheel(int delta) {
    if (MainPageOperations* page = BuiltPage())
      page->OnMouseWheel(delta);
  }
  // A key-down before dispatch: true when consumed (Enter and Escape hide the window).
  bool OnKeyDown(int virtualKey);
  // Closing the window hides it; without a notification area it ends the program.
  void OnClose();
  void OnDestroy();
  void OnCommand(int command);
  void OnTrayCallback(unsigned mouseMessage);
  // The status notification: always answered 0 by the shell.
  void OnStatusNotify(std::uintptr_t type, std::intptr_t value);
  // The shell was restarted and has forgotten every tray icon.
  void OnTaskbarCreated() { host_.AddTrayIcon(TrayTip()); }
  // The window moved to a display of another scale: its fonts, canvas and page are made again.
  void OnDisplayScaleChanged();
  void OnDeviceChange(std::uint32_t eventCode, std::uint32_t recordType,
                      std::string_view interfacePath) {
    deviceChanges_.OnDeviceChange(eventCode, recordType, interfacePath);
  }
  void OnListNotification(ControlId list, ListEvent event) {
    if (MainPageOperations* page = BuiltPage())
      page->OnListNotification(list, event);
  }
  ControlColors ControlColor(ControlId control) const;
  // A program came to the front: `program` is its executable's file name (empty: no program, as on
  // the bare desktop), `thisProgram` whether it is this tool (its own window changes nothing),
  // `windowsProgram` whether it is a Windows program run by Wine (named regardless of letter
  // case). The profile switcher decides what to load.
  void OnForegroundProgram(std::string_view program, bool thisProgram = false,
                           bool windowsProgram = false);
  // The profile the mouse holds whole, as this program loaded it (from the menu or by a rule).
  const std::optional<std::string>& ActiveProfile() const { return keeper_.ActiveProfile(); }

  // --- What the page and the dialogs draw with -------------------------------------------------
  AppState& State() { return state_; }
  MainWindowHost& Host() { return host_; }
  SkinnedWindow& Window() { return window_; }
  const SkinPainter& Painter() const { return painter_; }
  MainWindowControls& Controls() { return controls_; }
  MainWindowCaptions& Captions() { return captions_; }
  const UiTextTable& Texts() const { return texts_; }
  ImageDecoder& Decoder() { return decoder_; }
  // The handler of device changes, for shells whose system tells of them in other ways.
  DeviceChangeHandler& DeviceChanges() { return deviceChanges_; }

 private:
  // DeviceChangeHost
  void AnnounceStatus(int type) override { OnStatusNotify(static_cast<std::uintptr_t>(type), 0); }
  // Called when the mouse is gone: it is absent before the hidden window lets a switch go.
  void HideMainWindow() override {
    state_.devicePresent = false;
    Conceal();
  }
  void ReadMouse() override { keeper_.ReadMouse(); }
  void SetDevicePresent(bool present) override { state_.devicePresent = present; }

  // SettingsKeeperWindow
  std::string_view Text(UiTextKey key) override;
  void PageChanged() override;
  bool UnappliedEditsShown() override;
  void ActiveProfileChanged() override { host_.SetTrayTip(TrayTip()); }

  // The tray icon's tip: the tool, and on a second line the active profile.
  std::string TrayTip() {
    return TrayTipFor(kTrayTip, Text(UiTextKey::TrayTipProfile), keeper_.ActiveProfile());
  }

  // Hides the window, or minimises it where no tray icon would bring it back.
  void Conceal();
  bool InitialiseSteps();
  void SetUpPresentation();
  void FillTexts();
  void ReportIniWriteError(std::error_code error);
  // At start-up str.ini also gives the skin and its caption colour; a show after Cancel takes
  // only the captions back from it.
  enum class IniReading { kEverything, kCaptionsOnly };
  void ReadStrIni(IniReading reading);
  void LoadSkin();
  // Makes a built page again from the state, as a change behind the window's back needs.
  void RebuildPage();
  void ShowFromTray();
  bool DispatchCommandArea(Point point);
  // A press on the built page: lists outside it closed, then the page's area under it; false when
  // no area took it.
  bool DispatchToPage(Point point);
  void RunSkinChooser();
  void ExitProcess();
  void ShowWindow();
  // The page when it is built, or nothing.
  MainPageOperations* BuiltPage();

  AppState& state_;
  MainWindowHost& host_;
  MouseConnection& mouse_;
  ImageDecoder& decoder_;
  MainPageOperations* page_ = nullptr;
  SkinChooserPort* skinChooser_ = nullptr;
  ProfilesDialogPort* profilesDialog_ = nullptr;

  UiTextTable texts_;
  bool textsFilled_ = false;
  MainWindowCaptions captions_;
  SkinnedWindow window_;
  // Keeps what it decodes only until the drawing that needed it is done (a page drawing, a
  // click's, the show's): the page art is as large as the window, and the small images hover
  // draws are decoded again in a fraction of a millisecond.
  SkinPainter painter_;
  MainWindowControls controls_;
  WindowCanvas canvas_;
  DeviceChangeHandler deviceChanges_;
  // The first two non-client paint requests hide the window: start-up ends in the tray.
  int paintsToHide_ = 2;
  bool windowShown_ = false;
  // The initialisation has ended, with the window's skin and page set up.
  bool startedUp_ = false;
  bool managing_ = false;  // the profiles dialog is open
  TrayMenuOffer trayMenu_;
  SettingsKeeper keeper_{state_, host_, mouse_, deviceChanges_, *this};
  ProfileManager profiles_{state_, keeper_};
};

}  // namespace q8
