#include "cli/q8ctl.h"

#include <charconv>
#include <filesystem>
#include <functional>

#include "app/apply_settings.h"
#include "app/keldra_dlg.h"
#include "app/whole_operation.h"
#include "cli/invocation.h"
#include "cli/mouse_session.h"
#include "cli/profile_command.h"
#include "cli/q8ctl_commands.h"
#include "cli/set_command.h"
#include "cli/settings_report.h"
#include "cli/termination_hold.h"
#include "cli/tray_program.h"
#include "cli/write_access.h"
#include "device/mouse_state_file.h"
#include "model/ui_text.h"
#include "settings/config_file.h"
#include "settings/executable_path.h"

#include "q8_version.h"

namespace q8 {

int UsageError(const std::string& problem, const std::string& command, std::ostream& err) {
  err << "q8ctl: " << problem << "\n\n" << UsageText(command);
  return kExitUsage;
}

int BadInput(const std::string& problem, std::ostream& err) {
  err << "q8ctl: " << problem << '\n';
  return kExitUsage;
}

// The config.bin a command works on: --config, or the tool's own (the one the tray program uses).
std::optional<std::filesystem::path> ConfigPath(const Invocation& invocation, std::string& error) {
  if (invocation.configFile) {
    return PathFromUtf8(*invocation.configFile);
  }
  const auto executable = ToolExecutable(error);
  if (!executable) {
    return std::nullopt;
  }
  return DataFilePathsFor(*executable).configBin;
}

namespace {

// notify TYPE VALUE: hands the running tray program a status notification.
int Notify(const Invocation& invocation, std::ostream& err) {
  std::uintptr_t type = 0;
  std::intptr_t value = 0;
  const auto number = [](const std::string& text, auto& result) {
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, result);
    return parsed.ec == std::errc() && parsed.ptr == end && !text.empty();
  };
  if (invocation.args.size() != 2 || !number(invocation.args[0], type) ||
      !number(invocation.args[1], value)) {
    return UsageError("notify takes a TYPE and a VALUE, both whole numbers", "notify", err);
  }
  std::string error;
  if (NotifyTrayProgram(type, value, error) != TrayNotice::kTold) {
    err << "q8ctl: " << error << '\n';
    return kExitDeviceFailure;
  }
  return kExitOk;
}

// unplug and plug: the simulated mouse's cable, kept beside its state file.
int Replug(const Invocation& invocation, std::ostream& out, std::ostream& err) {
  const bool plug = invocation.command == "plug";
  if (!invocation.stateFile) {
    return UsageError(invocation.command +
                          " needs --simulate=STATE_FILE: only a simulated mouse with a state file "
                          "can be unplugged and plugged in from here",
                      invocation.command, err);
  }
  const std::filesystem::path stateFile = PathFromUtf8(*invocation.stateFile);
  if (const std::error_code error = SetSimulatedMousePlugged(stateFile, plug)) {
    err << "q8ctl: cannot " << invocation.command << " the simulated mouse of "
        << stateFile.string() << ": " << error.message() << '\n';
    return kExitDeviceFailure;
  }
  out << "the simulated mouse of " << stateFile.string()
      << (plug ? " is plugged in\n" : " is unplugged\n");
  return kExitOk;
}

// Refuses, before the mouse is touched, a command that could not save what it writes to it.
std::optional<int> RefuseWithoutWriteAccess(const Invocation& invocation, std::ostream& err) {
  if (const auto problem = WriteAccessProblem(invocation)) {
    err << "q8ctl: " << *problem << '\n';
    return kExitDeviceFailure;
  }
  return std::nullopt;
}

int SessionFailure(MouseSession::Outcome outcome) {
  return outcome == MouseSession::Outcome::kBadInput ? kExitUsage : kExitDeviceFailure;
}

// Writes the settings to the mouse and saves them. Only what the mouse answered shows a failure to
// the device operations; the reports the system refused show the rest.
int ApplyToMouse(MouseSession& session, StreamMessageSink& messages, SettingsRecord& settings,
                 const std::filesystem::path& configBin,
                 const std::function<void()>& saveButtonCaptions, std::ostream& out,
                 std::ostream& err) {
  const int messagesBefore = messages.Count();
  int refused = 0;
  RunHoldingTermination([&] {
    const WholeOperation write(session.Connection(), messages,
                               TextFor(UiTextKey::MsgMouseNotDetected, UiLanguage::EN));
    ApplySettings(write.Ports(), session.Device(), settings, configBin, messages,
                  saveButtonCaptions);
    refused = write.RefusedReports();
  });
  if (messages.Count() != messagesBefore) {
    return kExitDeviceFailure;  // the messages said what went wrong
  }
  if (refused > 0) {
    err << "q8ctl: the mouse stopped answering while it was written (" << refused
        << " feature reports failed); it may hold a partial write\n";
    return kExitDeviceFailure;
  }
  out << "applied " << configBin.string() << '\n';
  return kExitOk;
}

// Runs the command once the mouse is open.
// `saveButtonCaptions`, when given, runs after config.bin is saved (a profile's load).
int RunCommand(const Invocation& invocation, MouseSession& session, StreamMessageSink& messages,
               SettingsRecord* settings, const std::filesystem::path& configBin,
               const SettingChange* change, const std::function<void()>& saveButtonCaptions,
               std::ostream& out, std::ostream& err) {
  const std::uint8_t variant = SensorVariantOf(session.Device().image);
  const std::string& command = invocation.command;
  if (command == "info") {
    PrintMouseInfo(session.Link(), session.Device(), out);
  } else if (command == "dump") {
    PrintMemoryDump(session.Device().image, out);
  } else if (command == "show") {
    PrintSettings(settings->deviceConfig, variant, out);
  } else {  // apply and set
    if (change) {
      if (auto problem = change->ApplyTo(settings->deviceConfig, variant)) {
        return BadInput(*problem, err);
      }
    }
    return ApplyToMouse(session, messages, *settings, configBin, saveButtonCaptions, out, err);
  }
  return kExitOk;
}

// Reads config.bin again inside the hold of a command that writes: what it holds now is what the
// command changes. The exit status when it no longer reads (nothing is then written).
std::optional<int> ReadConfigAgain(const std::filesystem::path& configBin, SettingsRecord& settings,
                                   std::ostream& err) {
  StreamMessageSink messages(err);
  auto loaded = LoadSettings(configBin, messages);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return BadInput(*problem, err);
  }
  if (messages.Count() > 0) {
    return kExitUsage;  // the file could not be read; the message said so
  }
  settings = std::get<SettingsRecord>(loaded);
  return std::nullopt;
}

}  // namespace

// Runs a command that talks to the mouse, once the command line and the files are checked.
// A command that writes (apply, set) holds the mouse from before its read to its last save and
// reads config.bin again inside that hold, so that a profile load of the tray program cannot come
// between; it then tells a running tray program that the mouse and the files changed.
int RunWithMouse(const Invocation& invocation, SettingsRecord* settings,
                 const std::filesystem::path& configBin, const SettingChange* change,
                 HidBus* systemBus, std::ostream& out, std::ostream& err,
                 const std::function<void(StreamMessageSink&)>& saveButtonCaptions) {
  const bool writes = invocation.command == "apply" || invocation.command == "set";
  StreamMessageSink messages(err);
  MouseSession session(invocation, systemBus, messages, err);
  const MouseSession::Outcome outcome = session.Open(/*holdForWrite=*/writes);
  if (outcome == MouseSession::Outcome::kNotFound && invocation.command == "info") {
    out << "mouse: not found\n";
  }
  int status = SessionFailure(outcome);
  if (outcome == MouseSession::Outcome::kReady) {
    const std::optional<int> unread =
        writes ? ReadConfigAgain(configBin, *settings, err) : std::nullopt;
    status = unread ? *unread
                    : RunCommand(invocation, session, messages, settings, configBin, change,
                                 saveButtonCaptions
                                     ? std::function<void()>([&] { saveButtonCaptions(messages); })
                                     : std::function<void()>(),
                                 out, err);
    if (writes && status != kExitUsage) {
      // The mouse and config.bin may hold what this command wrote, whole or in part: a running
      // tray program reads the files again and no longer takes a profile for the mouse's.
      session.LetGo();
      TellTrayProgram(kStatusProfileLoaded, 0, err);
    }
  }
  // The files kept on the side are part of the result: both are told about when they fail.
  const bool stateSaved = session.StateSaved();
  const bool traceWritten = session.TraceWritten();
  return status == kExitOk && !(stateSaved && traceWritten) ? kExitDeviceFailure : status;
}

int RunQ8ctl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
             HidBus* systemBus) {
  const ParseResult parsed = ParseInvocation(args);
  if (const auto* problem = std::get_if<std::string>(&parsed)) {
    return UsageError(*problem, {}, err);
  }
  const Invocation& invocation = std::get<Invocation>(parsed);
  if (invocation.help) {
    out << UsageText(invocation.command);
    return kExitOk;
  }
  if (invocation.version) {
    out << "q8ctl " << kVersion << "\n";
    return kExitOk;
  }

  if (invocation.command == "notify") {
    return Notify(invocation, err);
  }
  if (invocation.command == "unplug" || invocation.command == "plug") {
    return Replug(invocation, out, err);
  }
  if (invocation.command == "profile") {
    if (const auto refused = RefuseWithoutWriteAccess(invocation, err)) {
      return *refused;
    }
    return RunProfile(invocation, systemBus, out, err);
  }

  std::optional<SettingChange> change;
  if (invocation.command == "set") {
    auto parsedChange = SettingChange::Parse(invocation.args);
    if (const auto* problem = std::get_if<std::string>(&parsedChange)) {
      return UsageError(*problem, "set", err);
    }
    change = std::get<SettingChange>(parsedChange);
  }
  if (const auto refused = RefuseWithoutWriteAccess(invocation, err)) {
    return *refused;
  }

  std::optional<SettingsRecord> settings;
  std::filesystem::path configBin;
  if (invocation.command == "show" || invocation.command == "apply" || change) {
    std::string error;
    const auto path = ConfigPath(invocation, error);
    if (!path) {
      return BadInput(error + ", so there is no config.bin to work on", err);
    }
    configBin = *path;
    StreamMessageSink messages(err);
    auto loaded = LoadSettings(configBin, messages);
    if (const auto* problem = std::get_if<std::string>(&loaded)) {
      return BadInput(*problem, err);
    }
    if (messages.Count() > 0) {
      return kExitUsage;  // the file could not be read; the message said so
    }
    settings = std::get<SettingsRecord>(loaded);
  }
  return RunWithMouse(invocation, settings ? &*settings : nullptr, configBin,
                      change ? &*change : nullptr, systemBus, out, err);
}

}  // namespace q8
