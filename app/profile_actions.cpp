#include "app/profile_actions.h"

#include <algorithm>

#include "model/ui_text.h"
#include "settings/config_file.h"
#include "settings/profile_rules_file.h"
#include "settings/str_ini.h"
#include "settings/utf8_path.h"

namespace q8 {
namespace {

using Status = ProfileOutcome::Status;

ProfileOutcome Refused(std::string message) {
  return {Status::kRefused, std::move(message)};
}

ProfileOutcome Failed(std::string message) {
  return {Status::kFailed, std::move(message)};
}

std::string Quoted(std::string_view name) {
  return "'" + std::string(name) + "'";
}

// Keeps the first message a file operation reports, for the one line of the outcome.
class FirstMessage final : public MessageSink {
 public:
  void ShowMessage(std::string_view text, std::string_view) override {
    if (text_.empty()) {
      text_ = text;
    }
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// A program name rules.ini can hold as the key of a line the rules read.
std::optional<std::string> ProgramNameProblem(std::string_view program) {
  if (program.empty()) {
    return std::string("a rule needs a program's file name");
  }
  const bool blankAtEnd = program.front() == ' ' || program.back() == ' ';
  const bool lineStart = program.front() == '[' || program.front() == ';' || program.front() == '#';
  if (blankAtEnd || lineStart || program.find_first_of("=\r\n") != std::string_view::npos) {
    return "the program name " + Quoted(program) +
           " cannot be written as a rule (it holds '=' or a line break, begins with '[', ';' or "
           "'#', or begins or ends with a blank)";
  }
  return std::nullopt;
}

}  // namespace

ProfileActions::ProfileActions(const std::filesystem::path& configBin)
    : configBin_(configBin),
      strIni_(configBin.parent_path() / kIniFileName),
      captionSection_(TextFor(UiTextKey::StrIniSection, SelectLanguage(ReadLanguageCode(strIni_)))),
      store_(ProfileFolderIn(configBin.parent_path())) {}

std::optional<ProfileOutcome> ProfileActions::MissingProfile(std::string_view name) const {
  if (auto problem = ProfileNameProblem(name)) {
    return Refused(*problem);
  }
  const auto names = store_.List();
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    return Refused("there is no profile named " + Quoted(name));
  }
  return std::nullopt;
}

ProfileOutcome ProfileActions::Save(std::string_view name, const Profile& profile, bool replace,
                                    const std::string& done) const {
  if (auto problem = ProfileNameProblem(name)) {
    return Refused(*problem);
  }
  if (const auto existing = store_.ProfileNamed(name); existing && !replace) {
    return {Status::kClash, "there is a profile named " + Quoted(*existing) + " already"};
  }
  if (auto problem = store_.Save(name, profile)) {
    return Failed(*problem);
  }
  return {Status::kDone, done};
}

std::variant<Profile, ProfileOutcome> ProfileActions::CurrentSettings() const {
  FirstMessage messages;
  auto loaded = LoadSettings(configBin_, messages);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return Refused(*problem);
  }
  if (!messages.Text().empty()) {
    return Refused(messages.Text());
  }
  Profile profile;
  profile.config = std::get<SettingsRecord>(loaded).deviceConfig;
  profile.captionSection = captionSection_;
  profile.captions = ReadStrIniSettings(strIni_, captionSection_).captions;
  return profile;
}

std::string ProfileActions::PathText(std::string_view name) const {
  return Utf8Of(store_.PathOf(store_.ProfileNamed(name).value_or(std::string(name))));
}

ProfileOutcome ProfileActions::SaveAs(std::string_view name, const Profile& profile,
                                      bool replace) const {
  // Replacing a profile named in other letters keeps its name, which the message then says.
  const std::string kept = store_.ProfileNamed(name).value_or(std::string(name));
  return Save(name, profile, replace, "saved profile " + Quoted(kept) + " in " + PathText(name));
}

ProfileOutcome ProfileActions::Rename(std::string_view from, std::string_view to) const {
  if (auto missing = MissingProfile(from)) {
    return *missing;
  }
  if (auto problem = store_.Rename(from, to)) {
    const bool clash = store_.ProfileNamed(to).has_value();
    return {ProfileNameProblem(to) || clash ? Status::kRefused : Status::kFailed, *problem};
  }
  if (auto problem = EditRulesFile(store_.RulesFile(),
                                   [&](RulesFileEdit& rules) { rules.RenameProfile(from, to); })) {
    return Failed("renamed profile " + Quoted(from) + " to " + Quoted(to) +
                  ", but its rules still name it: " + *problem);
  }
  return {Status::kDone, "renamed profile " + Quoted(from) + " to " + Quoted(to)};
}

ProfileOutcome ProfileActions::Delete(std::string_view name) const {
  if (auto missing = MissingProfile(name)) {
    return *missing;
  }
  if (auto problem = store_.Delete(name)) {
    return Failed(*problem);
  }
  const ProfileRules rules = Rules();
  const bool named = rules.defaultProfile == name ||
                     std::any_of(rules.rules.begin(), rules.rules.end(),
                                 [&](const auto& rule) { return rule.second == name; });
  int removed = 0;
  if (named) {
    if (auto problem = EditRulesFile(
            store_.RulesFile(), [&](RulesFileEdit& edit) { removed = edit.RemoveProfile(name); })) {
      return Failed("deleted profile " + Quoted(name) +
                    ", but its rules still name it: " + *problem);
    }
  }
  std::string done = "deleted profile " + Quoted(name);
  if (removed > 0) {
    done += " and its " + std::to_string(removed) + (removed == 1 ? " rule" : " rules");
  }
  return {Status::kDone, done};
}

ProfileOutcome ProfileActions::Import(const std::filesystem::path& file,
                                      std::optional<std::string> name, bool replace) const {
  auto read = ReadProfileFile(file);
  if (const auto* problem = std::get_if<std::string>(&read)) {
    return Refused(*problem);
  }
  const std::string target = name.value_or(Utf8Of(file.stem()));
  const std::string kept = store_.ProfileNamed(target).value_or(target);
  return Save(target, std::get<Profile>(read), replace,
              "imported " + Utf8Of(file) + " as profile " + Quoted(kept));
}

ProfileOutcome ProfileActions::Export(std::string_view name,
                                      const std::filesystem::path& file) const {
  auto loaded = store_.Load(name);
  if (const auto* problem = std::get_if<std::string>(&loaded)) {
    return Refused(*problem);
  }
  if (auto problem = WriteProfileFile(file, std::get<Profile>(loaded))) {
    return Failed(*problem);
  }
  return {Status::kDone, "exported profile " + Quoted(name) + " to " + Utf8Of(file)};
}

ProfileOutcome ProfileActions::SetRule(std::string_view program, std::string_view profile) const {
  if (auto problem = ProgramNameProblem(program)) {
    return Refused(*problem);
  }
  if (auto missing = MissingProfile(profile)) {
    return *missing;
  }
  if (auto problem = EditRulesFile(store_.RulesFile(), [&](RulesFileEdit& rules) {
        rules.SetRule(program, profile, RuleIgnoresCase(program));
      })) {
    return Failed(*problem);
  }
  return {Status::kDone, std::string(program) + " now gets profile " + Quoted(profile)};
}

ProfileOutcome ProfileActions::RemoveRule(std::string_view program) const {
  const ProfileRules rules = Rules();
  const bool ignoreCase = RuleIgnoresCase(program);
  if (std::none_of(rules.rules.begin(), rules.rules.end(), [&](const auto& rule) {
        return ignoreCase ? SameNameIgnoringCase(rule.first, program) : rule.first == program;
      })) {
    return Refused("there is no rule for " + Quoted(program));
  }
  if (auto problem = EditRulesFile(
          store_.RulesFile(), [&](RulesFileEdit& edit) { edit.RemoveRule(program, ignoreCase); })) {
    return Failed(*problem);
  }
  return {Status::kDone, "removed the rule for " + Quoted(program)};
}

ProfileOutcome ProfileActions::SetDefault(std::string_view profile) const {
  if (!profile.empty()) {
    if (auto missing = MissingProfile(profile)) {
      return *missing;
    }
  }
  if (auto problem = EditRulesFile(store_.RulesFile(),
                                   [&](RulesFileEdit& rules) { rules.SetDefault(profile); })) {
    return Failed(*problem);
  }
  return {Status::kDone, profile.empty()
                             ? std::string("no default profile now")
                             : "every program without a rule gets profile " + Quoted(profile)};
}

}  // namespace q8
