#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_environment.h"
#include "dialogs/profiles_port.h"
#include "model/ui_text.h"
#include "ui/dialog_canvas.h"
#include "ui/dialog_host.h"
#include "ui/skin_controls.h"

namespace q8 {

// The profiles dialog, opened from the tray menu's Profiles submenu: the profiles with the active
// one marked, and the rules that switch them. On the left a profile is saved from the current
// settings under the name typed in, renamed, deleted (after a question), imported and exported
// through the system's file dialogs. On the right a rule gives a program (picked from the programs
// that have windows now, or browsed to) the profile chosen on the left; a rule chosen in the list
// can be changed so or removed; the default profile goes to every other program. Every action
// goes through the ProfilesPort at once, with q8ctl's checks; a refusal or failure is told in a
// box with its one line. Drawn from the skin's profiles.png like the other dialogs.
class CProfilesDialog final : public DialogController {
 public:
  static constexpr int kTemplateId = 720;

  // The native controls.
  static constexpr ControlId kProfileList = 601;
  static constexpr ControlId kNameEdit = 602;
  static constexpr ControlId kRuleList = 603;
  static constexpr ControlId kProgramBox = 604;
  static constexpr ControlId kProgramList = 605;
  static constexpr ControlId kDefaultBox = 606;
  static constexpr ControlId kDefaultList = 607;

  static constexpr Rect kProfileListRect{24, 68, 262, 226};
  static constexpr Rect kNameEditRect{84, 233, 262, 253};
  static constexpr Rect kRuleListRect{298, 68, 536, 186};
  // The value boxes sit in their wells; a click on the box or on the arrow strip at its right
  // opens the list below it.
  static constexpr Rect kProgramDrop{370, 194, 536, 212};
  static constexpr Rect kProgramListRect{370, 214, 536, 334};
  static constexpr Rect kDefaultDrop{298, 308, 536, 326};
  static constexpr Rect kDefaultListRect{298, 328, 536, 412};

  // The buttons, in hover order.
  enum Button : std::size_t {
    kSaveAs,
    kRename,
    kDelete,
    kImport,
    kExport,
    kBrowse,
    kSetRule,
    kRemoveRule,
    kClose,
    kCloseCorner,
    kButtonCount
  };
  static constexpr std::array<HotRegion, kButtonCount> kButtonRegions{{
      {24, 262, 129, 283},
      {157, 262, 262, 283},
      {24, 290, 129, 311},
      {157, 290, 262, 311},
      {24, 318, 129, 339},
      {298, 220, 403, 241},
      {431, 220, 536, 241},
      {298, 248, 403, 269},
      {443, 386, 548, 407},
      {530, 6, 548, 24},
  }};

  CProfilesDialog(const DialogEnvironment& environment, ProfilesPort& profiles,
                  RunningProgramsPort& programs);
  ~CProfilesDialog() override;
  CProfilesDialog(const CProfilesDialog&) = delete;
  CProfilesDialog& operator=(const CProfilesDialog&) = delete;

  int TemplateId() const override { return kTemplateId; }
  void OnInitDialog(DialogHost& host) override;
  void OnEraseBackground() override;
  void OnDisplayScaleChanged() override;
  void OnLButtonDown(Point point) override;
  void OnMouseMove(Point point) override;
  void OnMouseHover(Point point) override;
  void OnPointerMove(Point point) override;
  void OnListNotification(ControlId list, ListEvent event) override;
  void OnMouseWheel(int /*delta*/) override {}
  ControlColors ControlColor(ControlId control) const override;

  // What the lists show: the profiles (the active one marked) and the rules ("game.exe: Racing").
  const std::vector<std::string>& ProfileNames() const { return profiles_; }
  const std::string& Program() const { return program_; }

 private:
  struct Session;

  std::string_view Text(UiTextKey key) const;
  void PaintFace(Canvas& canvas) const;
  // Fills the lists and boxes again from the port, keeping the chosen profile where it still is.
  void Refresh(const std::optional<std::string>& choose = std::nullopt);
  void OnButton(Button button);
  // The profile chosen in the list, or nothing (and the user told to choose one).
  std::optional<std::string> ChosenProfile();
  // Tells a refusal or failure; true when the action was done.
  bool Told(const ProfileOutcome& outcome);
  // Runs `action` with replace false; on a clash asks whether to replace `name`, and runs it with
  // replace true when the user says yes.
  template <typename Action>
  ProfileOutcome AskingOnClash(const std::string& name, Action action);

  void SaveAs();
  void Rename();
  void Delete();
  void Import();
  void Export();
  void Browse();
  void SetRule();
  void RemoveRule();
  void ToggleDropList(ControlId list);
  void CloseDropList();
  void TakeDrop(ControlId list);

  const DialogEnvironment& environment_;
  ProfilesPort& port_;
  RunningProgramsPort& programs_;
  DialogHost* host_ = nullptr;
  std::unique_ptr<Session> session_;
  bool loaded_ = false;
  std::string skinFolder_;

  std::vector<std::string> profiles_;
  std::optional<std::string> active_;
  ProfileRules rules_;
  std::string program_;
  // The open drop-down list (the running programs' or the default profile's) and its items.
  std::optional<ControlId> dropList_;
  std::vector<std::string> dropItems_;
};

}  // namespace q8
