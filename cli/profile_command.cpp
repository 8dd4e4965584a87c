#include "cli/profile_command.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/apply_settings.h"
#include "app/keldra_dlg.h"
#include "cli/mouse_session.h"
#include "cli/q8ctl.h"
#include "cli/q8ctl_commands.h"
#include "cli/termination_hold.h"
#include "cli/tray_program.h"
#include "model/ui_text.h"
#include "settings/profile_file.h"
#include "settings/str_ini.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

// The files a profile command works on: config.bin, the str.ini and the profile folder beside
// it, and the caption section of str.ini's language.
struct ProfileFiles {
  std::filesystem::path configBin;
  std::filesystem::path strIni;
  std::string captionSection;
  ProfileStore store;
};

ProfileFiles ProfileFilesFor(const std::filesystem::path& configBin) {
  const std::filesystem::path folder = configBin.parent_path();
  const std::filesystem::path strIni = folder / kIniFileName;
  const UiLanguage language = SelectLanguage(ReadLanguageCode(strIni));
  return {configBin, strIni, std::string(TextFor(UiTextKey::StrIniSection, language)),
          ProfileStore(ProfileFolderIn(folder))};
}

// The number of arguments each profile command takes: at least, at most.
std::optional<std::pair<std::size_t, std::size_t>> ProfileArity(const std::string& command) {
  if (command == "list") {
    return std::pair<std::size_t, std::size_t>{0, 0};
  }
  if (command == "save" || command == "load" || command == "delete" || command == "show") {
    return std::pair<std::size_t, std::size_t>{1, 1};
  }
  if (command == "export") {
    return std::pair<std::size_t, std::size_t>{2, 2};
  }
  if (command == "import") {
    return std::pair<std::size_t, std::size_t>{1, 2};
  }
  return std::nullopt;
}

// load NAME: the profile's record goes to the mouse and config.bin exactly as apply sends a
// config.bin, its captions into str.ini, through the load the tray program makes too; a running
// tray program hears of it.
int LoadProfile(const Invocation& invocation, const ProfileFiles& files, const Profile& profile,
                HidBus* systemBus, std::ostream& out, std::ostream& err) {
  StreamMessageSink configMessages(err);
  auto loaded = LoadSettings(files.configBin, configMessages);
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
                                     {files.configBin, files.strIni, files.captionSection});
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
    out << "applied " << files.configBin.string() << '\n';
  }
  if (outcome == MouseSession::Outcome::kReady) {
    // The files hold the profile even when the mouse did not take it whole: a running tray
    // program reads them again and no longer takes its own last profile for the mouse's.
    std::string notRunning;  // a tray program that does not run needs no telling
    (void)NotifyTrayProgram(kStatusProfileLoaded, 0, notRunning);
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
  const ProfileFiles files = ProfileFilesFor(*configBin);
  const ProfileStore& store = files.store;

  if (command == "list") {
    for (const std::string& name : store.List()) {
      out << name << '\n';
    }
    return kExitOk;
  }
  if (command == "import") {
    auto read = ReadProfileFile(PathFromUtf8(args[0]));
    if (const auto* problem = std::get_if<std::string>(&read)) {
      return BadInput(*problem, err);
    }
    const std::string name = args.size() == 2 ? args[1] : Utf8Of(PathFromUtf8(args[0]).stem());
    if (auto problem = ProfileNameProblem(name)) {
      return BadInput(*problem, err);
    }
    if (const auto existing = store.ProfileNamed(name); existing && !invocation.force) {
      return BadInput("there is a profile named '" + *existing +
                          "' already; import it under another NAME, or replace it with --force",
                      err);
    }
    if (auto problem = store.Save(name, std::get<Profile>(read))) {
      err << "q8ctl: " << *problem << '\n';
      return kExitDeviceFailure;
    }
    out << "imported " << args[0] << " as profile '" << name << "'\n";
    return kExitOk;
  }

  const std::string& name = args[0];
  if (auto problem = ProfileNameProblem(name)) {
    return BadInput(*problem, err);
  }
  if (command == "save") {
    StreamMessageSink messages(err);
    auto loaded = LoadSettings(files.configBin, messages);
    if (const auto* problem = std::get_if<std::string>(&loaded)) {
      return BadInput(*problem, err);
    }
    if (messages.Count() > 0) {
      return kExitUsage;
    }
    Profile profile;
    profile.config = std::get<SettingsRecord>(loaded).deviceConfig;
    profile.captionSection = files.captionSection;
    profile.captions = ReadStrIniSettings(files.strIni, files.captionSection).captions;
    if (auto problem = store.Save(name, profile)) {
      err << "q8ctl: " << *problem << '\n';
      return kExitDeviceFailure;
    }
    out << "saved profile '" << name << "' in " << Utf8Of(store.PathOf(name)) << '\n';
    return kExitOk;
  }
  if (command == "delete") {
    const std::vector<std::string> names = store.List();
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      return BadInput("there is no profile named '" + name + "'", err);
    }
    if (auto problem = store.Delete(name)) {
      err << "q8ctl: " << *problem << '\n';
      return kExitDeviceFailure;
    }
    out << "deleted profile '" << name << "'\n";
    return kExitOk;
  }

  auto loaded = store.Load(name);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return BadInput(*problem, err);
  }
  const Profile& profile = std::get<Profile>(loaded);
  if (command == "export") {
    if (auto problem = WriteProfileFile(PathFromUtf8(args[1]), profile)) {
      err << "q8ctl: " << *problem << '\n';
      return kExitDeviceFailure;
    }
    out << "exported profile '" << name << "' to " << args[1] << '\n';
    return kExitOk;
  }
  if (command == "show") {
    SettingsRecord settings;
    settings.deviceConfig = profile.config;
    Invocation show = invocation;
    show.command = "show";
    show.args.clear();
    return RunWithMouse(show, &settings, files.configBin, nullptr, systemBus, out, err);
  }
  return LoadProfile(invocation, files, profile, systemBus, out, err);
}

}  // namespace q8
