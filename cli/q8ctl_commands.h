#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "cli/invocation.h"
#include "cli/mouse_session.h"
#include "cli/set_command.h"
#include "device/hid_bus.h"
#include "settings/config_file.h"

namespace q8 {

// What q8ctl's commands share (q8ctl.cpp). Each returns the exit status it names, after saying
// what is wrong on `err`.

// A bad command line: the problem, then the command's usage.
int UsageError(const std::string& problem, const std::string& command, std::ostream& err);
// Bad input (a file, a value): the problem alone.
int BadInput(const std::string& problem, std::ostream& err);

// The config.bin a command works on: --config, or the tool's own (the one the tray program uses).
std::optional<std::filesystem::path> ConfigPath(const Invocation& invocation, std::string& error);

// Runs a command that talks to the mouse (info, dump, show, apply, set), once the command line
// and the files are checked. `saveButtonCaptions`, when given, runs after config.bin is saved.
int RunWithMouse(const Invocation& invocation, SettingsRecord* settings,
                 const std::filesystem::path& configBin, const SettingChange* change,
                 HidBus* systemBus, std::ostream& out, std::ostream& err,
                 const std::function<void(StreamMessageSink&)>& saveButtonCaptions = {});

}  // namespace q8
