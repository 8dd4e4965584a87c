#include "dialogs/profiles_dialog.h"

#include <algorithm>
#include <utility>

#include "dialogs/function_dialog_frame.h"
#include "settings/utf8_path.h"
#include "ui/hover_controller.h"
#include "ui/language_fonts.h"
#include "ui/skin_images.h"

namespace q8 {
namespace {

using Status = ProfileOutcome::Status;

constexpr Rect kTitleRect{40, 6, 300, 24};
constexpr Rect kProfilesCaptionRect{24, 46, 262, 64};
constexpr Rect kRulesCaptionRect{298, 46, 536, 64};
constexpr Rect kNameLabelRect{24, 234, 80, 252};
constexpr Rect kProgramLabelRect{298, 194, 366, 212};
constexpr Rect kDefaultLabelRect{298, 286, 536, 304};
constexpr Rect kActiveRect{24, 388, 430, 406};
// The arrow strip at the right of a value box is the well's, not the box's.
constexpr int kArrowWidth = 15;

constexpr std::array<UiTextKey, CProfilesDialog::kCloseCorner> kButtonCaptions{
    UiTextKey::ProfilesSaveAs,  UiTextKey::ProfilesRename,     UiTextKey::ProfilesDelete,
    UiTextKey::ProfilesImport,  UiTextKey::ProfilesExport,     UiTextKey::ProfilesBrowse,
    UiTextKey::ProfilesSetRule, UiTextKey::ProfilesRemoveRule, UiTextKey::ProfilesClose};

Rect BoxOf(Rect drop) {
  return {drop.left, drop.top, drop.right - kArrowWidth, drop.bottom};
}

// "Replace the profile \"{}\"?" with the name in place of the braces.
std::string WithName(std::string_view text, std::string_view name) {
  std::string result(text);
  if (const auto at = result.find("{}"); at != std::string::npos) {
    result.replace(at, 2, name);
  }
  return result;
}

HoverTracker ButtonTracker() {
  std::vector<HoverTracker::Control> controls;
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < CProfilesDialog::kButtonCount; ++i) {
    controls.push_back({CProfilesDialog::kButtonRegions[i], HoverTracker::kAlone, false});
    order.push_back(i);
  }
  return HoverTracker(std::move(controls), std::move(order));
}

// The dialog's buttons and their hover: a caption button each, and the close button in the corner.
class ProfilesButtons final : public HoverController {
 public:
  ProfilesButtons(SkinnedWindow& window, const SkinPainter& painter,
                  std::array<std::string, CProfilesDialog::kCloseCorner> captions)
      : HoverController(window, ButtonTracker(), /*trackLeave=*/false),
        painter_(painter),
        captions_(std::move(captions)) {}

  void DrawControl(Canvas* target, std::size_t control, Look look) const override {
    const HotRegion region = CProfilesDialog::kButtonRegions[control];
    if (control == CProfilesDialog::kCloseCorner) {
      SkinImageButton{region, skin_image::kCloseNormal, skin_image::kCloseOver}.Draw(painter_,
                                                                                     target, look);
    } else {
      SkinButton{region}.Draw(painter_, target, look, captions_[control]);
    }
  }

 private:
  const SkinPainter& painter_;
  std::array<std::string, CProfilesDialog::kCloseCorner> captions_;
};

std::array<std::string, CProfilesDialog::kCloseCorner> Captions(UiLanguage language) {
  std::array<std::string, CProfilesDialog::kCloseCorner> captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    captions[i] = TextFor(kButtonCaptions[i], language);
  }
  return captions;
}

}  // namespace

// What the dialog holds while its window exists: the window's picture, what draws into it, and
// the hover handling of its buttons.
struct CProfilesDialog::Session {
  Session(DialogHost& host, const std::string& skinFolder, const Rgb& textColor,
          ImageDecoder& decoder, UiLanguage language)
      : window(host),
        painter(skinFolder, textColor, decoder, host.Text(), &host),
        buttons(window, painter, Captions(language)) {}

  SkinnedWindow window;
  SkinPainter painter;
  ProfilesButtons buttons;
};

CProfilesDialog::CProfilesDialog(const DialogEnvironment& environment, ProfilesPort& profiles,
                                 RunningProgramsPort& programs)
    : environment_(environment), port_(profiles), programs_(programs) {}

CProfilesDialog::~CProfilesDialog() = default;

std::string_view CProfilesDialog::Text(UiTextKey key) const {
  return TextFor(key, environment_.state.language);
}

void CProfilesDialog::OnInitDialog(DialogHost& host) {
  host_ = &host;
  skinFolder_ = environment_.state.skinDirectory;
  session_ = std::make_unique<Session>(host, skinFolder_, environment_.state.skinTextColor,
                                       environment_.decoder, environment_.state.language);
  if (!MakeDialogCanvas(session_->window, environment_.decoder, skinFolder_,
                        dialog_background::kProfiles, host)) {
    host.EndDialog(DialogResult::kCancel);
    return;
  }
  loaded_ = true;
  host.SetFont(DialogFont(environment_.state.language, environment_.osVersion));
  host.CreateTextEdit(kNameEdit, kNameEditRect, {});
  host.CreateStatic(kProgramBox, BoxOf(kProgramDrop), {}, StaticStyle::kSunkenLeft);
  host.CreateStatic(kDefaultBox, BoxOf(kDefaultDrop), {}, StaticStyle::kSunkenLeft);
  Refresh();
}

void CProfilesDialog::OnDisplayScaleChanged() {
  loaded_ = loaded_ &&
            MakeDialogFaceAgain(session_->window, environment_.decoder, skinFolder_,
                                dialog_background::kProfiles, *host_,
                                DialogFont(environment_.state.language, environment_.osVersion));
  OnEraseBackground();
}

// --- Painting ------------------------------------------------------------------------------------

void CProfilesDialog::OnEraseBackground() {
  if (!loaded_) {
    return;
  }
  session_->window.Draw([&](Canvas* canvas) {
    if (canvas != nullptr) {
      PaintFace(*canvas);
    }
  });
}

void CProfilesDialog::PaintFace(Canvas& canvas) const {
  const Rgb colour = environment_.state.skinTextColor;
  TextPainter& text = host_->Text();
  const auto label = [&](UiTextKey key, Rect rect) {
    text.PaintText(canvas, Text(key), rect, FontRole::kNormal, colour, TextAlign::kLeft);
  };
  label(UiTextKey::MenuProfiles, kTitleRect);
  label(UiTextKey::MenuProfiles, kProfilesCaptionRect);
  label(UiTextKey::ProfilesRules, kRulesCaptionRect);
  label(UiTextKey::ProfilesName, kNameLabelRect);
  label(UiTextKey::ProfilesProgram, kProgramLabelRect);
  label(UiTextKey::ProfilesDefault, kDefaultLabelRect);
  session_->painter.DrawGround(&canvas, std::array{skin_image::kProfiles}, kActiveRect);
  const std::string active = std::string(Text(UiTextKey::ProfilesActive)) +
                             (active_ ? *active_ : std::string(Text(UiTextKey::ProfilesNone)));
  text.PaintText(canvas, active, kActiveRect, FontRole::kNormal, colour, TextAlign::kLeft);
  for (std::size_t button = 0; button < kButtonCount; ++button) {
    session_->buttons.DrawControl(&canvas, button, Look::kNormal);
  }
}

// --- The lists -----------------------------------------------------------------------------------

void CProfilesDialog::Refresh(const std::optional<std::string>& choose) {
  std::optional<std::string> chosen = choose;
  if (!chosen) {
    if (const auto index = host_->ListSelection(kProfileList);
        index && *index < static_cast<int>(profiles_.size())) {
      chosen = profiles_[static_cast<std::size_t>(*index)];
    }
  }
  profiles_ = port_.Profiles();
  active_ = port_.ActiveProfile();
  rules_ = port_.Rules();

  host_->CreateList(kProfileList, kProfileListRect, true);
  for (std::size_t i = 0; i < profiles_.size(); ++i) {
    const bool active = active_ == profiles_[i];
    host_->AddListItem(
        kProfileList,
        profiles_[i] + (active ? std::string(Text(UiTextKey::ProfilesActiveMark)) : std::string()));
    if (chosen == profiles_[i]) {
      host_->SetListSelection(kProfileList, static_cast<int>(i));
    }
  }
  host_->CreateList(kRuleList, kRuleListRect, true);
  for (const auto& [program, profile] : rules_.rules) {
    host_->AddListItem(kRuleList, program + ": " + profile);
  }
  host_->SetControlText(kDefaultBox, rules_.defaultProfile.empty()
                                         ? std::string(Text(UiTextKey::ProfilesNone))
                                         : rules_.defaultProfile);
  host_->RedrawControl(kDefaultBox);
  OnEraseBackground();  // the active profile's line drawn again
}

std::optional<std::string> CProfilesDialog::ChosenProfile() {
  const auto index = host_->ListSelection(kProfileList);
  if (!index || *index < 0 || *index >= static_cast<int>(profiles_.size())) {
    host_->ShowMessage(Text(UiTextKey::ProfilesChooseProfile), Text(UiTextKey::MenuProfiles));
    return std::nullopt;
  }
  return profiles_[static_cast<std::size_t>(*index)];
}

void CProfilesDialog::OnListNotification(ControlId list, ListEvent /*event*/) {
  if (list == kProgramList || list == kDefaultList) {
    TakeDrop(list);
    return;
  }
  const auto index = host_->ListSelection(list);
  if (!index || *index < 0) {
    return;
  }
  const auto at = static_cast<std::size_t>(*index);
  if (list == kProfileList && at < profiles_.size()) {
    // The name to rename it to starts from its own.
    host_->SetControlText(kNameEdit, profiles_[at]);
  } else if (list == kRuleList && at < rules_.rules.size()) {
    // A rule chosen: its program and profile, ready to be given another profile or removed.
    const auto& [program, profile] = rules_.rules[at];
    program_ = program;
    host_->SetControlText(kProgramBox, program_);
    host_->RedrawControl(kProgramBox);
    const auto found = std::find(profiles_.begin(), profiles_.end(), profile);
    if (found != profiles_.end()) {
      host_->SetListSelection(kProfileList, static_cast<int>(found - profiles_.begin()));
      host_->SetControlText(kNameEdit, profile);
    }
  }
}

// --- The drop-down lists -------------------------------------------------------------------------

void CProfilesDialog::ToggleDropList(ControlId list) {
  const bool wasOpen = dropList_ == list;
  CloseDropList();
  if (wasOpen) {
    return;
  }
  if (list == kProgramList) {
    dropItems_ = programs_.ProgramsWithWindows();
  } else {
    dropItems_ = profiles_;
    dropItems_.insert(dropItems_.begin(), std::string(Text(UiTextKey::ProfilesNone)));
  }
  host_->CreateList(list, list == kProgramList ? kProgramListRect : kDefaultListRect, true);
  for (const std::string& item : dropItems_) {
    host_->AddListItem(list, item);
  }
  dropList_ = list;
}

void CProfilesDialog::CloseDropList() {
  if (dropList_) {
    host_->DestroyControl(*dropList_);
    dropList_.reset();
  }
}

// The highlighted item follows the pointer over an open drop-down list, so a click takes what it
// shows.
void CProfilesDialog::OnPointerMove(Point point) {
  if (!dropList_) {
    return;
  }
  if (const auto item = host_->ListItemAt(*dropList_, point)) {
    host_->SetListSelection(*dropList_, *item);
  }
}

void CProfilesDialog::TakeDrop(ControlId list) {
  const auto index = host_->ListSelection(list);
  if (dropList_ != list || !index || *index < 0 || *index >= static_cast<int>(dropItems_.size())) {
    return;
  }
  const auto at = static_cast<std::size_t>(*index);
  const std::string item = dropItems_[at];
  CloseDropList();
  if (list == kProgramList) {
    program_ = item;
    host_->SetControlText(kProgramBox, program_);
    host_->RedrawControl(kProgramBox);
    return;
  }
  // The first item is "(none)".
  Told(port_.SetDefault(at == 0 ? std::string() : item));
  Refresh();
}

// --- Clicks --------------------------------------------------------------------------------------

void CProfilesDialog::OnLButtonDown(Point point) {
  if (!loaded_) {
    return;
  }
  if (dropList_) {
    const Rect listRect = *dropList_ == kProgramList ? kProgramListRect : kDefaultListRect;
    const Rect drop = *dropList_ == kProgramList ? kProgramDrop : kDefaultDrop;
    if (!listRect.Contains(point) && !drop.Contains(point)) {
      CloseDropList();
    }
  }
  if (kProgramDrop.Contains(point)) {
    ToggleDropList(kProgramList);
    return;
  }
  if (kDefaultDrop.Contains(point)) {
    ToggleDropList(kDefaultList);
    return;
  }
  for (std::size_t button = 0; button < kButtonCount; ++button) {
    if (kButtonRegions[button].Contains(point)) {
      OnButton(static_cast<Button>(button));
      return;
    }
  }
}

void CProfilesDialog::OnMouseMove(Point point) {
  if (loaded_) {
    session_->buttons.OnMouseMove(point);
  }
}

void CProfilesDialog::OnMouseHover(Point point) {
  if (loaded_) {
    session_->buttons.OnMouseHover(point);
  }
}

void CProfilesDialog::OnButton(Button button) {
  switch (button) {
    case kSaveAs:
      return SaveAs();
    case kRename:
      return Rename();
    case kDelete:
      return Delete();
    case kImport:
      return Import();
    case kExport:
      return Export();
    case kBrowse:
      return Browse();
    case kSetRule:
      return SetRule();
    case kRemoveRule:
      return RemoveRule();
    case kClose:
    case kCloseCorner:
    case kButtonCount:
      break;
  }
  host_->EndDialog(DialogResult::kOk);
}

// --- The actions ---------------------------------------------------------------------------------

bool CProfilesDialog::Told(const ProfileOutcome& outcome) {
  if (!outcome.Done()) {
    host_->ShowMessage(outcome.message, Text(UiTextKey::MenuProfiles));
  }
  return outcome.Done();
}

template <typename Action>
ProfileOutcome CProfilesDialog::AskingOnClash(const std::string& name, Action action) {
  ProfileOutcome outcome = action(false);
  if (outcome.status == Status::kClash &&
      host_->AskYesNo(WithName(Text(UiTextKey::ProfilesAskReplace), name),
                      Text(UiTextKey::MenuProfiles))) {
    outcome = action(true);
  }
  if (outcome.status == Status::kClash) {
    return {Status::kDone, {}};  // the user kept the profile there is: nothing to tell
  }
  return outcome;
}

void CProfilesDialog::SaveAs() {
  const std::string name = host_->ControlText(kNameEdit);
  if (Told(AskingOnClash(name, [&](bool replace) { return port_.SaveCurrentAs(name, replace); }))) {
    Refresh(name);
  }
}

void CProfilesDialog::Rename() {
  const auto from = ChosenProfile();
  if (!from) {
    return;
  }
  const std::string to = host_->ControlText(kNameEdit);
  if (Told(port_.Rename(*from, to))) {
    Refresh(to);
  }
}

void CProfilesDialog::Delete() {
  const auto name = ChosenProfile();
  if (!name || !host_->AskYesNo(WithName(Text(UiTextKey::ProfilesAskDelete), *name),
                                Text(UiTextKey::MenuProfiles))) {
    return;
  }
  Told(port_.Delete(*name));
  host_->SetControlText(kNameEdit, {});
  Refresh();
}

void CProfilesDialog::Import() {
  const auto file = host_->ChooseFile(
      {FileChoice::Purpose::kOpen, std::string(Text(UiTextKey::ProfilesFileKind)), "*.ini", {}});
  if (!file) {
    return;
  }
  const std::string name = Utf8Of(file->stem());
  if (Told(AskingOnClash(name, [&](bool replace) { return port_.Import(*file, replace); }))) {
    Refresh(name);
  }
}

void CProfilesDialog::Export() {
  const auto name = ChosenProfile();
  if (!name) {
    return;
  }
  const auto file =
      host_->ChooseFile({FileChoice::Purpose::kSave, std::string(Text(UiTextKey::ProfilesFileKind)),
                         "*.ini", *name + ".ini"});
  if (file) {
    Told(port_.Export(*name, *file));
  }
}

void CProfilesDialog::Browse() {
  // No pattern: the system offers the files it runs as programs.
  const auto file = host_->ChooseFile(
      {FileChoice::Purpose::kOpen, std::string(Text(UiTextKey::ProfilesProgramKind)), {}, {}});
  if (!file) {
    return;
  }
  program_ = Utf8Of(file->filename());
  host_->SetControlText(kProgramBox, program_);
  host_->RedrawControl(kProgramBox);
}

void CProfilesDialog::SetRule() {
  if (program_.empty()) {
    host_->ShowMessage(Text(UiTextKey::ProfilesChooseProgram), Text(UiTextKey::MenuProfiles));
    return;
  }
  const auto profile = ChosenProfile();
  if (profile && Told(port_.SetRule(program_, *profile))) {
    Refresh();
  }
}

void CProfilesDialog::RemoveRule() {
  const auto index = host_->ListSelection(kRuleList);
  if (!index || *index < 0 || *index >= static_cast<int>(rules_.rules.size())) {
    host_->ShowMessage(Text(UiTextKey::ProfilesChooseRule), Text(UiTextKey::MenuProfiles));
    return;
  }
  if (Told(port_.RemoveRule(rules_.rules[static_cast<std::size_t>(*index)].first))) {
    Refresh();
  }
}

// --- Colours -------------------------------------------------------------------------------------

ControlColors CProfilesDialog::ControlColor(ControlId control) const {
  switch (control) {
    case kProfileList:
    case kNameEdit:
    case kRuleList:
    case kProgramBox:
    case kProgramList:
    case kDefaultBox:
    case kDefaultList:
      return {kDialogControlText, std::nullopt, kDialogControlBackground};
    default:
      return {};
  }
}

}  // namespace q8
