#include "app/settings_keeper.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "app/whole_operation.h"
#include "settings/profile_rules.h"

namespace q8 {
namespace {

// The caption of the device operations' messages about a write.
constexpr std::string_view kWriteOperationName = "WriteOperation";

// Whether loading `a` writes what loading `b` does: the record and the captions (the sensor a file
// names only documents it).
bool LoadsTheSame(const Profile& a, const Profile& b) {
  return a.config == b.config && a.captions == b.captions;
}

// Passes on each message it has not passed on before, keeping what it passed in `told`: a
// persistent problem is told once, not at every automatic switch.
class OncePerCauseSink final : public MessageSink {
 public:
  OncePerCauseSink(MessageSink& inner, std::set<std::string>& told) : inner_(inner), told_(told) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    if (told_.insert(std::string(caption) + '\n' + std::string(text)).second) {
      inner_.ShowMessage(text, caption);
    }
  }

 private:
  MessageSink& inner_;
  std::set<std::string>& told_;
};

}  // namespace

// Another program's load is told after that program let go of the mouse. Told while this program's
// write holds the mouse (a box of it is open), it came before the write and stands only if the
// mouse did not take the write whole; told after the write let go, it came after and stands.
// Either is acted on once the write's outcome is kept.
class SettingsKeeper::WriteScope {
 public:
  explicit WriteScope(SettingsKeeper& keeper) : keeper_(keeper) {
    keeper_.writePhase_ = WritePhase::kHolding;
  }
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;
  void LetGo() { keeper_.writePhase_ = WritePhase::kLetGo; }
  void End(bool mouseWhole) {
    keeper_.writePhase_ = WritePhase::kNone;
    keeper_.lastWriteWhole_ = mouseWhole;
    const bool before = std::exchange(keeper_.loadedElsewhereInHold_, false);
    const bool after = std::exchange(keeper_.loadedElsewhereAfterHold_, false);
    if (after || (before && !mouseWhole)) {
      keeper_.OnLoadedElsewhere();
    }
  }
  ~WriteScope() {
    keeper_.writePhase_ = WritePhase::kNone;
    keeper_.loadedElsewhereInHold_ = keeper_.loadedElsewhereAfterHold_ = false;
  }

 private:
  SettingsKeeper& keeper_;
};

SettingsKeeper::SettingsKeeper(AppState& state, MainWindowHost& host, MouseConnection& mouse,
                               DeviceChangeHandler& deviceChanges, SettingsKeeperWindow& window)
    : state_(state), host_(host), mouse_(mouse), deviceChanges_(deviceChanges), window_(window) {}

ProfileStore SettingsKeeper::Profiles() const {
  return ProfileStore(ProfileFolderIn(state_.files.configBin.parent_path()));
}

// --- The mouse -----------------------------------------------------------------------------------

void SettingsKeeper::ReadMouse() {
  // Only a found mouse is read: it is present before the switch the read may let go, and stays
  // absent when it was unplugged during the read.
  state_.devicePresent = true;
  {
    // A plug or unplug that comes during the read (its box lets it in) is acted on once the read
    // is kept and told (see OperationScope): a second read in between would be overwritten by this
    // one's outcome.
    const DeviceChangeHandler::OperationScope operation(deviceChanges_);
    host_.SetBusy(true);
    bool whole = false;
    {
      const WholeOperation read(mouse_, host_, window_.Text(UiTextKey::MsgMouseNotDetected));
      state_.sensorVariant = ReadFoundMouse(read.Ports(), state_.device);
      whole = read.Whole();
    }
    host_.SetBusy(false);
    const bool toldPartial = memory_ == MemoryRead::kPartial;
    memory_ = whole ? MemoryRead::kWhole : MemoryRead::kPartial;
    // A mouse plugged in again may carry another sensor, whose DPI levels the page names.
    window_.PageChanged();
    ReportConnectionProblems();
    if (!whole && !toldPartial) {
      Balloon(window_.Text(UiTextKey::NotifyProfilesHalted), /*warning=*/true);
    }
  }
  switcher_.OnMouseRead();
}

WriteGate SettingsKeeper::Gate() {
  if (!state_.devicePresent || !mouse_.Link().HasChannels()) {
    return WriteGate::kNoMouse;
  }
  if (deviceChanges_.InOperation()) {
    return WriteGate::kBusy;
  }
  return memory_ == MemoryRead::kWhole ? WriteGate::kOpen : WriteGate::kUnread;
}

bool SettingsKeeper::ApplyPage() {
  switch (Gate()) {
    case WriteGate::kNoMouse:
    case WriteGate::kBusy:
      return false;
    case WriteGate::kUnread:
      host_.ShowMessage(window_.Text(UiTextKey::MsgMouseNotReadWhole), kApplicationName);
      return false;
    case WriteGate::kOpen:
      break;
  }
  // A plug or unplug that comes during the write is acted on once its outcome is kept (see
  // OperationScope): the read it brings may switch the profile, and the page is then another's.
  const DeviceChangeHandler::OperationScope operation(deviceChanges_);
  WriteScope writing(*this);
  const WriteOutcome outcome = WritePage(writing);
  state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  // The mouse holds the page's profile only when it took the page whole and the profile's file
  // took it too: a page the file did not take (changed elsewhere, not saved) belongs to no profile,
  // and the rule loads the file at its program's next turn.
  const bool saved = SaveIntoPageProfile();
  SetActive(saved && outcome.mouseWhole ? std::optional(pageProfile_->name) : std::nullopt);
  writing.End(outcome.mouseWhole);
  return true;
}

WriteOutcome SettingsKeeper::WritePage(WriteScope& writing) {
  host_.SetBusy(true);
  WriteOutcome outcome;
  {
    const WholeOperation write(mouse_, host_, window_.Text(UiTextKey::MsgMouseNotDetected));
    // Held from the status read to the last save, as a load is: another program's change in
    // between would be overwritten with a stale status.
    const MouseHold hold(write.Ports().shortChannel);
    outcome.configSaved = ApplySettings(
        write.Ports(), state_.device, state_.settings, state_.files.configBin, host_, [&] {
          const std::error_code error = WriteButtonCaptions(
              state_.files.strIni, window_.Text(UiTextKey::StrIniSection), state_.captions);
          if (error) {
            outcome.captionsSaved = false;
            host_.ShowMessage(std::string(kIniFileName) + " cannot be written: " + error.message(),
                              kApplicationName);
          }
        });
    outcome.mouseWhole = write.Whole();
    if (write.Complaints() == 0 && write.RefusedReports() > 0) {
      // The mouse answered every check yet the system refused reports (it went away in the
      // middle): the user is told once that the mouse did not take the settings.
      host_.ShowMessage(window_.Text(UiTextKey::MsgMouseNotDetected), kWriteOperationName);
    }
  }
  writing.LetGo();
  host_.SetBusy(false);
  ReportConnectionProblems();
  return outcome;
}

Profile SettingsKeeper::PageAsProfile() {
  return {state_.settings.deviceConfig, std::string(window_.Text(UiTextKey::StrIniSection)),
          state_.captions, KnownSensor()};
}

std::optional<std::uint8_t> SettingsKeeper::KnownSensor() const {
  return memory_ == MemoryRead::kWhole ? std::optional(state_.sensorVariant) : std::nullopt;
}

void SettingsKeeper::SetActive(std::optional<std::string> name) {
  if (active_ != name) {
    active_ = std::move(name);
    window_.ActiveProfileChanged();
  }
}

bool SettingsKeeper::SaveIntoPageProfile() {
  if (!pageProfile_) {
    return false;  // the page came from the files, or from a load that failed part-way
  }
  const ProfileStore store = Profiles();
  if (!store.ProfileNamed(pageProfile_->name)) {
    // Deleted meanwhile (q8ctl profile delete): it stays deleted, and the page belongs to no
    // profile any more.
    pageProfile_.reset();
    return false;
  }
  const auto onDisk = store.Load(pageProfile_->name);
  const Profile* file = std::get_if<Profile>(&onDisk);
  if (file == nullptr || !LoadsTheSame(*file, pageProfile_->file)) {
    // Replaced by someone else (an import, a save, a copy): theirs stays; the rule loads it at its
    // program's next turn. Said once for each content the file takes.
    const std::vector<std::uint8_t> seen =
        file ? ProfileFileBytes(*file)
             : std::vector<std::uint8_t>(std::get<std::string>(onDisk).begin(),
                                         std::get<std::string>(onDisk).end());
    if (toldChanged_ != seen) {
      toldChanged_ = seen;
      Balloon(std::string(window_.Text(UiTextKey::NotifyProfileFileChanged)) + pageProfile_->name,
              /*warning=*/true);
    }
    return false;
  }
  if (auto problem = store.Save(pageProfile_->name, PageAsProfile())) {
    host_.ShowMessage(*problem, kApplicationName);
    return false;
  }
  // What the file holds now, as the next comparison reads it.
  const auto saved = store.Load(pageProfile_->name);
  if (const Profile* savedFile = std::get_if<Profile>(&saved)) {
    KeepPageFile(*savedFile);
  }
  return true;
}

void SettingsKeeper::ReportConnectionProblems() {
  for (const auto& problem : {mouse_.TraceError(), mouse_.StateSaveError()}) {
    if (problem && toldConnectionProblems_.insert(*problem).second) {
      host_.ShowMessage(*problem, kApplicationName);
    }
  }
}

// --- Profiles ------------------------------------------------------------------------------------

void SettingsKeeper::OnLoadedElsewhere() {
  switch (writePhase_) {
    case WritePhase::kHolding:
      loadedElsewhereInHold_ = true;
      return;
    case WritePhase::kLetGo:
      loadedElsewhereAfterHold_ = true;
      return;
    case WritePhase::kNone:
      break;
  }
  SetActive(std::nullopt);
  pageProfile_.reset();
  state_.settingsNewerOnDisk = true;
}

void SettingsKeeper::OnProfilesEdited(bool rulesMayHaveChanged) {
  FollowPageProfileFile();
  if (rulesMayHaveChanged) {
    switcher_.OnRulesChanged();
  }
}

void SettingsKeeper::FollowPageProfileFile() {
  if (!pageProfile_) {
    return;
  }
  const ProfileStore store = Profiles();
  if (store.ProfileNamed(pageProfile_->name)) {  // in any letter case where names ignore it
    // Saved again the same (q8ctl profile save), the file is a new one: a later rename moves that.
    if (const auto file = FileAsPageCameFrom(store, pageProfile_->name)) {
      KeepPageFile(*file);
    }
    return;
  }
  // Only the file itself under another name is the page's to save into: never a copy of it, nor a
  // profile that happens to hold the same settings. A number a deleted file freed may name a new
  // file, and a hard link gives a file two names: the one file with the identity and the content
  // the page came from, or none.
  const std::string gone = pageProfile_->name;  // a copy: following the rename changes it
  std::vector<std::string> renamedTo;
  for (const std::string& name : store.List()) {
    if (pageProfile_->identity && IdentityOf(store.PathOf(name)) == pageProfile_->identity &&
        FileAsPageCameFrom(store, name)) {
      renamedTo.push_back(name);
    }
  }
  if (renamedTo.size() == 1) {
    ProfileRenamed(gone, renamedTo.front());
  } else {
    ProfileDeleted(gone);
  }
}

std::optional<Profile> SettingsKeeper::FileAsPageCameFrom(const ProfileStore& store,
                                                          const std::string& name) const {
  auto read = store.Load(name);
  Profile* file = std::get_if<Profile>(&read);
  if (file == nullptr || !LoadsTheSame(*file, pageProfile_->file)) {
    return std::nullopt;
  }
  return std::move(*file);
}

void SettingsKeeper::KeepPageFile(const Profile& file) {
  pageProfile_->file = file;
  pageProfile_->identity = IdentityOf(Profiles().PathOf(pageProfile_->name));
}

void SettingsKeeper::TakeFilesIntoPage() {
  state_.settingsNewerOnDisk = false;
  state_.reloadOnShow = false;
  // The page is the files' now, no profile's: OK must not save it into one. Forgotten first: a
  // rule's load let in by the box of a config.bin that cannot be read makes the page its own.
  pageProfile_.reset();
  SetActive(std::nullopt);
  LoadConfigFile(state_.files.configBin, state_.settings, host_);
  state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  state_.captions =
      ReadStrIniSettings(state_.files.strIni, window_.Text(UiTextKey::StrIniSection)).captions;
  // The page's unapplied changes went with it: a switch they held back goes now.
  switcher_.OnHoldMayHaveEnded();
}

std::optional<std::string> SettingsKeeper::ProfileForProgram(
    const std::optional<ProgramInFront>& program) {
  const ProfileRules rules = ReadProfileRules(Profiles().Folder() / std::string(kRulesFileName));
  // The bare desktop matches no rule: it gets the default profile.
  if (!program) {
    return q8::ProfileForProgram(rules, {}, false);
  }
  return q8::ProfileForProgram(rules, program->name,
                               ProgramNamesIgnoreCase() || program->windowsProgram);
}

bool SettingsKeeper::NeedsLoad(const std::string& name) {
  if (active_ != name) {
    return true;
  }
  assert(pageProfile_ && pageProfile_->name == name);
  // A file that cannot be read is no news: its load would fail the same way.
  const auto read = Profiles().Load(name);
  const Profile* file = std::get_if<Profile>(&read);
  if (file == nullptr) {
    return false;
  }
  if (!LoadsTheSame(*file, pageProfile_->file)) {
    return true;
  }
  KeepPageFile(*file);  // saved again the same (by q8ctl, which names no sensor)
  return false;
}

void SettingsKeeper::LoadProfile(const std::string& name, bool byHand) {
  // The identity first: a file replaced in between is then not taken for the one read.
  const auto identity = IdentityOf(Profiles().PathOf(name));
  auto read = Profiles().Load(name);
  if (const auto* problem = std::get_if<std::string>(&read)) {
    TellNotLoaded(name, *problem);
    return;  // nothing written: everything stays as it was
  }
  const Profile& profile = std::get<Profile>(read);
  // What the page was, for a load that nothing takes.
  const SettingsRecord pageBefore = state_.settings;
  const ButtonCaptions captionsBefore = state_.captions;
  const bool reloadBefore = std::exchange(state_.reloadOnShow, false);
  const bool newerBefore = std::exchange(state_.settingsNewerOnDisk, false);
  // The page is the profile's from the first report on (the flags above are down): a show while a
  // box of the load is open must not take the files' older settings (or str.ini's older captions)
  // back into it.
  //
  // A plug or unplug that comes during the load is acted on once its outcome is kept and told (see
  // OperationScope): the read it brings may load another profile, which then comes last.
  const DeviceChangeHandler::OperationScope operation(deviceChanges_);
  WriteScope writing(*this);
  host_.SetBusy(true);
  WriteOutcome outcome;
  {
    // A switch by the rules tells a persistent problem once, not at every program that comes to
    // the front (over the game); a choice by hand tells every one.
    OncePerCauseSink onceForFiles(host_, toldFileProblems_);
    OncePerCauseSink onceForMouse(host_, toldMouseProblems_);
    MessageSink& fileMessages = byHand ? static_cast<MessageSink&>(host_) : onceForFiles;
    MessageSink& mouseMessages = byHand ? static_cast<MessageSink&>(host_) : onceForMouse;
    outcome = LoadProfileIntoMouse(mouse_, mouseMessages, fileMessages,
                                   window_.Text(UiTextKey::MsgMouseNotDetected), state_.device,
                                   state_.settings, state_.captions, profile,
                                   {state_.files.configBin, state_.files.strIni,
                                    std::string(window_.Text(UiTextKey::StrIniSection))});
  }
  writing.LetGo();
  host_.SetBusy(false);
  if (outcome.configSaved && outcome.captionsSaved) {
    toldFileProblems_.clear();  // a problem that comes back is news again
  }
  if (outcome.mouseWhole) {
    toldMouseProblems_.clear();  // the mouse's problem is over
    pageProfile_ = PageProfile{name, profile, identity};
    SetActive(name);
    // Renamed in a box of the load (q8ctl told it then, of another page's profile).
    FollowPageProfileFile();
  } else {
    // The mouse holds part of the profile: none is active, and nothing is saved into any profile
    // until a whole load.
    pageProfile_.reset();
    SetActive(std::nullopt);
  }
  if (!outcome.mouseWhole && !outcome.configSaved) {
    // Neither the mouse nor config.bin took the profile: the page stays what it was, not a record
    // that nothing holds (which "Save current as" would then save, and OK write), and it is read
    // again from the files at the next show when it was to be before.
    state_.settings = pageBefore;
    state_.captions = captionsBefore;
    state_.reloadOnShow = reloadBefore;
    state_.settingsNewerOnDisk = newerBefore;
  } else {
    // The page shows what the files now hold, whatever the mouse took.
    state_.settings.deviceConfigBackup = state_.settings.deviceConfig;
  }
  writing.End(outcome.mouseWhole);
  window_.PageChanged();
  ReportConnectionProblems();
  if (outcome.mouseWhole) {
    TellLoaded(name);
  } else {
    TellNotLoaded(name, {});
  }
}

// --- What the profiles dialog did ----------------------------------------------------------------

Profile SettingsKeeper::AppliedAsProfile() {
  const std::string section(window_.Text(UiTextKey::StrIniSection));
  return {state_.settings.deviceConfigBackup, section,
          ReadStrIniSettings(state_.files.strIni, section).captions, KnownSensor()};
}

void SettingsKeeper::SavedAppliedAs(const std::string& name) {
  if (!pageProfile_ || !SameNameIgnoringCase(pageProfile_->name, name)) {
    return;
  }
  // What the file holds now, as the next comparison reads it.
  const auto saved = Profiles().Load(pageProfile_->name);
  if (const Profile* file = std::get_if<Profile>(&saved)) {
    KeepPageFile(*file);
  }
}

void SettingsKeeper::ProfileRenamed(const std::string& from, const std::string& to) {
  if (pageProfile_ && pageProfile_->name == from) {
    pageProfile_->name = to;
  }
  if (active_ == from) {
    SetActive(to);
  }
}

void SettingsKeeper::ProfileDeleted(const std::string& name) {
  if (pageProfile_ && pageProfile_->name == name) {
    pageProfile_.reset();
  }
  if (active_ == name) {
    SetActive(std::nullopt);
  }
}

// --- What the user is told -----------------------------------------------------------------------

void SettingsKeeper::Balloon(std::string_view text, bool warning) {
  host_.ShowBalloon({text, warning ? kBalloonTitleWarning : kBalloonTitleInfo, kChangeBalloonMs});
}

void SettingsKeeper::TellLoaded(const std::string& name) {
  Balloon(std::string(window_.Text(UiTextKey::NotifyProfile)) + name, /*warning=*/false);
}

void SettingsKeeper::TellNotLoaded(const std::string& name, const std::string& problem) {
  std::string text = std::string(window_.Text(UiTextKey::NotifyProfileNotLoaded)) + name;
  if (!problem.empty()) {
    text += "\n" + problem;
  }
  Balloon(text, /*warning=*/true);
}

void SettingsKeeper::TellRefused(const std::string& name, WriteGate gate) {
  switch (gate) {
    case WriteGate::kNoMouse:
      host_.ShowBalloon(
          {window_.Text(UiTextKey::MsgMouseNotDetected), kBalloonTitleWarning, kDeviceBalloonMs});
      return;
    case WriteGate::kBusy:
      // Its write would come between the reports of the one running.
      TellNotLoaded(name, {});
      return;
    case WriteGate::kUnread:
      TellNotLoaded(name, std::string(window_.Text(UiTextKey::MsgMouseNotReadWhole)));
      return;
    case WriteGate::kOpen:
      return;
  }
}

}  // namespace q8
