// The tray program's profiles over random sequences of events: what a user, the system and q8ctl
// bring, in any order, against the main window's controller and the simulated mouse, with a small
// model of what must stay true checked after every step (World::Check). RapidCheck shrinks a
// failure to its shortest sequence and prints it with the RC_PARAMS that replay it; RC_PARAMS also
// sets the runs ("max_success=2000 max_size=60", "seed=..."). To look past one fault at the next,
// Q8_PROFILE_MODEL_SKIP="menu,rule" leaves out checks by name, Q8_PROFILE_MODEL_LEAVE_OUT="q8ctl,
// in box: front" events by the start of their text. It holds the user's status socket as the tray
// program does: run it in a network namespace of its own (tests/support/own-network).
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include "app/keldra_dlg.h"
#include "cli/q8ctl.h"
#include "device/settings_encoding.h"
#include "device/simulated_hid_bus.h"
#include "settings/file_bytes.h"
#include "settings/str_ini.h"
#include "support/fake_window_host.h"
#include "support/fakes.h"
#include "support/status_listener.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

// q8ctl runs in-process and sleeps the protocol's delays for real (ThreadSleeper: nanosleep), a
// second for every load, set or apply, and RunQ8ctl takes no sleeper: here every sleep ends at
// once.
extern "C" int nanosleep(const timespec*, timespec*) {
  return 0;
}

namespace q8 {
namespace {

// --- Profiles, rules, programs and events --------------------------------------------------------

// As the menu sorts them. They differ in report rate and in the function of button 3 (page 3): a
// write that fails part-way takes the status, page 5 and page 4 at most, and leaves none whole.
const std::string kProfiles[] = {"Desktop", "Office", "Racing"};
// Every name a profile can have: the three, and one that q8ctl's renames can give.
const std::string kNames[] = {"Desktop", "Fast", "Office", "Racing"};
constexpr std::uint8_t kProfileRates[] = {8, 2, 4, 1, 8};  // then the two files q8ctl imports
constexpr std::uint8_t kProfileKeys[] = {4, 1, 3, 12, 0};
constexpr std::string_view kRules =
    "[Rules]\ngame.exe=Racing\nwork.exe=Desktop\nphoto.exe=Office\n[Default]\nProfile=Desktop\n";
struct Program {
  const char* name;  // empty: none (the bare desktop)
  bool wine;         // a Windows program under Wine: its name meets a rule in any letter case
};
constexpr Program kPrograms[] = {
    {"game.exe", false}, {"work.exe", false}, {"editor", false},   {"", false},
    {"GAME.EXE", true},  {"PHOTO.EXE", true}, {"Game.exe", false},
};
constexpr int kProgramCount = 7;
// The programs q8ctl's rules name.
const std::string kRulePrograms[] = {"game.exe", "work.exe", "editor", "photo.exe"};
constexpr std::uint8_t kRates[] = {1, 2, 4, 8};
const char* const kButtons[] = {"OK", "Apply", "Cancel", "Escape (hides)"};
constexpr Rect kButtonAreas[] = {MainWindowControls::kOkButton.region,
                                 MainWindowControls::kApplyButton.region,
                                 MainWindowControls::kCancelButton.region};

std::string RateText(std::uint8_t code) {
  return std::to_string(code == 0 ? 1000 : 1000 / code) + " Hz";
}
std::string RecordText(const std::optional<DeviceConfig>& record) {
  return record ? RateText((*record)[field::ReportRateCode]) + ", button 3 function " +
                      std::to_string(record->Button(field::KeyFunction, KeyConfigId::A, 3))
                : "nothing";
}
std::string ProgramText(int arg) {
  const Program& p = kPrograms[arg % kProgramCount];
  return *p.name == '\0' ? "no program (the desktop)"
                         : (p.wine ? "Wine program " : "") + std::string(p.name);
}
const std::string& ProfileOf(int arg) {
  return kProfiles[arg % 3];
}
const std::string& NameOf(int arg) {
  return kNames[arg % 4];
}
std::uint8_t RateOf(int arg) {
  return kRates[arg % 4];
}

enum class Kind {
  kFront,
  kShow,
  kEdit,
  kButton,
  kChoose,
  kUnplug,
  kPlug,
  kFailNextWrite,
  kConfig,
  kBox,
  kQ8ctl,
  kOtherHolds,
  kSaveCurrent,  // the profiles dialog's "Save current as" (replacing)
  kProfileEdit   // q8ctl's rename, delete, rule, remove-rule, default, no-default
};
// How often each comes, outside a box.
constexpr std::pair<int, Kind> kWeights[] = {
    {6, Kind::kFront},       {2, Kind::kShow},       {3, Kind::kEdit},  {5, Kind::kButton},
    {2, Kind::kChoose},      {1, Kind::kUnplug},     {3, Kind::kPlug},  {2, Kind::kFailNextWrite},
    {2, Kind::kConfig},      {2, Kind::kBox},        {5, Kind::kQ8ctl}, {1, Kind::kOtherHolds},
    {2, Kind::kSaveCurrent}, {4, Kind::kProfileEdit}};
constexpr int kWeightTotal = std::accumulate(std::begin(kWeights), std::end(kWeights), 0,
                                             [](int sum, const auto& w) { return sum + w.first; });
// One event; `arg` picks its arguments from the tables.
struct Event {
  Kind kind = Kind::kShow;
  int arg = 0;
  std::vector<Event> inner;  // what arrives while the box is open
};

bool HalfRead(const Event& e) {
  return e.kind == Kind::kPlug && e.arg % 3 == 0;
}
// q8ctl's arguments after --config.
std::vector<std::string> Q8ctlArgs(int arg) {
  const std::string& name = ProfileOf(arg / 5);
  switch (arg % 5) {
    case 0:
      return {"profile", "load", name};
    case 1:
      return {"set", "report-rate", std::to_string(1000 / RateOf(arg / 5))};
    case 2:
      return {"apply"};
    case 3:
      return {"profile", "import", "--force", "variant" + std::to_string(arg / 15 % 2) + ".ini",
              name};
    default:
      return {"profile", "save", "--force", name};
  }
}
// q8ctl's edits of the profile folder, after --config: between the four names (one of which is
// free at first), of the rules of four programs and of the default.
std::vector<std::string> EditArgs(int arg) {
  const int from = arg / 4 % 4;
  const std::string& profile = NameOf(arg / 16);
  const std::string& program = kRulePrograms[arg / 64 % 4];
  switch (arg % 4) {
    case 0:
      return {"profile", "rename", NameOf(from), NameOf(from + 1 + arg / 16 % 3)};
    case 1:
      return {"profile", "delete", NameOf(from)};
    case 2:
      return arg / 4 % 5 == 4 ? std::vector<std::string>{"profile", "remove-rule", program}
                              : std::vector<std::string>{"profile", "rule", program, profile};
    default:
      return arg / 4 % 5 == 4 ? std::vector<std::string>{"profile", "no-default"}
                              : std::vector<std::string>{"profile", "default", profile};
  }
}
// For set and apply, a program that comes to the front while q8ctl waits for the mouse.
std::optional<int> Interleaved(int arg) {
  const int n = arg % 5 == 1 ? arg / 20 : arg % 5 == 2 ? arg / 5 : 0;
  return n % 2 ? std::optional(n / 2 % kProgramCount) : std::nullopt;
}

std::string Describe(const Event& e) {
  const int a = e.arg;
  switch (e.kind) {
    case Kind::kFront:
      return "front: " + ProgramText(a);
    case Kind::kShow:
      return "tray click: show the window";
    case Kind::kEdit:
      return "edit: report rate " + RateText(RateOf(a));
    case Kind::kButton:
      return kButtons[a % 4];
    case Kind::kChoose:
      return "tray menu: choose " + NameOf(a);
    case Kind::kUnplug:
      return "unplug";
    case Kind::kPlug:
      return HalfRead(e) ? "plug, the read refused after the status" : "plug";
    case Kind::kFailNextWrite:
      return "the next write fails after " + std::to_string(1 + a % 3) + " changes";
    case Kind::kConfig:
      return a % 2 ? "config.bin savable" : "config.bin unsavable";
    case Kind::kOtherHolds:
      return "another program holds the mouse when the tray next takes it: q8ctl set report-rate "
             "500";
    case Kind::kSaveCurrent:
      return "profiles dialog: save the current settings as " + ProfileOf(a) + " (replace)";
    case Kind::kBox: {
      std::string text = "the next message box stays open while {";
      for (const Event& inner : e.inner)
        text += " " + Describe(inner) + ";";
      return text + " }";
    }
    case Kind::kProfileEdit: {
      std::string text = "q8ctl";
      for (const std::string& word : EditArgs(a))
        text += " " + word;
      return text;
    }
    case Kind::kQ8ctl: {
      std::string text = "q8ctl";
      for (const std::string& word : Q8ctlArgs(a))
        text += " " + word;
      const auto program = Interleaved(a);
      return text + (program
                         ? ", and " + ProgramText(*program) + " comes to the front while it waits"
                         : "");
    }
  }
  return "?";
}

// Whether the comma-separated list in the environment variable starts `item`.
bool Listed(const char* variable, const std::string& item) {
  std::istringstream list(std::getenv(variable) ? std::getenv(variable) : "");
  for (std::string entry; std::getline(list, entry, ',');)
    if (!entry.empty() && item.starts_with(entry))
      return true;
  return false;
}

// Any of `count` numbers, at every size (inRange alone reaches only part of them at small sizes).
rc::Gen<int> Any(int count) {
  return rc::gen::resize(rc::kNominalSize, rc::gen::inRange(0, count));
}

// In a box only what reaches a program whose window a box blocks: the system and the tray icon.
rc::Gen<Event> AnyEvent(bool inBox) {
  const auto kind =
      inBox ? rc::gen::element(Kind::kFront, Kind::kShow, Kind::kChoose, Kind::kUnplug, Kind::kPlug)
            : rc::gen::map(Any(kWeightTotal), [](int n) {
                for (const auto& [weight, k] : kWeights)
                  if ((n -= weight) < 0)
                    return k;
                return Kind::kFront;
              });
  const auto event = rc::gen::mapcat(kind, [inBox](Kind k) -> rc::Gen<Event> {
    if (k == Kind::kBox) {
      const auto inner = rc::gen::container<std::vector<Event>>(AnyEvent(true));
      return rc::gen::map(rc::gen::resize(3, rc::gen::nonEmpty(inner)),
                          [](std::vector<Event> events) {
                            return Event{Kind::kBox, 0, events};
                          });
    }
    return rc::gen::map(Any(1000), [k, inBox](int arg) {  // a plug in a box reads whole
      return Event{k, arg + (inBox && k == Kind::kPlug && arg % 3 == 0), {}};
    });
  });
  return rc::gen::suchThat(event, [inBox](const Event& e) {
    return !Listed("Q8_PROFILE_MODEL_LEAVE_OUT", (inBox ? "in box: " : "") + Describe(e));
  });
}

// --- What q8ctl tells a running tray program -----------------------------------------------------

test::StatusListener& Listener() {
  static test::StatusListener listener;
  return listener;
}

// The files every sequence starts from, made once: config.bin and str.ini as delivered, the three
// profiles with their rules, and the two files q8ctl imports.
const std::filesystem::path& StartingFiles() {
  static const test::TempDir dir;
  [[maybe_unused]] static const bool made = [] {
    const std::filesystem::path data(Q8_DATA_DIR);
    std::filesystem::copy_file(data / "config.bin", dir / "config.bin");
    std::filesystem::copy_file(data / "str.ini", dir / "str.ini");
    test::RecordingMessageSink sink;
    SettingsRecord base;
    LoadConfigFile(dir / "config.bin", base, sink);
    Profile profile{base.deviceConfig, "Setting-EN",
                    ReadStrIniSettings(dir / "str.ini", "Setting-EN").captions};
    const ProfileStore store(ProfileFolderIn(dir.path()));
    for (std::size_t i = 0; i < 5; ++i) {
      profile.config[field::ReportRateCode] = kProfileRates[i];
      profile.config.Button(field::KeyFunction, KeyConfigId::A, 3) = kProfileKeys[i];
      EXPECT_FALSE(
          i < 3 ? store.Save(kProfiles[i], profile)
                : WriteProfileFile(dir / ("variant" + std::to_string(i - 3) + ".ini"), profile));
    }
    test::WriteBytes(store.Folder() / "rules.ini", {kRules.begin(), kRules.end()});
    return true;
  }();
  return dir.path();
}

// --- The world: folder, mouse, controller, the faults' switches and the model --------------------

struct Model {};  // the commands need nothing to be generated; the model of the truth is World's

class World {
 public:
  World() {
    std::filesystem::copy(StartingFiles(), dir.path(), std::filesystem::copy_options::recursive);
    for (const std::string& name : kNames)
      if (const auto record = Record(name))
        history[name].push_back(*record);
    mouse.OnLock([this] { Taken(); },
                 [this] {  // a write that failed part-way used up its fault
                   if (--depth == 0 && !nested && hold.failAfter > 0 && hold.changes > 0)
                     writeFailsAfter = 0;
                 });
    mouse.OnChange([this](const SimulatedMouseMemory&) { Changed(); });
    bus.FollowPlugState([this] { return Answers(); });
    state.executable = dir / "TarnixMouseApp.exe";
    dialog.SetProfilesDialog(&profilesDialog);
    RC_ASSERT(dialog.OnInitDialog());
    dialog.OnNcPaint();
    dialog.OnNcPaint();
    Listener().Take();  // from the runs before
  }

  void Run(const Event& event) {
    const Before before = Snapshot(event);
    trayWrites = q8ctlWrites = unreadWrites = refusals = 0;
    boxOpened = false;
    edit = {};
    Do(event);
    Check(event, before);
  }

 private:
  enum class Actor { kTray, kQ8ctl };
  struct Before {
    std::map<std::string, std::vector<std::uint8_t>> files;  // each profile's
    std::set<std::string> held;
    DeviceConfig pageRecord;  // as last loaded or applied
    DeviceConfig pageEdited;  // with the changes shown
    std::size_t balloons = 0;
    // The profile of the next program in front, loaded whole by the tray and still in the mouse.
    std::optional<std::string> needlessRewrite;
    bool mouseHoldsConfigBin = false;
    std::string configBinText;
  };

  // --- The faults, at the mouse's lock (one hold per program's operation) and on the bus ---
  void Taken() {
    if (depth++ > 0 || nested)
      return;
    if (actor == Actor::kQ8ctl && interleaved) {
      const Event inFront{Kind::kFront, *std::exchange(interleaved, std::nullopt), {}};
      Nested(Actor::kTray, [&] { Do(inFront); });
    } else if (actor == Actor::kTray && std::exchange(otherFirst, false)) {
      Nested(Actor::kQ8ctl, [&] {
        RC_ASSERT(Q8ctl({Config(), "set", "report-rate", "500"}) != kExitUsage);
      });
    }
    hold = {false, writeFailsAfter, 0, 0};
    if (actor == Actor::kTray && readFault) {
      hold.halfRead = *std::exchange(readFault, std::nullopt);
      readWhole = !hold.halfRead;
    }
  }
  bool Answers() {
    const bool refused = depth > 0 && !nested &&
                         (!cable || (hold.halfRead && ++hold.reports > 2) ||
                          (hold.failAfter > 0 && hold.changes >= hold.failAfter));
    refusals += refused;
    return cable && !refused;
  }
  void Changed() {
    hold.changes += !nested;
    if (actor == Actor::kQ8ctl) {
      ++q8ctlWrites;
      ruleOwed = false;  // the user's own write with q8ctl stands
      loadedWhole.reset();
    } else {
      ++trayWrites;
      unreadWrites += !readWhole;
    }
  }
  template <typename Run>
  void Nested(Actor who, const Run& run) {
    const Actor before = std::exchange(actor, who);
    nested = true;
    run();
    nested = false;
    actor = before;
  }

  // --- Events ---
  std::string Config() const { return "--config=" + (dir / "config.bin").string(); }
  int Q8ctl(const std::vector<std::string>& args) {
    const Actor before = std::exchange(actor, Actor::kQ8ctl);
    std::ostringstream out, err;
    const int status = RunQ8ctl(args, out, err, &bus);
    actor = before;
    return status;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(store.PathOf(name)); }
  void Do(const Event& e) {
    const int a = e.arg;
    switch (e.kind) {
      case Kind::kFront:
        ruleOwed = ruleOwed || front != a % kProgramCount;
        toldWhyNot = toldWhyNot && front == a % kProgramCount;
        front = a % kProgramCount;
        dialog.OnForegroundProgram(kPrograms[*front].name, false, kPrograms[*front].wine);
        break;
      case Kind::kShow:
        dialog.OnTrayCallback(kTrayLeftButtonUp);
        break;
      case Kind::kEdit:
        edited = host.visible;
        if (host.visible)
          state.settings.deviceConfig[field::ReportRateCode] = RateOf(a);
        break;
      case Kind::kButton: {
        // What OK and Apply wrote stands over the rule until the program in front changes; so
        // does a q8ctl write let in by their box.
        const bool owed = std::exchange(ruleOwed, false);
        const int writes = trayWrites, otherWrites = q8ctlWrites;
        if (host.visible && a % 4 == 3)
          dialog.OnKeyDown(kKeyEscape);
        else if (host.visible)
          dialog.OnLButtonDown({kButtonAreas[a % 4].left + 10, kButtonAreas[a % 4].top + 10});
        ruleOwed =
            ruleOwed || (owed && q8ctlWrites == otherWrites && (a % 4 > 1 || trayWrites == writes));
        edited = edited && a % 4 > 1;  // OK and Apply apply the changes
        break;
      }
      case Kind::kChoose: {
        dialog.OnTrayCallback(kTrayRightButtonUp);
        const auto names = store.List();
        const int writes = trayWrites;
        const auto at = std::find(names.begin(), names.end(), NameOf(a)) - names.begin();
        const bool duringWrite = depth > 0;
        dialog.OnCommand(kCommandFirstProfile + static_cast<int>(at));
        ruleOwed = ruleOwed && trayWrites == writes;  // taken: the choice stands over the rule
        // Made in a box of a running write, the choice is refused: "not loaded" is then the truth,
        // whatever that write leaves in the mouse.
        refusals += duringWrite && trayWrites == writes;
        break;
      }
      case Kind::kUnplug:
      case Kind::kPlug:
        cable = e.kind == Kind::kPlug;
        readFault = cable ? std::optional(HalfRead(e)) : readFault;
        // Plugged in, the mouse gets the profile of the program in front.
        ruleOwed = cable ? front.has_value() : ruleOwed;
        toldWhyNot = toldWhyNot && !cable;
        for (const std::string_view path : kSimulatedNotificationPaths)
          dialog.OnDeviceChange(cable ? 0x8000 : 0x8004, 5, std::string(path));
        break;
      case Kind::kFailNextWrite:
        writeFailsAfter = 1 + a % 3;
        break;
      case Kind::kConfig: {
        // A folder where the save puts its temporary file stops the save, also for root.
        const auto temp = dir / ("config.bin.tmp-" + std::to_string(::getpid()));
        a % 2 ? std::filesystem::remove(temp) : std::filesystem::create_directory(temp);
        break;
      }
      case Kind::kBox:
        host.whileMessageShows = [this, inner = e.inner] {
          World& world = *this;  // the box runs them once: this function goes now
          const std::vector<Event> events = inner;
          world.host.whileMessageShows = nullptr;
          world.boxOpened = true;
          for (const Event& event : events)
            world.Do(event);
        };
        break;
      case Kind::kQ8ctl: {
        std::vector<std::string> args = Q8ctlArgs(a);
        if (args.size() > 3 && args[1] == "import")
          args[3] = (dir / args[3]).string();
        args.insert(args.begin(), Config());
        interleaved = Interleaved(a);
        const bool loadOfNone = args.size() == 4 && args[2] == "load" && !Exists(args[3]);
        const int status = Q8ctl(args);
        interleaved.reset();
        // Every command the events name is one q8ctl takes; only a profile to load may be missing.
        RC_ASSERT(status != kExitUsage || loadOfNone);
        break;
      }
      case Kind::kOtherHolds:
        otherFirst = true;
        break;
      case Kind::kSaveCurrent:
        profilesDialog.user = [&](ProfilesPort& port) {
          RC_ASSERT(port.SaveCurrentAs(ProfileOf(a), true).Done());
        };
        dialog.OnCommand(kCommandManageProfiles);
        break;
      case Kind::kProfileEdit:
        Edit(EditArgs(a));
        break;
    }
    // What q8ctl told the tray program reaches it now, as through its event loop; also what it told
    // meanwhile (a q8ctl run at the hold of a load that a notice brought), before the next event.
    for (auto told = Listener().Take(); !told.empty(); told = Listener().Take())
      for (const auto& notification : told)
        dialog.OnStatusNotify(notification.type, notification.value);
  }

  // q8ctl's edit, done where the model says it can be, and what it means for the model: a profile's
  // versions, the rules and the tray's last whole load follow a rename and go with a delete; the
  // program in front gets what the rules give it now.
  void Edit(std::vector<std::string> args) {
    const std::string command = args[1];
    const std::string name = args.size() > 2 ? args[2] : "";
    const std::string to = args.size() > 3 ? args[3] : "";
    const bool doable = command == "rename"        ? Exists(name) && !Exists(to)
                        : command == "delete"      ? Exists(name)
                        : command == "rule"        ? Exists(to)
                        : command == "remove-rule" ? rules.contains(name)
                        : command == "default"     ? Exists(name)
                                                   : true;
    args.insert(args.begin() + 1, Config());
    const int status = Q8ctl(args);
    RC_ASSERT(status == (doable ? kExitOk : kExitUsage));
    if (!doable)
      return;
    const auto follow = [&](std::optional<std::string>& profile) {
      if (profile == name)
        profile = command == "rename" ? std::optional(to) : std::nullopt;
    };
    if (command == "rename" || command == "delete") {
      if (command == "rename")
        history[to] = history[name];
      history[name].clear();
      follow(defaultProfile);
      follow(loadedWhole);
      for (auto rule = rules.begin(); rule != rules.end();) {
        if (rule->second != name)
          ++rule;
        else if (command == "rename")
          (rule++)->second = to;
        else
          rule = rules.erase(rule);
      }
    } else if (command == "rule") {
      rules[name] = to;
    } else if (command == "remove-rule") {
      rules.erase(name);
    } else {
      defaultProfile = command == "default" ? std::optional(name) : std::nullopt;
    }
    edit = {command, name, to};
    ruleOwed = front.has_value();
    toldWhyNot = false;
  }

  // --- The truth as the files and the mouse tell it ---
  // A profile's record as its file holds it now.
  std::optional<DeviceConfig> Record(const std::string& name) {
    known[name] = ReadFileBytes(store.PathOf(name)).value_or(std::vector<std::uint8_t>{});
    return Parsed(known[name]);
  }
  // The record of a profile file's content (each content parsed once in the whole run).
  static std::optional<DeviceConfig> Parsed(const std::vector<std::uint8_t>& bytes) {
    // Keyed by the bytes as a string: GCC 12's optimiser warns falsely on comparing byte vectors.
    static std::map<std::string, std::optional<DeviceConfig>> parsed;
    const auto [at, added] = parsed.try_emplace(std::string(bytes.begin(), bytes.end()));
    if (added) {
      const auto read = ParseProfileFile(bytes);
      const auto* profile = std::get_if<Profile>(&read);
      at->second = profile ? std::optional(profile->config) : std::nullopt;
    }
    return at->second;
  }
  // The mouse holds `config` whole: its memory is what writing it would make of it.
  bool Holds(const DeviceConfig& config) const {
    DeviceImage image = mouse.Memory().image;
    EncodeConstantTables(image);
    EncodeDeviceConfig(config, image);
    return image == mouse.Memory().image &&
           mouse.Memory().status.reportRateCode == config[field::ReportRateCode];
  }
  // Some version its file has held: one replaced on disk is still what the mouse took.
  bool HoldsAVersionOf(const std::string& name) const {
    if (!history.contains(name))
      return false;
    const auto& versions = history.at(name);
    return std::any_of(versions.begin(), versions.end(), [&](const auto& c) { return Holds(c); });
  }
  std::set<std::string> Held() {
    std::set<std::string> held;
    for (const std::string& name : kNames)
      if (const auto record = Record(name); record && Holds(*record))
        held.insert(name);
    return held;
  }
  std::string MouseText() {
    std::string text = "the mouse holds " + RateText(mouse.Memory().status.reportRateCode);
    for (const std::string& name : Held())
      text += ", " + name + " whole";
    return text;
  }
  // The profile the rules give a program: its own rule (for a Windows program under Wine, one
  // written in any letter case), else the default.
  std::optional<std::string> WantedFor(int program) const {
    const Program& p = kPrograms[program];
    for (const auto& [name, profile] : rules) {
      const bool same =
          p.wine ? std::equal(name.begin(), name.end(), p.name, p.name + std::strlen(p.name),
                              [](char x, char y) { return std::tolower(x) == std::tolower(y); })
                 : name == p.name;
      if (*p.name != '\0' && same)
        return profile;
    }
    return defaultProfile;
  }
  std::optional<std::string> Wanted() const { return front ? WantedFor(*front) : std::nullopt; }

  Before Snapshot(const Event& event) {
    Before before;
    before.held = Held();  // reads every profile's file
    before.files = known;
    before.pageRecord = state.settings.deviceConfigBackup;
    before.pageEdited = state.settings.deviceConfig;
    before.balloons = host.balloons.size();
    {
      test::RecordingMessageSink sink;
      SettingsRecord files;
      LoadConfigFile(dir / "config.bin", files, sink);
      before.mouseHoldsConfigBin = sink.messages.empty() && Holds(files.deviceConfig);
      before.configBinText = RecordText(files.deviceConfig) + " (mouse " +
                             RateText(mouse.Memory().status.reportRateCode) + ")";
    }
    const int program = event.arg % kProgramCount;
    if (event.kind == Kind::kFront && front != program && loadedWhole &&
        loadedWhole == WantedFor(program) && before.held.contains(*loadedWhole))
      before.needlessRewrite = loadedWhole;
    // Renamed, it is still the program in front's profile (its rules follow it), in the mouse.
    const std::vector<std::string> change = EditArgs(event.arg);
    if (event.kind == Kind::kProfileEdit && change[1] == "rename" && !Exists(change[3]) &&
        loadedWhole == change[2] && before.held.contains(change[2]) && Wanted() == change[2])
      before.needlessRewrite = change[3];
    return before;
  }

  // The last balloon about a profile since `from`: its name and whether it said loaded. A failure
  // told about the rule's profile is the reason it is not in the mouse.
  std::optional<std::pair<std::string, bool>> LastProfileBalloon(std::size_t from) {
    const std::string loaded(TextFor(UiTextKey::NotifyProfile, UiLanguage::EN));
    const std::string failed(TextFor(UiTextKey::NotifyProfileNotLoaded, UiLanguage::EN));
    std::optional<std::pair<std::string, bool>> last;
    for (std::size_t i = from; i < host.balloons.size(); ++i) {
      const std::string& text = host.balloons[i].text;
      if (text.starts_with(loaded))
        last = {text.substr(loaded.size()), true};
      else if (text.starts_with(failed))
        last = {text.substr(failed.size(), text.find('\n') - failed.size()), false};
      toldWhyNot = toldWhyNot || (last && !last->second && last->first == Wanted());
    }
    return last;
  }

  // What the tray menu checks ("menu Profiles: A, [B], C | Exit") and what its tip names on the
  // line after the tool's: both the profile the tray calls active.
  std::vector<std::string> NamedActive() {
    dialog.OnTrayCallback(kTrayRightButtonUp);
    std::vector<std::string> named;
    const std::string& menu = host.calls.back();
    if (const auto open = menu.find('['); open != std::string::npos)
      named.push_back(menu.substr(open + 1, menu.find(']') - open - 1));
    const std::string label(TextFor(UiTextKey::TrayTipProfile, UiLanguage::EN));
    if (const auto at = host.trayTip.find("\n" + label); at != std::string::npos)
      named.push_back(host.trayTip.substr(at + 1 + label.size()));
    return named;
  }

  void Check(const Event& event, const Before& before) {
    const auto fail = [&](const std::string& check, const auto& why) {
      if (!Listed("Q8_PROFILE_MODEL_SKIP", check))
        RC_FAIL("after \"" + Describe(event) + "\": " + why() + " [" + check + "]");
    };
    // No byte the tool never read reaches the mouse: pages 1 and 2 it never interprets stay, and
    // after a read that was not whole the tray writes nothing until a whole read.
    static const DeviceImage factory = FactoryMouseMemory().image;
    const auto& image = mouse.Memory().image;
    const bool intact =
        std::equal(factory.Page(1).begin(), factory.Page(2).end(), image.Page(1).begin());
    if (unreadWrites > 0 || !intact) {
      fail("unread", [&] {
        return "the tray wrote the mouse after a read that was not whole (" +
               std::to_string(unreadWrites) + " changes); pages 1 and 2 " +
               (intact ? "are intact" : "no longer hold what the mouse held");
      });
    }

    // No profile file changes but by an explicit save, by q8ctl's rename or delete, or by OK or
    // Apply on its own load.
    for (const std::string& name : kNames) {
      const auto now = Record(name);
      if (known[name] == before.files.at(name))
        continue;
      const auto was = Parsed(before.files.at(name));
      const bool saved = (event.kind == Kind::kQ8ctl && Q8ctlArgs(event.arg).back() == name &&
                          Q8ctlArgs(event.arg)[1] != "load") ||
                         (event.kind == Kind::kSaveCurrent && ProfileOf(event.arg) == name);
      const bool applied = event.kind == Kind::kButton && event.arg % 4 < 2 &&
                           was == before.pageRecord && now == before.pageEdited;
      const bool gone = (edit.command == "rename" || edit.command == "delete") &&
                        edit.name == name && known[name].empty();
      const bool renamedHere =
          edit.command == "rename" && edit.to == name && known[name] == before.files.at(edit.name);
      if (!saved && !applied && !gone && !renamedHere) {
        fail("files", [&] {
          return "profile " + name + " was overwritten (it held " + RecordText(was) + ", now " +
                 RecordText(now) + ") from a page that had not come from it (" +
                 RecordText(before.pageRecord) + ")";
        });
      }
      if (now)
        history[name].push_back(*now);
    }

    // The current settings saved as a profile are what the mouse holds, where it
    // holds config.bin's record whole (what q8ctl profile save would save).
    if (event.kind == Kind::kSaveCurrent && before.mouseHoldsConfigBin) {
      const auto savedRecord = Record(ProfileOf(event.arg));
      if (!savedRecord || !Holds(*savedRecord))
        fail("current", [&] {
          return "the dialog saved " + ProfileOf(event.arg) + " as " + RecordText(savedRecord) +
                 ", but " + MouseText() +
                 " and config.bin's record, before: " + before.configBinText;
        });
    }

    // A balloon never calls a failure a success, nor a load the mouse took whole a failure.
    const auto balloon = LastProfileBalloon(before.balloons);
    const std::set<std::string> held = Held();
    if (balloon && balloon->second && q8ctlWrites == 0 && !held.contains(balloon->first)) {
      fail("balloon", [&] {
        return "the tray said \"Switch to profile " + balloon->first + "\", but " + MouseText();
      });
    } else if (balloon && !balloon->second && refusals == 0 && q8ctlWrites == 0 &&
               held.contains(balloon->first) && !before.held.contains(balloon->first)) {
      fail("balloon", [&] {
        return "the tray said \"Profile not loaded: " + balloon->first +
               "\", but the mouse took it whole";
      });
    }

    // The menu's check mark and the tip name what the mouse holds.
    for (const std::string& active : NamedActive()) {
      if (!HoldsAVersionOf(active))
        fail("menu", [&] { return "the tray names " + active + " active, but " + MouseText(); });
    }

    // When nothing holds back, the mouse ends with the rule's profile, or the user was told why
    // not. A switch waits while the window is shown with changes (even changed back: nothing tells
    // of an edit) until it is hidden or they are applied.
    edited = edited && host.visible;
    const bool editsShown = host.visible && (edited || state.settings.deviceConfig !=
                                                           state.settings.deviceConfigBackup);
    if (ruleOwed && Wanted() && cable && readWhole && !editsShown && !toldWhyNot &&
        !HoldsAVersionOf(*Wanted())) {
      fail("rule", [&] {
        return ProgramText(*front) + " is in front and nothing holds back, but " + MouseText() +
               " instead of " + *Wanted() + ", and nobody said why";
      });
    }

    // A profile loaded whole and still in the mouse is not written again for the next program, nor
    // after a rename.
    if (before.needlessRewrite && !boxOpened && trayWrites > 0) {
      fail("rewrite", [&] {
        return *before.needlessRewrite + " was loaded whole and is still in the mouse, yet it " +
               "was written again (" + std::to_string(trayWrites) + " changes)";
      });
    }
    if (q8ctlWrites == 0 && trayWrites > 0) {
      const bool whole = balloon && refusals == 0 && held.contains(balloon->first);
      loadedWhole = whole ? std::optional(balloon->first) : std::nullopt;
    }
  }

  test::TempDir dir;
  const ProfileStore store{ProfileFolderIn(dir.path())};
  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  test::NoSleeper sleeper;
  struct Connected {
    Connected(HidBus& hidBus, Sleeper& noSleep) { connection.UseBus(hidBus, noSleep); }
    MouseConnection connection;
  } connected{bus, sleeper};
  AppState state;
  test::FakeMainWindowHost host;
  PngDecoder decoder;
  CKeldraDlg dialog{state, host, connected.connection, decoder};
  struct FakeProfilesDialog final : ProfilesDialogPort {
    void RunProfilesDialog(ProfilesPort& profiles) override { user(profiles); }
    std::function<void(ProfilesPort&)> user;
  } profilesDialog;

  // The faults' switches.
  bool cable = true;
  std::optional<bool> readFault;   // the tray's next read: refused after its status (true)
  int writeFailsAfter = 0;         // the next write: the mouse takes this many changes only
  std::optional<int> interleaved;  // a program in front while q8ctl waits for the mouse
  bool otherFirst = false;         // q8ctl set runs at the tray's next hold
  struct Hold {
    bool halfRead;
    int failAfter, reports, changes;
  } hold{};
  int depth = 0;
  bool nested = false;  // another program's operation, run inside one's hold: no faults
  Actor actor = Actor::kTray;

  // The model: what the user and the system did, and what each profile's file has held.
  std::optional<int> front;  // the program in front, once one came
  bool ruleOwed = false;     // the program in front or the mouse came since a choice or q8ctl
  bool toldWhyNot = false;   // a load of the rule's profile was told to have failed
  bool readWhole = true;
  bool edited = false;                     // changes made in the window shown
  std::optional<std::string> loadedWhole;  // the tray's last write: this profile's load, whole
  std::map<std::string, std::vector<DeviceConfig>> history;
  std::map<std::string, std::vector<std::uint8_t>> known;  // each profile's file as last read
  // The rules as q8ctl's edits left them: program, profile; the profile of every other program.
  std::map<std::string, std::string> rules{
      {"game.exe", "Racing"}, {"work.exe", "Desktop"}, {"photo.exe", "Office"}};
  std::optional<std::string> defaultProfile = "Desktop";

  // In the event now running.
  int trayWrites = 0, q8ctlWrites = 0, unreadWrites = 0, refusals = 0;
  bool boxOpened = false;
  struct {
    std::string command, name, to;
  } edit;  // q8ctl's edit that was done
};

// One command of RapidCheck's state machine: an event drawn at random, then every check.
struct Step final : rc::state::Command<Model, World> {
  Event event = *AnyEvent(false);
  void run(const Model&, World& world) const override { world.Run(event); }
  void show(std::ostream& os) const override { os << Describe(event); }
};

RC_GTEST_PROP(ProfileModelTest, OneTruthAboutTheMouseAndItsProfiles, ()) {
  if (const std::string problem = Listener().Problem(); !problem.empty()) {
    RC_FAIL("the status socket cannot be held as the tray program holds it (" + problem +
            "): run this in a network namespace of its own (tests/support/own-network)");
  }
  World world;
  rc::state::check(Model{}, world, rc::state::gen::execOneOfWithArgs<Step>());
}

}  // namespace
}  // namespace q8
