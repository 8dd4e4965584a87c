#include "cli/profile_command.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/apply_settings.h"
#include "app/keldra_dlg.h"
#include "app/profile_actions.h"
#include "app/profile_store.h"
#include "cli/mouse_session.h"
#include "cli/q8ctl.h"
#include "cli/q8ctl_commands.h"
#include "cli/termination_hold.h"
#include "cli/tray_program.h"
#include "model/ui_text.h"
#include "settings/str_ini.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

// The number of arguments each profile command takes: at least, at most.
std::optional<std::pair<std::size_t, std::size_t>> ProfileArity(const std::string& command) {
  using Arity = std::pair<std::size_t, std::size_t>;
  if (command == "list" || command == "rules" || command == "no-default") {
    return Arity{0, 0};
  }
  if (command == "save" || command == "load" || command == "delete" || command == "show" ||
      command == "remove-rule" || command == "default") {
    return Arity{1, 1};
  }
  if (command == "export" || command == "rename" || command == "rule") {
    return Arity{2, 2};
  }
  if (command == "import") {
    return Arity{1, 2};
  }
  return std::nullopt;
}

// The outcome of a profile action as q8ctl tells it: what was done on standard output, a name or
// file that cannot be used (exit status 2) or a file that could not be written (1) on standard
// error. `clashHint` says how to go on where a profile of the name exists.
int Told(const ProfileOutcome& outcome, std::string_view clashHint, std::ostream& out,
         std::ostream& err) {
  switch (outcome.status) {
    case ProfileOutcome::Status::kDone:
      out << outcome.message << '\n';
      return kExitOk;
    case ProfileOutcome::Status::kClash:
      return BadInput(outcome.message + "; " + std::string(clashHint), err);
    case ProfileOutcome::Status::kRefused:
      return BadInput(outcome.message, err);
    case ProfileOutcome::Status::kFailed:
      break;
  }
  err << "q8ctl: " << outcome.message << '\n';
  return kExitDeviceFailure;
}

// A change of the profile folder, told as Told tells it; a running tray program hears of it (value:
// kStatusProfilesEdited's) when the folder may have changed (done, or failed part-way): its active
// profile follows a rename or a delete, and after a change of the rules the program in front gets
// what they give it now. A profile saved or imported is told too, so that the tray never takes it
// for the new name of its active profile when that is renamed or deleted later.
int ToldTrayToo(const ProfileOutcome& outcome, std::intptr_t edit, std::string_view clashHint,
                std::ostream& out, std::ostream& err) {
  const int status = Told(outcome, clashHint, out, err);
  if (outcome.Done() || outcome.status == ProfileOutcome::Status::kFailed) {
    TellTrayProgram(kStatusProfilesEdited, edit, err);
  }
  return status;
}
int ToldTrayToo(const ProfileOutcome& outcome, std::ostream& out, std::ostream& err) {
  return ToldTrayToo(outcome, kProfilesRenamedOrRulesChanged, {}, out, err);
}

// rules: each rule as rules.ini holds it, then the default.
int ListRules(const ProfileActions& actions, std::ostream& out) {
  const ProfileRules rules = actions.Rules();
  for (const auto& [program, profile] : rules.rules) {
    out << program << " = " << profile << '\n';
  }
  if (!rules.defaultProfile.empty()) {
    out << "every other program = " << rules.defaultProfile << '\n';
  }
  return kExitOk;
}

// load NAME: the profile's record goes to the mouse and config.bin exactly as apply sends a
// config.bin, its captions into str.ini, through the load the tray program makes too; a running
// tray program hears of it.
int LoadProfile(const Invocation& invocation, const ProfileActions& files, const Profile& profile,
                HidBus* systemBus, std::ostream& out, std::ostream& err) {
  StreamMessageSink configMessages(err);
  auto loaded = LoadSettings(files.ConfigBin(), configMessages);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return BadInput(*problem, err);
  }
  if (configMessages.Count() > 0) {
    return kExitUsage;
  }
  SettingsRecord settings = std::get<SettingsRecord>(loaded);
  StreamMessageSink messages(err);
  MouseSession session(invocation, systemBus, messages, err);
  const MouseSession::Outcome outcome = session.Open(/*holdForWrite=*/true);
  int status = outcome == MouseSession::Outcome::kBadInput ? kExitUsage : kExitDeviceFailure;
  if (outcome == MouseSession::Outcome::kReady) {
    const int messagesBefore = messages.Count();
    const int refusedBefore = session.FailedReports();
    ButtonCaptions captions;
    WriteOutcome written;
    RunHoldingTermination([&] {
      written = LoadProfileIntoMouse(session.Connection(), messages, messages,
                                     TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN),
                                     session.Device(), settings, captions, profile,
                                     {files.ConfigBin(), files.StrIni(), files.CaptionSection()});
    });
    if (messages.Count() == messagesBefore && !written.mouseWhole) {
      err << "q8ctl: the mouse stopped answering while it was written ("
          << session.FailedReports() - refusedBefore
          << " feature reports failed); it may hold a partial write\n";
    }
    status =
        written.mouseWhole && messages.Count() == messagesBefore ? kExitOk : kExitDeviceFailure;
  }
  // The files kept on the side are part of the result: both are told about when they fail.
  const bool stateSaved = session.StateSaved();
  const bool traceWritten = session.TraceWritten();
  if (status == kExitOk && !(stateSaved && traceWritten)) {
    status = kExitDeviceFailure;
  }
  if (status == kExitOk) {
    out << "applied " << files.ConfigBin().string() << '\n';
  }
  if (outcome == MouseSession::Outcome::kReady) {
    // The files hold the profile even when the mouse did not take it whole: a running tray
    // program reads them again and no longer takes its own last profile for the mouse's.
    session.LetGo();
    TellTrayProgram(kStatusProfileLoaded, 0, err);
  }
  return status;
}

}  // namespace

int RunProfile(const Invocation& invocation, HidBus* systemBus, std::ostream& out,
               std::ostream& err) {
  const std::string command = invocation.args.empty() ? std::string() : invocation.args[0];
  const std::vector<std::string> args(invocation.args.begin() + (invocation.args.empty() ? 0 : 1),
                                      invocation.args.end());
  const auto arity = ProfileArity(command);
  if (!arity) {
    return UsageError(
        command.empty() ? "profile needs a command" : "unknown profile command '" + command + "'",
        "profile", err);
  }
  if (args.size() < arity->first || args.size() > arity->second) {
    return UsageError("wrong number of arguments for 'profile " + command + "'", "profile", err);
  }
  std::string error;
  const auto configBin = ConfigPath(invocation, error);
  if (!configBin) {
    return BadInput(error + ", so there is no profile folder", err);
  }
  const ProfileActions actions(*configBin);
  const ProfileStore& store = actions.Store();
  constexpr std::string_view kReplaceHint = " under another NAME, or replace it with --force";

  if (command == "list") {
    for (const std::string& name : actions.List()) {
      out << name << '\n';
    }
    return kExitOk;
  }
  if (command == "rules") {
    return ListRules(actions, out);
  }
  if (command == "no-default") {
    return ToldTrayToo(actions.SetDefault({}), out, err);
  }
  if (command == "import") {
    const std::optional<std::string> name =
        args.size() == 2 ? std::optional<std::string>(args[1]) : std::nullopt;
    return ToldTrayToo(actions.Import(PathFromUtf8(args[0]), name, invocation.force), kProfileSaved,
                       "import it" + std::string(kReplaceHint), out, err);
  }
  if (command == "rule") {
    return ToldTrayToo(actions.SetRule(args[0], args[1]), out, err);
  }
  if (command == "remove-rule") {
    return ToldTrayToo(actions.RemoveRule(args[0]), out, err);
  }

  const std::string& name = args[0];
  if (command == "save") {
    const auto current = actions.CurrentSettings();
    if (const auto* refused = std::get_if<ProfileOutcome>(&current)) {
      return Told(*refused, {}, out, err);
    }
    return ToldTrayToo(actions.SaveAs(name, std::get<Profile>(current), invocation.force),
                       kProfileSaved, "save it" + std::string(kReplaceHint), out, err);
  }
  if (command == "rename") {
    return ToldTrayToo(actions.Rename(name, args[1]), out, err);
  }
  if (command == "delete") {
    return ToldTrayToo(actions.Delete(name), out, err);
  }
  if (command == "default") {
    return ToldTrayToo(actions.SetDefault(name), out, err);
  }
  if (command == "export") {
    return Told(actions.Export(name, PathFromUtf8(args[1])), {}, out, err);
  }
  if (auto problem = ProfileNameProblem(name)) {
    return BadInput(*problem, err);
  }

  auto loaded = store.Load(name);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return BadInput(*problem, err);
  }
  const Profile& profile = std::get<Profile>(loaded);
  if (command == "show") {
    SettingsRecord settings;
    settings.deviceConfig = profile.config;
    Invocation show = invocation;
    show.command = "show";
    show.args.clear();
    return RunWithMouse(show, &settings, actions.ConfigBin(), nullptr, systemBus, out, err);
  }
  return LoadProfile(invocation, actions, profile, systemBus, out, err);
}

}  // namespace q8
