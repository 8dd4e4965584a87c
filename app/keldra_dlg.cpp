#include "app/keldra_dlg.h"

#include <algorithm>
#include <utility>

#include "app/apply_settings.h"
#include "model/dpi_levels.h"
#include "settings/profile_rules.h"
#include "settings/utf8_path.h"
#include "ui/language_fonts.h"
#include "ui/skin_directory.h"
#include "ui/skin_images.h"

namespace q8 {
namespace {

// The command areas of the main window, in client pixels.
constexpr Rect kOkArea = MainWindowControls::kOkButton.region;
constexpr Rect kApplyArea = MainWindowControls::kApplyButton.region;
constexpr Rect kCancelArea = MainWindowControls::kCancelButton.region;
constexpr Rect kSkinChooserArea = MainWindowControls::kSkinsButton.region;
constexpr Rect kMinimiseArea = MainWindowControls::kMinimiseButton.region;
constexpr Rect kCloseArea = MainWindowControls::kCloseButton.region;
constexpr Rect kPreviousPageArea = MainWindowControls::kPreviousPageButton.region;
constexpr Rect kWebLinkArea{263, 627, 439, 647};

// The page's click areas.
constexpr Rect kModeAArea{253, 518, 358, 539};
constexpr Rect kModeBArea{357, 518, 462, 539};
constexpr Rect kRestoreKeysArea = MainWindowControls::kRestoreKeysButton.region;
constexpr Rect kReportRateAreas[] = {
    {542, 204, 612, 215}, {614, 204, 684, 215}, {686, 204, 756, 215}, {758, 204, 828, 215}};
constexpr int kPageStages = 6;
constexpr Rect StageSwatchArea(int stage) {
  return {548, 323 + 30 * (stage - 1), 564, 339 + 30 * (stage - 1)};
}
constexpr Rect StageValueArea(int stage) {
  return {575, 323 + 30 * (stage - 1), 659, 337 + 30 * (stage - 1)};
}
constexpr Rect kLightingModeArea{768, 331, 851, 345};
constexpr Rect kLightingParamArea{768, 361, 851, 375};
constexpr Rect kLightingEffectArea{768, 391, 851, 405};

// Balloons of the status notifications.
constexpr std::string_view kTitleInfo = "Info";
constexpr std::string_view kTitleWarning = "Warning";
constexpr unsigned kChangeBalloonMs = 5000;
constexpr unsigned kDeviceBalloonMs = 100;

constexpr int kStatusReportRate = 5;
constexpr int kStatusDpiStage = 7;
constexpr int kStatusKeyConfig = 8;
constexpr int kStatusMacro = 9;

// The caption of the device operations' messages about a write.
constexpr std::string_view kWriteOperationName = "WriteOperation";

std::optional<UiTextKey> ReportRateText(std::intptr_t code) {
  switch (code) {
    case 1:
      return UiTextKey::NotifyRate1000;
    case 2:
      return UiTextKey::NotifyRate500;
    case 4:
      return UiTextKey::NotifyRate250;
    case 8:
      return UiTextKey::NotifyRate125;
    default:
      return std::nullopt;
  }
}

UiTextKey Offset(UiTextKey first, std::intptr_t by) {
  return static_cast<UiTextKey>(static_cast<std::size_t>(first) + static_cast<std::size_t>(by));
}

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
  host_.SetFonts(CreateLanguageFonts(state_.language, host_.PlatformVersion()));
  if (state_.devicePresent && page_ != nullptr) {
    page_->Build();
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
  // A skin without its background leaves the window without a canvas; nothing is said.
  canvasBackground_ = SkinImagePath(state_.skinDirectory, skin_image::kMain);
  window_.MakeCanvas(decoder_, canvasBackground_);
}

void CKeldraDlg::OnDisplayScaleChanged() {
  host_.SetFonts(CreateLanguageFonts(state_.language, host_.PlatformVersion()));
  window_.MakeCanvas(decoder_, canvasBackground_);
  if (page_ != nullptr && page_->IsBuilt()) {
    RebuildPage();
  } else {
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
  painter_.ReleaseImages();  // a program waiting in the tray keeps no decoded images
  return true;
}

void CKeldraDlg::RebuildPage() {
  if (page_ == nullptr || !page_->IsBuilt()) {
    return;
  }
  page_->TearDown();
  page_->Build();
  if (!windowShown_) {
    // Made again in the background (a profile switch, the mouse plugged in): the images it was
    // drawn from are not kept for a window nobody sees.
    painter_.ReleaseImages();
  }
}

// --- The mouse -----------------------------------------------------------------------------------

void CKeldraDlg::ReadMouse() {
  bool whole = false;
  {
    const DeviceChangeHandler::OperationScope operation(deviceChanges_);
    host_.SetBusy(true);
    CountingMessageSink messages(host_);
    const int refusedBefore = mouse_.FailedReports();
    state_.sensorVariant =
        ReadFoundMouse(mouse_.Ports(messages, Text(UiTextKey::MsgMouseNotDetected)), state_.device);
    whole = messages.Count() == 0 && mouse_.FailedReports() == refusedBefore;
    host_.SetBusy(false);
  }
  // A mouse plugged in again may carry another sensor, whose DPI levels the page names.
  RebuildPage();
  ReportConnectionProblems();
  // Only a found mouse is read: it is present before the switch the read may let go.
  state_.devicePresent = true;
  switcher_.OnMouseRead(whole);
}

void CKeldraDlg::ApplySettings() {
  if (!mouse_.Link().HasChannels()) {
    return;
  }
  // A mouse unplugged in the middle is noticed once the write has ended (see OperationScope).
  const DeviceChangeHandler::OperationScope operation(deviceChanges_);
  host_.SetBusy(true);
  CountingMessageSink messages(host_);
  const int failedBefore = mouse_.FailedReports();
  const ProtocolPorts ports = mouse_.Ports(messages, Text(UiTextKey::MsgMouseNotDetected));
  q8::ApplySettings(ports, state_.device, state_.settings, state_.files.configBin, [this] {
    const std::error_code error =
        WriteButtonCaptions(state_.files.strIni, Text(UiTextKey::StrIniSection), state_.captions);
    ReportIniWriteError(error);
  });
  host_.SetBusy(false);
  if (messages.Count() == 0 && mouse_.FailedReports() > failedBefore) {
    // The device operations judge the mouse by its answers alone: one that went away after
    // answering the check before the write would pass for one that took every page. The settings
    // are saved; the user is told once that the mouse did not take them.
    host_.ShowMessage(Text(UiTextKey::MsgMouseNotDetected), kWriteOperationName);
  }
  ReportConnectionProblems();
}

void CKeldraDlg::ApplyFromWindow() {
  ApplySettings();
  state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  const auto& active = switcher_.ActiveProfile();
  // What the user applied over a profile belongs to it: the next switch back brings it again. One
  // deleted meanwhile (q8ctl profile delete) stays deleted.
  if (active && Profiles().ProfileNamed(*active) == active) {
    const Profile profile{state_.settings.deviceConfig, std::string(Text(UiTextKey::StrIniSection)),
                          state_.captions};
    if (auto problem = Profiles().Save(*active, profile)) {
      host_.ShowMessage(*problem, kApplicationName);
    } else {
      activeRecord_ = {*active, profile.config};
    }
  }
}

void CKeldraDlg::ReportIniWriteError(std::error_code error) {
  if (error) {
    host_.ShowMessage(std::string(kIniFileName) + " cannot be written: " + error.message(),
                      kApplicationName);
  }
}

void CKeldraDlg::ReportConnectionProblems() {
  for (const auto& problem : {mouse_.TraceError(), mouse_.StateSaveError()}) {
    if (problem && reportedProblems_.insert(*problem).second) {
      host_.ShowMessage(*problem, kApplicationName);
    }
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
    case kTrayRightButtonUp: {
      menuProfiles_ = Profiles().List();
      if (menuProfiles_.size() > kMaxMenuProfiles) {
        menuProfiles_.resize(kMaxMenuProfiles);
      }
      TrayMenu menu{Text(UiTextKey::MenuExit), std::nullopt, std::nullopt};
      if (!menuProfiles_.empty()) {
        menu.profiles = ProfileMenu{Text(UiTextKey::MenuProfiles), menuProfiles_, std::nullopt};
        const auto& activeProfile = switcher_.ActiveProfile();
        const auto active = std::find(menuProfiles_.begin(), menuProfiles_.end(), activeProfile);
        if (activeProfile && active != menuProfiles_.end()) {
          menu.profiles->active = static_cast<std::size_t>(active - menuProfiles_.begin());
        }
      }
      if (autostart_ != nullptr) {
        menu.startAtLogIn = MenuCheckItem{Text(UiTextKey::MenuStartAtLogIn), autostart_->Exists()};
      }
      host_.OpenTrayMenu(menu);
      break;
    }
    default:
      break;
  }
}

void CKeldraDlg::ShowFromTray() {
  if (state_.settingsNewerOnDisk) {
    // A profile was loaded behind the window's back: the page shows what the files now hold,
    // and Cancel returns to it.
    state_.settingsNewerOnDisk = false;
    state_.reloadOnShow = false;
    LoadConfigFile(state_.files.configBin, state_.settings, host_);
    state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
    state_.captions =
        ReadStrIniSettings(state_.files.strIni, Text(UiTextKey::StrIniSection)).captions;
    if (page_ != nullptr && page_->IsBuilt()) {
      page_->TearDown();
      page_->Build();
    } else if (!state_.pagesBuiltOnce && page_ != nullptr) {
      page_->Build();
    }
  } else if (state_.reloadOnShow) {
    state_.reloadOnShow = false;
    if (page_ != nullptr && page_->IsBuilt()) {
      // Cancel dropped the edits of the record; the captions go back to what str.ini holds.
      page_->TearDown();
      ReadStrIni(IniReading::kCaptionsOnly);
      page_->Build();
    }
  } else if (!state_.pagesBuiltOnce && page_ != nullptr) {
    page_->Build();
  }
  host_.BringToForeground();
  ShowWindow();
}

void CKeldraDlg::OnStatusNotify(std::uintptr_t type, std::intptr_t value) {
  std::string text;
  std::string_view title = kTitleInfo;
  unsigned timeout = kChangeBalloonMs;
  switch (type) {
    case kStatusReportRate: {
      const auto key = ReportRateText(value);
      if (!key)
        return;
      text = Text(*key);
      break;
    }
    case kStatusDpiStage: {
      if (value < 1 || value > static_cast<std::intptr_t>(kDpiStageCount))
        return;
      const auto stage = static_cast<std::size_t>(value);
      text = Text(Offset(UiTextKey::NotifyDpiStage1, value - 1));
      text += DpiLevelLabel(state_.sensorVariant,
                            state_.settings.deviceConfig.Stage(field::DpiStageLevel, stage));
      break;
    }
    case kStatusKeyConfig:
      if (value != 1 && value != 2)
        return;
      text = Text(Offset(UiTextKey::NotifyKeyGroup1, value - 1));
      break;
    case kStatusMacro:
      if (value == 0)
        return;
      text = Text(UiTextKey::NotifyMacro);
      text += std::to_string(value);
      break;
    case kStatusMouseFound:
      text = Text(UiTextKey::MsgMouseDetected);
      timeout = kDeviceBalloonMs;
      break;
    case kStatusProfileLoaded:
      // Read again at the next show; nothing to show now. Which profile the files hold is not
      // known, so the rules may load any profile again.
      state_.settingsNewerOnDisk = true;
      switcher_.OnLoadedElsewhere();
      return;
    case kStatusMouseLost:
      text = Text(UiTextKey::MsgMouseNotDetected);
      title = kTitleWarning;
      timeout = kDeviceBalloonMs;
      break;
    default:
      return;
  }
  host_.ShowBalloon({text, title, timeout});
}

void CKeldraDlg::OnCommand(int command) {
  if (command == kCommandExit) {
    ExitProcess();
  } else if (command == kCommandStartAtLogIn && autostart_ != nullptr) {
    ToggleStartAtLogIn();
  } else if (command >= kCommandFirstProfile &&
             static_cast<std::size_t>(command - kCommandFirstProfile) < menuProfiles_.size()) {
    // A copy: a right click while the load's box is open replaces the menu's list.
    switcher_.OnChosenByHand(
        menuProfiles_[static_cast<std::size_t>(command - kCommandFirstProfile)]);
  }
}

void CKeldraDlg::ToggleStartAtLogIn() {
  const auto problem = autostart_->Exists() ? autostart_->Remove() : autostart_->Write();
  if (problem) {
    host_.ShowMessage(*problem, kApplicationName);
  }
}

// --- Profiles ------------------------------------------------------------------------------------

ProfileStore CKeldraDlg::Profiles() const {
  return ProfileStore(ProfileFolderIn(state_.files.configBin.parent_path()));
}

void CKeldraDlg::OnForegroundProgram(std::string_view program, bool thisProgram,
                                     bool windowsProgram) {
  if (thisProgram) {
    return;  // the settings window in front: the profile of the program before stays
  }
  switcher_.OnProgramInFront(program.empty() ? std::nullopt
                                             : std::optional<ProgramInFront>(ProgramInFront{
                                                   std::string(program), windowsProgram}));
}

WriteGate CKeldraDlg::Gate() {
  if (!state_.devicePresent || !mouse_.Link().HasChannels()) {
    return WriteGate::kNoMouse;
  }
  return deviceChanges_.InOperation() ? WriteGate::kBusy : WriteGate::kOpen;
}

bool CKeldraDlg::UnappliedEditsShown() {
  return windowShown_ && state_.settings.deviceConfig != state_.settings.deviceConfigBackup;
}

std::optional<std::string> CKeldraDlg::ProfileForProgram(
    const std::optional<ProgramInFront>& program) {
  const ProfileRules rules = ReadProfileRules(Profiles().Folder() / std::string(kRulesFileName));
  // The bare desktop matches no rule: it gets the default profile.
  if (!program) {
    return q8::ProfileForProgram(rules, {}, false);
  }
  return q8::ProfileForProgram(rules, program->name,
                               ProgramNamesIgnoreCase() || program->windowsProgram);
}

bool CKeldraDlg::ReplacedOnDisk(const std::string& name) {
  // A file that cannot be read is no news: its load would fail the same way.
  const auto read = Profiles().Load(name);
  const auto* profile = std::get_if<Profile>(&read);
  if (profile == nullptr) {
    return false;
  }
  // Without a record, a load failed part-way since: the mouse holds part of another profile.
  return !activeRecord_ || activeRecord_->first != name || activeRecord_->second != profile->config;
}

bool CKeldraDlg::LoadProfile(const std::string& name, std::string& problem) {
  auto read = Profiles().Load(name);
  if (const auto* readProblem = std::get_if<std::string>(&read)) {
    problem = *readProblem;
    return false;
  }
  bool whole = false;
  {
    // A mouse unplugged in the middle is noticed once the write has ended (see OperationScope).
    const DeviceChangeHandler::OperationScope operation(deviceChanges_);
    host_.SetBusy(true);
    whole = LoadProfileIntoMouse(
        mouse_, host_, Text(UiTextKey::MsgMouseNotDetected), state_.device, state_.settings,
        state_.captions, std::get<Profile>(read),
        {state_.files.configBin, state_.files.strIni, std::string(Text(UiTextKey::StrIniSection))});
    host_.SetBusy(false);
  }
  if (whole) {
    activeRecord_ = {name, std::get<Profile>(read).config};
  } else {
    activeRecord_.reset();
  }
  // The page shows what the files now hold, whatever the mouse took.
  state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  state_.reloadOnShow = false;
  state_.settingsNewerOnDisk = false;
  RebuildPage();
  ReportConnectionProblems();
  return whole;
}

void CKeldraDlg::TellLoaded(const std::string& name) {
  const std::string text = std::string(Text(UiTextKey::NotifyProfile)) + name;
  host_.ShowBalloon({text, kTitleInfo, kChangeBalloonMs});
}

void CKeldraDlg::TellNotLoaded(const std::string& name, const std::string& problem) {
  std::string text = std::string(Text(UiTextKey::NotifyProfileNotLoaded)) + name;
  if (!problem.empty()) {
    text += "\n" + problem;
  }
  host_.ShowBalloon({text, kTitleWarning, kChangeBalloonMs});
}

void CKeldraDlg::TellSwitchingHalted() {
  host_.ShowBalloon({Text(UiTextKey::NotifyProfilesHalted), kTitleWarning, kChangeBalloonMs});
}

// --- Ending --------------------------------------------------------------------------------------

void CKeldraDlg::ExitProcess() {
  // Pending edits are not saved.
  mouse_.Link().Close();
  host_.DeleteTrayIcon();
  host_.EndProcess(0);
}

void CKeldraDlg::Conceal() {
  if (host_.HasNotificationArea()) {
    host_.HideWindow();
  } else {
    host_.MinimiseWindow();
  }
  windowShown_ = false;
  switcher_.OnHoldMayHaveEnded();
  // Hidden, the window draws nothing: its decoded images go until it is shown again.
  painter_.ReleaseImages();
}

void CKeldraDlg::ShowWindow() {
  windowShown_ = true;
  host_.ShowWindow();
}

void CKeldraDlg::OnClose() {
  if (host_.HasNotificationArea()) {
    Conceal();
  } else {
    ExitProcess();
  }
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
  if (DispatchCommandArea(point)) {
    return;
  }
  if (page_ != nullptr && page_->IsBuilt()) {
    page_->CloseListsOutside(point);
    if (DispatchPageArea(point)) {
      return;
    }
  }
  // No caption bar: a press anywhere else moves the window.
  host_.StartDrag(point);
}

bool CKeldraDlg::DispatchCommandArea(Point point) {
  if (kOkArea.Contains(point) && state_.devicePresent) {
    ApplyFromWindow();
    Conceal();
  } else if (kApplyArea.Contains(point) && state_.devicePresent) {
    ApplyFromWindow();
    switcher_.OnHoldMayHaveEnded();
  } else if (kSkinChooserArea.Contains(point)) {
    RunSkinChooser();
  } else if (kMinimiseArea.Contains(point)) {
    Conceal();
  } else if (kCloseArea.Contains(point)) {
    ExitProcess();
  } else if (kPreviousPageArea.Contains(point)) {
    if (page_ != nullptr) {
      page_->Build();
    }
  } else if (kCancelArea.Contains(point)) {
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

bool CKeldraDlg::DispatchPageArea(Point point) {
  MainPageOperations& page = *page_;
  if (kModeAArea.Contains(point)) {
    page.SelectKeyConfig(KeyConfigId::A);
    return true;
  }
  if (kModeBArea.Contains(point)) {
    page.SelectKeyConfig(KeyConfigId::B);
    return true;
  }
  if (kRestoreKeysArea.Contains(point)) {
    page.RestoreDefaultKeys();
    return true;
  }
  for (int row = 1; row <= MainWindowControls::kKeyRows; ++row) {
    if (MainWindowControls::KeyRow(row).region.Contains(point)) {
      page.ToggleKeyList(row);
      return true;
    }
  }
  for (int position = 1; position <= 4; ++position) {
    if (kReportRateAreas[position - 1].Contains(point)) {
      page.SelectReportRate(position);
      return true;
    }
  }
  for (int stage = 1; stage <= kPageStages; ++stage) {
    if (StageSwatchArea(stage).Contains(point)) {
      page.ChooseStageColor(stage);
      return true;
    }
  }
  for (int stage = 1; stage <= kPageStages; ++stage) {
    if (StageValueArea(stage).Contains(point)) {
      page.ToggleDpiLevelList(stage);
      return true;
    }
  }
  if (kLightingModeArea.Contains(point)) {
    page.ToggleLightingModeList();
  } else if (kLightingParamArea.Contains(point)) {
    page.ToggleLightingParamList();
  } else if (kLightingEffectArea.Contains(point)) {
    page.ToggleLightingEffectList();
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
  if (page_ != nullptr && page_->IsBuilt()) {
    page_->TearDown();
    page_->Build();
  }
  host_.BringToForeground();
  ShowWindow();
}

// --- Pointer, wheel and controls of the page -----------------------------------------------------

void CKeldraDlg::OnMouseMove(Point point) {
  controls_.OnMouseMove(point);
}

void CKeldraDlg::OnMouseHover(Point point) {
  controls_.OnMouseHover(point);
}

void CKeldraDlg::OnPointerMove(Point point) {
  if (page_ != nullptr && page_->IsBuilt()) {
    page_->OnPointerMove(point);
  }
}

void CKeldraDlg::OnMouseWheel(int delta) {
  if (page_ != nullptr && page_->IsBuilt()) {
    page_->OnMouseWheel(delta);
  }
}

void CKeldraDlg::OnListNotification(ControlId list, ListEvent event) {
  if (page_ != nullptr && page_->IsBuilt()) {
    page_->OnListNotification(list, event);
  }
}

ControlColors CKeldraDlg::ControlColor(ControlId control) const {
  if (page_ != nullptr) {
    if (auto colors = page_->ControlColor(control)) {
      return *colors;
    }
  }
  return {};
}

}  // namespace q8
