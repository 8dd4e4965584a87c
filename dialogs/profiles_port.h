#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_outcome.h"
#include "settings/profile_rules.h"

namespace q8 {

// What the profiles dialog does with profiles and rules, through the tray program: the same
// actions q8ctl runs, and what the program knows of the active profile. Each action takes effect
// at once.
class ProfilesPort {
 public:
  virtual ~ProfilesPort() = default;

  virtual std::vector<std::string> Profiles() const = 0;
  virtual ProfileRules Rules() const = 0;
  // The profile the mouse holds, as the tray program knows it; nothing when none is known.
  virtual std::optional<std::string> ActiveProfile() const = 0;

  // The current settings (the tool's config.bin and captions) as a profile; one of that name is
  // replaced only with `replace` (a clash otherwise).
  virtual ProfileOutcome SaveCurrentAs(std::string_view name, bool replace) = 0;
  virtual ProfileOutcome Rename(std::string_view from, std::string_view to) = 0;
  virtual ProfileOutcome Delete(std::string_view name) = 0;
  virtual ProfileOutcome Import(const std::filesystem::path& file, bool replace) = 0;
  virtual ProfileOutcome Export(std::string_view name, const std::filesystem::path& file) = 0;
  virtual ProfileOutcome SetRule(std::string_view program, std::string_view profile) = 0;
  virtual ProfileOutcome RemoveRule(std::string_view program) = 0;
  // Empty: no default profile.
  virtual ProfileOutcome SetDefault(std::string_view profile) = 0;
};

// The programs that have windows now, by the names the rules give them (the executable's file
// name; a Windows program's .exe, under Wine too), sorted, each once. Each system has its own
// source; a desktop may add one (a Wayland compositor's list) to another.
class RunningProgramsPort {
 public:
  virtual ~RunningProgramsPort() = default;
  virtual std::vector<std::string> ProgramsWithWindows() = 0;
};

// The programs of several sources together, sorted, each once.
class MergedRunningPrograms final : public RunningProgramsPort {
 public:
  void Add(RunningProgramsPort& source) { sources_.push_back(&source); }
  std::vector<std::string> ProgramsWithWindows() override;

 private:
  std::vector<RunningProgramsPort*> sources_;
};

}  // namespace q8
