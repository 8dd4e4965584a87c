#include "settings/profile_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/config_file.h"
#include "settings/profile_rules.h"
#include "support/fakes.h"

namespace q8 {
namespace {

using ::testing::HasSubstr;

Profile DistinctProfile() {
  Profile profile;
  auto bytes = profile.config.Bytes();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);  // every byte differs from its neighbours
  }
  profile.captionSection = "Setting-CHS";
  for (std::size_t i = 0; i < profile.captions.size(); ++i) {
    profile.captions[i] = "caption " + std::to_string(i);
  }
  profile.captions[0] = "左键";
  profile.captions[3] = "  blanks around  ";
  profile.captions[8] = "\"quoted\"";
  profile.captions[9] = "a=b ; c";
  profile.captions[15].clear();
  return profile;
}

std::string TextOf(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> BytesOf(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const auto pos = text.find(from);
  EXPECT_NE(pos, std::string::npos) << from;
  return pos == std::string::npos ? text : text.replace(pos, from.size(), to);
}

// A record byte written on the wrong line or the wrong mode, a caption that loses its blanks or
// quotes, or a file edited on Windows (CRLF) would change what a load gives back.
TEST(ProfileFileTest, AProfileReadsBackAsItWasWrittenOnEitherSystemsLineBreaks) {
  const Profile profile = DistinctProfile();
  const std::string text = TextOf(ProfileFileBytes(profile));
  EXPECT_THAT(text, HasSubstr("[Profile]\nFormat=1\nRecordSize=219\n"));
  EXPECT_THAT(text, HasSubstr("ReportRateCode=26\n"));  // byte 5: 5 * 7 + 3 = 38 = 0x26
  EXPECT_THAT(text, HasSubstr("[Mode B]\nKeyFunction=d8 df e6 ed f4 fb 02 09\n"));

  std::string crlf;
  for (const char c : text) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  for (const std::string& variant : {text, crlf}) {
    const auto parsed = ParseProfileFile(BytesOf(variant));
    ASSERT_TRUE(std::holds_alternative<Profile>(parsed)) << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<Profile>(parsed), profile);
  }
}

TEST(ProfileFileTest, DamagedForeignAndOtherSizedFilesAreRefusedWithOneLine) {
  const std::string good = TextOf(ProfileFileBytes(DistinctProfile()));
  const struct {
    std::string text;
    std::string_view says;
  } cases[] = {
      {"[Skins]\nLan=EN\n", "not a Tarnix Q8 profile"},
      {Replaced(good, "Format=1", "Format=2"), "format '2'"},
      {Replaced(good, "RecordSize=219", "RecordSize=220"), "220 bytes, not 219"},
      {Replaced(good, "RecordSize=219\n", ""), "unknown size"},
      {Replaced(good, "LightingMode=", "LightingMood="), "[Settings] LightingMode is missing"},
      {Replaced(good, "KeyFunction=d8 df e6 ed f4 fb 02 09", "KeyFunction=d8 df e6 ed f4 fb 02"),
       "[Mode B] KeyFunction has 7 bytes, not 8"},
      {Replaced(good, "ReportRateCode=26", "ReportRateCode=x6"), "'x6' is not a byte"},
      {Replaced(good, "ReportRateCode=26", "ReportRateCode=126"), "'126' is not a byte"},
      {good + std::string(kMaxProfileFileBytes, ';'), "larger than 64 KiB"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseProfileFile(BytesOf(c.text));
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.says;
    const std::string& problem = std::get<std::string>(parsed);
    EXPECT_THAT(problem, HasSubstr(c.says));
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
  }
}

// A value no page can set would reach the mouse unchecked from a shared file; a check too strict
// would refuse the profiles made from the delivered config.bin or from a record never edited.
TEST(ProfileFileTest, ValuesOutOfTheirFieldsRangeAreRefusedNamingTheField) {
  test::RecordingMessageSink messages;
  SettingsRecord delivered;
  LoadConfigFile(std::filesystem::path(Q8_DATA_DIR) / "config.bin", delivered, messages);
  EXPECT_EQ(ProfileRangeProblem(delivered.deviceConfig), std::nullopt);
  EXPECT_EQ(ProfileRangeProblem(DeviceConfig{}), std::nullopt);
  const struct {
    std::size_t offset;
    std::uint8_t value;
    std::string_view says;  // empty: in range
  } cases[] = {
      {field::ReportRateCode.offset, 8, ""},
      {field::ReportRateCode.offset, 5, "[Settings] ReportRateCode holds 5"},
      {field::LightingMode.offset, 4, "[Settings] LightingMode holds 4"},
      {field::FireMakeTime.offset, 4, "[Settings] FireMakeTime holds 4"},
      {field::KeyFunction.offset + 8, 14, "[Mode B] KeyFunction holds 14"},
      {field::FireTimes.offset + 7, 128, "[Mode A] FireTimes holds 128"},
      {field::DpiSwitchCode.offset + 3, 2, "[Mode A] DpiSwitchCode holds 2"},
  };
  for (const auto& c : cases) {
    DeviceConfig config = delivered.deviceConfig;
    config.Bytes()[c.offset] = c.value;
    const auto problem = ProfileRangeProblem(config);
    EXPECT_EQ(problem.value_or(""),
              c.says.empty() ? "" : std::string(c.says) + ", which is out of its range");
  }
}

TEST(ProfileFileTest, NamesThatCannotBeAFileOnEitherSystemAreRefused) {
  for (const std::string& name :
       std::vector<std::string>{"Game", "Counter Strike 2", "左键 profile", "con-figured", "COM10",
                                "rulesets", std::string(kMaxProfileNameLength, 'x')}) {
    EXPECT_EQ(ProfileNameProblem(name), std::nullopt) << name;
  }
  for (const std::string& name : std::vector<std::string>{
           "", "a/b", "a\\b", "c:", "what?", "tab\there", "CON", "nul.txt", "Com1", "lpt9 ",
           " lead", "trail.", "Rules", std::string(kMaxProfileNameLength + 1, 'x')}) {
    EXPECT_NE(ProfileNameProblem(name), std::nullopt) << name;
  }
}

// A rule that misses its program by letter case on Windows, a default that is not the fallback, or
// a comment read as a rule would load the wrong profile.
TEST(ProfileRulesTest, AProgramGetsItsRuleOrTheDefault) {
  const std::string text =
      "\xEF\xBB\xBF; the games\r\n[rules]\r\n  Game.exe = Racing \r\n# old.exe=Old\r\n"
      "game.exe=Second\r\nnoprofile.exe=\r\norg.gnome.Nautilus=Files\r\n"
      "[Default]\r\nprofile=Desktop\r\n";
  const ProfileRules rules = ParseProfileRules(BytesOf(text));
  const ProfileRules noDefault{rules.rules, {}};
  const struct {
    const ProfileRules& rules;
    std::string_view program;
    bool ignoreCase;
    std::optional<std::string> profile;
  } cases[] = {
      {rules, "Game.exe", false, "Racing"},
      {rules, "GAME.EXE", true, "Racing"},
      {rules, "game.exe", false, "Second"},
      {rules, "old.exe", true, "Desktop"},
      {rules, "noprofile.exe", true, "Desktop"},
      {noDefault, "editor", false, std::nullopt},
      // A Wayland program's app_id: its dots are no extension, and it is matched exactly.
      {rules, "org.gnome.Nautilus", false, "Files"},
      {rules, "org.gnome.nautilus", false, "Desktop"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileForProgram(c.rules, c.program, c.ignoreCase), c.profile) << c.program;
  }
}

// A game under Wine or Proton runs in Wine's loader: named by the loader, it never meets its rule.
TEST(ProfileRulesTest, WinesLoaderIsNamedByTheWindowsProgramItRuns) {
  const std::vector<std::string> game{"C:\\Games\\Game.EXE", "-fullscreen"};
  const std::vector<std::string> proton{"/opt/proton/bin/wine", "Z:/steam/steam.exe"};
  const std::vector<std::string> loaderAlone{"wine64"};
  EXPECT_EQ(ProgramOfCommandLine("wine64-preloader", game).name, "Game.EXE");
  EXPECT_TRUE(ProgramOfCommandLine("wine64-preloader", game).windowsProgram);
  EXPECT_EQ(ProgramOfCommandLine("wine", proton).name, "steam.exe");
  EXPECT_EQ(ProgramOfCommandLine("wine64", loaderAlone).name, "wine64");
  EXPECT_FALSE(ProgramOfCommandLine("bash", game).windowsProgram);
}

}  // namespace
}  // namespace q8
