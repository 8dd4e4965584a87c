#include "cli/write_access.h"

#include <fstream>
#include <random>

#include "cli/q8ctl_commands.h"
#include "settings/config_file.h"
#include "settings/durable_file.h"
#include "settings/profile_file.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

std::string Refusal(const std::filesystem::path& what, const std::string& why,
                    const std::filesystem::path& folder) {
  return "cannot write " + Utf8Of(what) + " (" + why + "): " + WriteRightsHint(folder);
}

std::optional<std::string> FileProblem(const std::filesystem::path& file) {
  if (const std::error_code error = CheckWritable(file)) {
    return Refusal(file, error.message(), file.parent_path());
  }
  return std::nullopt;
}

// A folder the profile store may write: a file can be made in it, or in the nearest folder above
// it that exists (the store makes the missing ones). Only a file made and removed again tells,
// wherever the system's rights go beyond the permission bits.
std::optional<std::string> FolderProblem(std::filesystem::path folder) {
  std::error_code error;
  while (!std::filesystem::is_directory(folder, error) && folder.has_relative_path()) {
    folder = folder.parent_path();
  }
  const std::filesystem::path probe =
      folder / (".q8ctl-write-check-" + std::to_string(std::random_device()()));
  const bool made = std::ofstream(probe, std::ios::binary).is_open();
  std::filesystem::remove(probe, error);
  if (!made) {
    return Refusal(folder, "no file can be made there", folder);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteAccessProblem(const Invocation& invocation) {
  const std::string& command = invocation.command;
  const std::string profileCommand =
      command == "profile" && !invocation.args.empty() ? invocation.args[0] : std::string();
  const bool replacesConfig = command == "apply" || command == "set" || profileCommand == "load";
  const bool writesProfiles = profileCommand == "save" || profileCommand == "import" ||
                              profileCommand == "delete" || profileCommand == "rename" ||
                              profileCommand == "rule" || profileCommand == "remove-rule" ||
                              profileCommand == "default" || profileCommand == "no-default";
  if (!replacesConfig && !writesProfiles) {
    return std::nullopt;
  }
  std::string error;
  const auto configBin = ConfigPath(invocation, error);
  if (!configBin) {
    return std::nullopt;  // the command itself says there is no config.bin
  }
  if (writesProfiles) {
    return FolderProblem(ProfileFolderIn(configBin->parent_path()));
  }
  if (auto problem = FileProblem(*configBin)) {
    return problem;
  }
  if (profileCommand == "load") {  // the profile's button captions go to str.ini
    return FileProblem(configBin->parent_path() / kIniFileName);
  }
  return std::nullopt;
}

}  // namespace q8
