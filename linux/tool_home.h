#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace q8::linux_shell {

// Where the tool keeps config.bin, str.ini and Skins/ on Linux, given as the path of an
// executable in that folder (the core finds every file beside its executable).
//
// A tool run from its build tree, or from any folder that holds a config.bin beside it, keeps
// using the files there. An installed tool uses $XDG_CONFIG_HOME/tarnix-q8/ (~/.config/...),
// filled on first use from the installed defaults in ../share/tarnix-q8/ beside the executable's
// folder; its Skins/ leads to $XDG_DATA_HOME/tarnix-q8/Skins/ (~/.local/share/...), where every
// installed skin is linked and where the user may add skins of their own.
//
// Nothing when the folders cannot be made; `error` says why.
std::optional<std::filesystem::path> ToolHome(const std::filesystem::path& executable,
                                              std::string& error);

}  // namespace q8::linux_shell
