#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/profile_store.h"
#include "settings/profile_outcome.h"
#include "settings/profile_rules.h"

namespace q8 {

// What a user does with profiles and rules, for q8ctl and the profiles dialog alike: the same
// checks, refusals and messages wherever they are asked for. Works on the tool's config.bin and
// str.ini (the current settings), the caption section of the language the tool runs in, and the
// profile folder beside them with its rules.ini. The tray program reads the rules at each switch;
// whoever changes them here tells it, so that the program in front gets their profile at once.
class ProfileActions {
 public:
  explicit ProfileActions(const std::filesystem::path& configBin);

  const ProfileStore& Store() const { return store_; }
  const std::filesystem::path& ConfigBin() const { return configBin_; }
  const std::filesystem::path& StrIni() const { return strIni_; }
  const std::string& CaptionSection() const { return captionSection_; }

  std::vector<std::string> List() const { return store_.List(); }
  ProfileRules Rules() const { return ReadProfileRules(store_.RulesFile()); }

  // The current settings as the files hold them: config.bin's record and the captions of str.ini
  // in the tool's language; or the refusal when config.bin cannot be read.
  std::variant<Profile, ProfileOutcome> CurrentSettings() const;
  // `profile` as the profile `name`; a profile of that name (in any letter case) is replaced,
  // under its own name, only when `replace` is given.
  ProfileOutcome SaveAs(std::string_view name, const Profile& profile, bool replace) const;
  // The rules and the default that name `from` follow it.
  ProfileOutcome Rename(std::string_view from, std::string_view to) const;
  // The rules and the default that name it go with it.
  ProfileOutcome Delete(std::string_view name) const;
  // A profile file from anywhere, under `name` or its file's name.
  ProfileOutcome Import(const std::filesystem::path& file, std::optional<std::string> name,
                        bool replace) const;
  ProfileOutcome Export(std::string_view name, const std::filesystem::path& file) const;

  // The profile `program` (an executable's file name) gets when it comes to the front.
  ProfileOutcome SetRule(std::string_view program, std::string_view profile) const;
  ProfileOutcome RemoveRule(std::string_view program) const;
  // The profile of every program without a rule; empty: none.
  ProfileOutcome SetDefault(std::string_view profile) const;

 private:
  // The listed profile of exactly this name, or the refusal.
  std::optional<ProfileOutcome> MissingProfile(std::string_view name) const;
  ProfileOutcome Save(std::string_view name, const Profile& profile, bool replace,
                      const std::string& done) const;
  std::string PathText(std::string_view name) const;

  std::filesystem::path configBin_;
  std::filesystem::path strIni_;
  std::string captionSection_;
  ProfileStore store_;
};

}  // namespace q8
