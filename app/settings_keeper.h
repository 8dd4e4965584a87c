#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/apply_settings.h"
#include "app/main_window_host.h"
#include "app/mouse_connection.h"
#include "app/profile_store.h"
#include "app/profile_switcher.h"
#include "device/device_change.h"
#include "model/app_state.h"
#include "model/ui_text.h"
#include "settings/file_identity.h"

namespace q8 {

// What the keeper asks of the window it serves.
class SettingsKeeperWindow {
 public:
  virtual ~SettingsKeeperWindow() = default;
  // A text of the window's language.
  virtual std::string_view Text(UiTextKey key) = 0;
  // The page's record, or what the page shows of the mouse, changed behind its back.
  virtual void PageChanged() = 0;
  // The settings window is shown holding changes the user has not applied.
  virtual bool UnappliedEditsShown() = 0;
  // Another profile is active, or none is any more (the tray icon's tip names it).
  virtual void ActiveProfileChanged() = 0;
};

// The one owner of what the tray program knows of the mouse and its profiles, and the one way to
// the mouse: every read and every write (OK, Apply, a rule's load, a choice by hand, a plug-in)
// goes through it, and a load or a profile edit by another program (q8ctl) is told to it. It keeps:
//
//   - whether the mouse's memory was last read whole: no write starts unless it was, since the
//     memory image would send back bytes never read;
//   - where the page's record came from: a profile's whole load (and the user's edits on it),
//     with what the profile's file held then; or, without one, the files (start-up, another
//     program's load, a load that failed part-way);
//   - which profile is active: the one the mouse holds whole. It is always the page's profile too;
//     a load that failed part-way leaves none, as does another program's load.
//
// The mouse written whole and the files saved are separate outcomes: a whole write whose config.bin
// save failed still makes its profile active (and it is not written again while it is), and the
// save's failure is told once per cause during automatic switches. OK and Apply save the page into
// its profile only while that profile's file still holds what the page was loaded from; a file
// changed elsewhere is left alone (said once), and the rule loads it at its program's next turn.
class SettingsKeeper final : private ProfileSwitchHost {
 public:
  SettingsKeeper(AppState& state, MainWindowHost& host, MouseConnection& mouse,
                 DeviceChangeHandler& deviceChanges, SettingsKeeperWindow& window);
  SettingsKeeper(const SettingsKeeper&) = delete;
  SettingsKeeper& operator=(const SettingsKeeper&) = delete;

  // --- The mouse ------------------------------------------------------------------------------
  // Reads a mouse just found (start-up, plug-in), then lets the rules act.
  void ReadMouse();
  // OK and Apply: the page's record to the mouse and the files, then into its profile where that
  // is right. False when nothing was written (the mouse is gone or busy, or its memory was not
  // read whole: the user is told).
  bool ApplyPage();

  // --- Profiles -------------------------------------------------------------------------------
  void OnProgramInFront(std::optional<ProgramInFront> program) {
    switcher_.OnProgramInFront(std::move(program));
  }
  void ChooseProfile(std::string name) { switcher_.OnChosenByHand(std::move(name)); }
  // The rules changed: the program in front gets the profile they give it now.
  void OnRulesChanged() { switcher_.OnRulesChanged(); }
  // The window was hidden, or changes applied: a switch held back may go now.
  void OnHoldMayHaveEnded() { switcher_.OnHoldMayHaveEnded(); }
  // Another program wrote the mouse, config.bin and str.ini (q8ctl's profile load, set, apply):
  // no profile is known active, and the page is read again from the files at its next show. Told
  // during this program's write, it is acted on at the write's end (see WriteScope).
  void OnLoadedElsewhere();
  // Another program (q8ctl) changed the profile folder, leaving the mouse and the files as they
  // were. The page's profile, when it is no longer listed, follows its file to a new name or is
  // forgotten as deleted; then, when the rules may have changed, the program in front gets what
  // they give it now.
  void OnProfilesEdited(bool rulesMayHaveChanged);

  // Another program's load seen at the window's next show: the page's record and captions are
  // what config.bin and str.ini now hold, and Cancel returns to them. A switch held back for the
  // changes the page showed goes then.
  void TakeFilesIntoPage();

  // The profile the mouse holds whole, as loaded by this program; nothing when not known.
  const std::optional<std::string>& ActiveProfile() const { return active_; }
  // The profiles: the folder beside config.bin.
  ProfileStore Profiles() const;

  // --- What the profiles dialog did ---------------------------------------------------------
  // The settings the mouse was last given, as a profile: the page's record as applied (or loaded,
  // or read from the files), the captions of str.ini, and the mouse's sensor when its memory was
  // read whole.
  Profile AppliedAsProfile();
  // Whether the files tell the current settings better than the page: another program loaded them
  // behind the page's back, or this program's last write left the mouse holding part of it (which
  // part is not known; config.bin is what another program's save would save too).
  bool FilesHoldTheCurrentSettings() const {
    return state_.settingsNewerOnDisk || !lastWriteWhole_;
  }
  // This program saved the applied settings as `name`'s file: when the page belongs to that
  // profile, its file now holds what the page was applied as, and OK and Apply go on saving into
  // it; the mouse holds it still.
  void SavedAppliedAs(const std::string& name);
  // The page's and the active profile's name follow a rename.
  void ProfileRenamed(const std::string& from, const std::string& to);
  // A deleted profile is neither the page's nor active any more: the mouse keeps its settings,
  // which belong to no profile now.
  void ProfileDeleted(const std::string& name);

  // Tells the user, once each, of a trace or a simulated mouse's state file that could not be
  // written.
  void ReportConnectionProblems();

 private:
  enum class MemoryRead { kNotYet, kWhole, kPartial };
  // The page's profile: its name and what its file held when the page was loaded from it or saved
  // into it, and that file's identity, which a rename keeps (a copy, an import or a profile saved
  // with the same settings has another).
  struct PageProfile {
    std::string name;
    Profile file;
    std::optional<FileIdentity> identity;
  };

  // ProfileSwitchHost
  WriteGate Gate() override;
  bool UnappliedEditsShown() override { return window_.UnappliedEditsShown(); }
  std::optional<std::string> ProfileForProgram(
      const std::optional<ProgramInFront>& program) override;
  bool NeedsLoad(const std::string& name) override;
  void LoadProfile(const std::string& name, bool byHand) override;
  void TellRefused(const std::string& name, WriteGate gate) override;

  // A write of this program (a load, OK, Apply) from its first report to its outcome.
  class WriteScope;
  void TellLoaded(const std::string& name);
  void TellNotLoaded(const std::string& name, const std::string& problem);

  WriteOutcome WritePage(WriteScope& writing);
  // OK and Apply over a profile's page: its file takes the page when it still holds what the page
  // came from. True when the file holds the page now.
  bool SaveIntoPageProfile();
  Profile PageAsProfile();
  // The sensor whose DPI levels a profile saved now names: the mouse's, when read whole.
  std::optional<std::uint8_t> KnownSensor() const;
  void SetActive(std::optional<std::string> name);
  // The page's profile no longer listed: it follows its file to the name a rename gave it, or is
  // forgotten as deleted. Still listed and saved again the same, its new file is the one kept.
  void FollowPageProfileFile();
  // `name`'s file when it loads as the page's profile's file did.
  std::optional<Profile> FileAsPageCameFrom(const ProfileStore& store,
                                            const std::string& name) const;
  // The page's profile's file holds `file` now, as this program read or saved it.
  void KeepPageFile(const Profile& file);
  void Balloon(std::string_view text, bool warning);

  AppState& state_;
  MainWindowHost& host_;
  MouseConnection& mouse_;
  DeviceChangeHandler& deviceChanges_;
  SettingsKeeperWindow& window_;

  MemoryRead memory_ = MemoryRead::kNotYet;
  enum class WritePhase { kNone, kHolding, kLetGo };
  WritePhase writePhase_ = WritePhase::kNone;
  bool lastWriteWhole_ = true;
  // Another program's load told during the write running: while it held the mouse, or after.
  bool loadedElsewhereInHold_ = false;
  bool loadedElsewhereAfterHold_ = false;
  std::optional<PageProfile> pageProfile_;
  std::optional<std::string> active_;
  // What a profile's file held when OK or Apply found it changed elsewhere, said once.
  std::optional<std::vector<std::uint8_t>> toldChanged_;
  // The problems of files saved during automatic switches told already; forgotten once the files
  // are saved again.
  std::set<std::string> toldFileProblems_;
  // The same for the mouse's refusals; forgotten once it takes a profile whole.
  std::set<std::string> toldMouseProblems_;
  // The connection problems told already.
  std::set<std::string> toldConnectionProblems_;
  ProfileSwitcher switcher_{*this};
};

}  // namespace q8
