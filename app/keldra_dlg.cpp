#include "app/keldra_dlg.h"

#include <utility>

#include "app/apply_settings.h"
#include "app/status_balloon.h"
#include "pages/main_page_areas.h"
#include "settings/utf8_path.h"
#include "ui/language_fonts.h"
#include "ui/skin_directory.h"
#include "ui/skin_images.h"

namespace q8 {
namespace {

// The web link's area, in client pixels; the command buttons' are theirs (MainWindowControls).
constexpr Rect kWebLinkArea{263, 627, 439, 647};

}  // namespace

CKeldraDlg::CKeldraDlg(AppState& state, MainWindowHost& host, MouseConnection& mouse,
                       ImageDecoder& decoder)
    : state_(state),
      host_(host),
      mouse_(mouse),
      decoder_(decoder),
      window_(host),
      painter_(state.skinDirectory, state.skinTextColor, decoder, host.Text(), nullptr),
      controls_(window_, painter_, captions_),
      canvas_(window_, painter_, decoder),
      deviceChanges_(mouse.Bus(), host, mouse.Link(), *this) {}

// --- Start-up ------------------------------------------------------------------------------------

bool CKeldraDlg::OnInitDialog() {
  if (!host_.ClaimSingleInstance()) {
    host_.EndProcess(0);  // another copy runs: leave it as it is, say nothing
    return false;
  }
  const bool initialised = InitialiseSteps();
  startedUp_ = initialised;
  if (!host_.HasNotificationArea()) {
    // Nothing would bring a hidden window back: the program starts shown instead.
    paintsToHide_ = 0;
    ShowWindow();
  }
  return initialised;
}

bool CKeldraDlg::InitialiseSteps() {
  host_.SetUpWindowStyle();
  host_.AddTrayIcon(kTrayTip);
  state_.files = DataFilePathsFor(state_.executable);
  DiscoverMouseAtStartup(mouse_.Bus(), host_, mouse_.Link(), *this);
  if (!host_.RegisterDeviceNotifications()) {
    host_.ShowMessage(kMsgDeviceNotificationFailed, kApplicationName);
    return false;
  }
  LoadConfigFile(state_.files.configBin, state_.settings, host_);
  state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  SetUpPresentation();
  return true;
}

void CKeldraDlg::FillTexts() {
  state_.languageCode = ReadLanguageCode(state_.files.strIni);
  state_.language = SelectLanguage(state_.languageCode);
  texts_.FillTextTable(state_.language);
  textsFilled_ = true;
  captions_.ok = Text(UiTextKey::Ok);
  captions_.apply = Text(UiTextKey::Apply);
  captions_.cancel = Text(UiTextKey::Cancel);
  captions_.restoreKeys = Text(UiTextKey::RestoreKeys);
}

std::string_view CKeldraDlg::Text(UiTextKey key) {
  if (!textsFilled_) {
    // A message or balloon of the device search comes before the presentation set-up: it speaks
    // the language of str.ini already rather than show an empty text.
    FillTexts();
  }
  return texts_.Text(key);
}

void CKeldraDlg::SetUpPresentation() {
  FillTexts();
  ReadStrIni(IniReading::kEverything);
  LoadSkin();
  if (host_.HasNotificationArea()) {
    // Start-up ends hidden in the tray (the first non-client paints): nothing drawn now would be
    // seen. The canvas goes at once, and the first show makes it again and draws the page.
    canvas_.Release();
  }
  host_.SetFonts(CreateLanguageFonts(state_.language, host_.PlatformVersion()));
  if (state_.devicePresent && page_ != nullptr) {
    page_->Build();
    painter_.ReleaseImages();
  }
}

void CKeldraDlg::ReadStrIni(IniReading reading) {
  const StrIniSettings ini =
      ReadStrIniSettings(state_.files.strIni, Text(UiTextKey::StrIniSection));
  state_.captions = ini.captions;
  if (reading == IniReading::kCaptionsOnly) {
    // The skin and its caption colour change only through the skin chooser: an edit of str.ini
    // while the program runs must not repaint the captions over the skin on screen.
    return;
  }
  state_.skinName = ini.skinName;
  state_.skinTextColor =
      Rgb{ColorByte(ini.redText), ColorByte(ini.greenText), ColorByte(ini.blueText)};
}

void CKeldraDlg::LoadSkin() {
  state_.skinDirectory =
      SkinDirectory(ExecutableDirectory(Utf8Of(state_.executable)), state_.skinName);
  canvas_.MakeFrom(SkinImagePath(state_.skinDirectory, skin_image::kMain));
}

void CKeldraDlg::OnDisplayScaleChanged() {
  host_.SetFonts(CreateLanguageFonts(state_.language, host_.PlatformVersion()));
  // Hidden, the canvas is made at the show, at the scale of then; the page is made again now in
  // either case, for its controls take the new fonts.
  const bool hidden = canvas_.Released();
  if (!hidden) {
    canvas_.MakeAgain();
  }
  if (BuiltPage() != nullptr) {
    RebuildPage();
  } else if (!hidden) {
    window_.ShowCanvas();
  }
}

bool CKeldraDlg::OnNcPaint() {
  if (paintsToHide_ <= 0) {
    return false;
  }
  --paintsToHide_;
  windowShown_ = false;
  host_.HideWindow();
  // A program waiting in the tray keeps no picture of its window and no decoded images.
  canvas_.Release();
  return true;
}

void CKeldraDlg::PageChanged() {
  if (BuiltPage() == nullptr && page_ != nullptr && startedUp_ &&
      (windowShown_ || !host_.HasNotificationArea())) {
    // Shown (or minimised) without a notification area, the mouse absent at start-up: no tray
    // click will come to build the page the mouse now allows.
    page_->Build();
    painter_.ReleaseImages();
    return;
  }
  RebuildPage();
}

void CKeldraDlg::RebuildPage() {
  if (BuiltPage() == nullptr) {
    return;
  }
  page_->TearDown();
  page_->Build();
  painter_.ReleaseImages();
}

// --- The mouse -----------------------------------------------------------------------------------

void CKeldraDlg::ReportIniWriteError(std::error_code error) {
  if (error) {
    host_.ShowMessage(std::string(kIniFileName) + " cannot be written: " + error.message(),
                      kApplicationName);
  }
}

// --- Tray icon and status notifications ----------------------------------------------------------

void CKeldraDlg::OnTrayCallback(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kTrayLeftButtonUp:
    case kTrayLeftDoubleClick:
      if (!startedUp_) {
        // A box of the start-up is open: the window has no skin or page yet to show. The menu,
        // and its Exit, stay within reach.
        break;
      }
      if (state_.devicePresent) {
        ShowFromTray();
      } else {
        OnStatusNotify(kStatusMouseLost, 0);
      }
      break;
    case kTrayRightButtonUp:
      // The check mark names the profile the mouse holds, as its keeper knows it.
      trayMenu_.Show(host_,
                     {Text(UiTextKey::MenuExit), Text(UiTextKey::MenuProfiles),
                      Text(UiTextKey::MenuStartAtLogIn),
                      profilesDialog_ ? Text(UiTextKey::MenuManageProfiles) : std::string_view()},
                     keeper_.Profiles().List(), keeper_.ActiveProfile());
      break;
    default:
      break;
  }
}

void CKeldraDlg::ShowFromTray() {
  if (state_.settingsNewerOnDisk) {
    // A profile was loaded behind the window's back: the page shows what the files now hold,
    // and Cancel returns to it.
    keeper_.TakeFilesIntoPage();
    RebuildPage();
  } else if (state_.reloadOnShow) {
    // Cancel dropped the edits of the record; the captions go back to what str.ini holds.
    state_.reloadOnShow = false;
    ReadStrIni(IniReading::kCaptionsOnly);
    RebuildPage();
  }
  if (!state_.pagesBuiltOnce && page_ != nullptr) {
    page_->Build();
  }
  host_.BringToForeground();
  ShowWindow();
}

void CKeldraDlg::OnStatusNotify(std::uintptr_t type, std::intptr_t value) {
  if (type == kStatusProfileLoaded) {
    // Read again at the next show; nothing to show now. Which profile the files hold is not
    // known, so the rules may load any profile again.
    keeper_.OnLoadedElsewhere();
    return;
  }
  if (type == kStatusProfilesEdited) {
    keeper_.OnProfilesEdited(/*rulesMayHaveChanged=*/value != kProfileSaved);
    return;
  }
  const auto text = [this](UiTextKey key) { return Text(key); };
  if (const auto balloon = StatusBalloonFor(type, value, text, state_)) {
    host_.ShowBalloon({balloon->text, balloon->title, balloon->timeoutMs});
  }
}

void CKeldraDlg::OnCommand(int command) {
  if (command == kCommandExit) {
    ExitProcess();
  } else if (command == kCommandManageProfiles && profilesDialog_ != nullptr && !managing_) {
    managing_ = true;  // chosen again from the tray menu while open, it opens no second one
    profilesDialog_->RunProfilesDialog(profiles_);
    managing_ = false;
  } else if (trayMenu_.TakeCheckCommand(command, host_)) {
    return;
  } else if (auto profile = trayMenu_.ProfileOfCommand(command)) {
    keeper_.ChooseProfile(std::move(*profile));
  }
}

// --- Profiles ------------------------------------------------------------------------------------

void CKeldraDlg::OnForegroundProgram(std::string_view program, bool thisProgram,
                                     bool windowsProgram) {
  if (thisProgram) {
    return;  // the settings window in front: the profile of the program before stays
  }
  keeper_.OnProgramInFront(program.empty() ? std::nullopt
                                           : std::optional<ProgramInFront>(ProgramInFront{
                                                 std::string(program), windowsProgram}));
}

bool CKeldraDlg::UnappliedEditsShown() {
  return windowShown_ && state_.settings.deviceConfig != state_.settings.deviceConfigBackup;
}

// --- Ending --------------------------------------------------------------------------------------

void CKeldraDlg::ExitProcess() {
  // Pending edits are not saved.
  OnDestroy();
  host_.EndProcess(0);
}

void CKeldraDlg::Conceal() {
  const bool toTray = host_.HasNotificationArea();
  toTray ? host_.HideWindow() : host_.MinimiseWindow();
  windowShown_ = false;
  keeper_.OnHoldMayHaveEnded();
  // Hidden, the window draws nothing: its decoded images go until it is shown again, and its
  // canvas too where only ShowWindow brings it back (a minimised window comes back by the
  // system's hand, with the picture it had).
  toTray ? canvas_.Release() : painter_.ReleaseImages();
}

void CKeldraDlg::ShowWindow() {
  canvas_.Restore(BuiltPage());
  windowShown_ = true;
  host_.ShowWindow();
}

void CKeldraDlg::OnClose() {
  host_.HasNotificationArea() ? Conceal() : ExitProcess();
}

void CKeldraDlg::OnDestroy() {
  mouse_.Link().Close();
  host_.DeleteTrayIcon();
}

bool CKeldraDlg::OnKeyDown(int virtualKey) {
  if (virtualKey != kKeyEnter && virtualKey != kKeyEscape) {
    return false;
  }
  Conceal();
  return true;
}

// --- Clicks --------------------------------------------------------------------------------------

void CKeldraDlg::OnLButtonDown(Point point) {
  if (!DispatchCommandArea(point) && !DispatchToPage(point)) {
    // No caption bar: a press anywhere else moves the window.
    host_.StartDrag(point);
  }
  // What a click drew (a page, the report rate's ground) may have needed the page art.
  painter_.ReleaseImages();
}

bool CKeldraDlg::DispatchToPage(Point point) {
  if (BuiltPage() == nullptr) {
    return false;
  }
  page_->CloseListsOutside(point);
  return DispatchPageClick(*page_, point);
}

bool CKeldraDlg::DispatchCommandArea(Point point) {
  using Controls = MainWindowControls;
  if (Controls::kOkButton.region.Contains(point) && state_.devicePresent) {
    // A write refused keeps the window and its edits in front of the user.
    if (keeper_.ApplyPage()) {
      Conceal();
    }
  } else if (Controls::kApplyButton.region.Contains(point) && state_.devicePresent) {
    keeper_.ApplyPage();
    keeper_.OnHoldMayHaveEnded();
  } else if (Controls::kSkinsButton.region.Contains(point)) {
    RunSkinChooser();
  } else if (Controls::kMinimiseButton.region.Contains(point)) {
    Conceal();
  } else if (Controls::kCloseButton.region.Contains(point)) {
    ExitProcess();
  } else if (Controls::kPreviousPageButton.region.Contains(point)) {
    if (page_ != nullptr) {
      page_->Build();
    }
  } else if (Controls::kCancelButton.region.Contains(point)) {
    state_.settings.deviceConfig = state_.settings.deviceConfigBackup;
    state_.reloadOnShow = true;
    Conceal();
  } else if (kWebLinkArea.Contains(point)) {
    host_.OpenAddress(Text(UiTextKey::WebLink));
  } else {
    return false;
  }
  return true;
}

void CKeldraDlg::RunSkinChooser() {
  if (skinChooser_ == nullptr) {
    return;
  }
  const std::optional<SkinChoice> choice = skinChooser_->ChooseSkin();
  if (!choice) {
    return;
  }
  state_.skinDirectory = choice->directory;
  state_.skinName = choice->name;
  state_.skinTextColor = choice->textColor;
  const ColorBytes color{choice->textColor.red, choice->textColor.green, choice->textColor.blue};
  ReportIniWriteError(WriteSkin(state_.files.strIni, color, choice->name));
  canvas_.MakeFrom(SkinImagePath(state_.skinDirectory, skin_image::kMain));
  RebuildPage();
  if (BuiltPage() == nullptr) {
    window_.ShowCanvas();  // no page to draw the new skin's background
  }
  host_.BringToForeground();
  ShowWindow();
}

// --- Pointer, wheel and controls of the page -----------------------------------------------------

MainPageOperations* CKeldraDlg::BuiltPage() {
  return page_ != nullptr && page_->IsBuilt() ? page_ : nullptr;
}

ControlColors CKeldraDlg::ControlColor(ControlId control) const {
  const auto colors = page_ != nullptr ? page_->ControlColor(control) : std::nullopt;
  return colors.value_or(ControlColors{});
}

}  // namespace q8
