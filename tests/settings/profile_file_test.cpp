#include "app/profile_store.h"
#include "settings/profile_format1.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "model/profile_format2.h"
#include "settings/config_file.h"
#include "settings/profile_rules.h"
#include "settings/profile_rules_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

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

// The profile of DistinctProfile with every value in range and named: the buttons' functions,
// lighting and stages as the page sets them, for a sensor whose DPI levels name the stages.
Profile NamedProfile() {
  Profile profile;
  DeviceConfig& config = profile.config;
  config[field::ReportRateCode] = 4;
  for (std::size_t stage = 1; stage <= kDpiStageCount; ++stage) {
    config.Stage(field::DpiStageLevel, stage) = static_cast<std::uint8_t>(stage - 1);
    config.Stage(field::DpiStageEnabled, stage) = stage <= 6 ? 1 : 0;
  }
  config.StageColor(1)[0] = 0xFF;
  config[field::LightingMode] = 2;
  config[field::LightingSpeed] = 3;
  config[field::LightingEffect] = 2;
  config[field::ActiveKeyConfig] = 1;
  config[field::FireMakeTime] = 30;
  config[field::SnipeDpiCode] = 0x23;
  for (std::size_t button = 1; button <= kButtonCount; ++button) {
    config.Button(field::KeyFunction, KeyConfigId::B, button) =
        static_cast<std::uint8_t>(button + 5);
  }
  config.Button(field::SingleKeyUsage, KeyConfigId::B, 5) = 0x36;  // ","
  config.Button(field::FireKeyIndex, KeyConfigId::B, 4) = 44;      // R-CTRL
  config.Button(field::FireKeyUsage, KeyConfigId::B, 4) = 0xE4;
  config.Button(field::FireTimes, KeyConfigId::B, 4) = 3;
  config.Button(field::KeyFunction, KeyConfigId::A, 4) = 5;  // DPI Switch
  config.Button(field::DpiSwitchCode, KeyConfigId::A, 4) = 5;
  profile.captionSection = "Setting-EN";
  profile.captions[11] = "Fire Key-R-CTRL";
  profile.sensorVariant = 1;
  return profile;
}

std::string CrLf(const std::string& text) {
  std::string crlf;
  for (const char c : text) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  return crlf;
}

// A record byte written on the wrong line or the wrong mode, a value named after the wrong entry of
// its list, a caption that loses its blanks or quotes, or a file edited on Windows (CRLF) would
// change what a load gives back. Both layouts read, the first one as it always did; every byte of
// a record, named or not, comes back.
TEST(ProfileFileTest, AProfileReadsBackAsItWasWrittenInEitherLayoutAndLineBreaks) {
  const Profile distinct = DistinctProfile();
  const std::string hex = TextOf(HexProfileBytes(distinct));
  EXPECT_THAT(hex, HasSubstr("[Profile]\nFormat=1\nRecordSize=219\n"));
  EXPECT_THAT(hex, HasSubstr("ReportRateCode=26\n"));  // byte 5: 5 * 7 + 3 = 38 = 0x26
  EXPECT_THAT(hex, HasSubstr("[Mode B]\nKeyFunction=d8 df e6 ed f4 fb 02 09\n"));

  const Profile named = NamedProfile();
  const std::string readable = TextOf(ProfileFileBytes(named));
  for (const std::string_view line :
       {"[Profile]\nFormat=2\nCaptions=Setting-EN\nSensor=1\n", "ReportRate=250 Hz\n",
        "DpiStage1=600 DPI, on, #FF0000\n", "DpiStage7=2400 DPI, off, #000000\n",
        "LightingMode=Respiration\n", "RespirationSpeed=5S\n", "RespirationEffect=RGB Flash\n",
        "ActiveKeys=Mode B\n", "FireMakeTime=30\n", "SnipeDpi=2000 DPI\n",
        "[Mode A Button 4]\nFunction=DPI Switch\nCaption=\nDpiSwitch=DPI Loop\n",
        "[Mode B Button 4]\nFunction=Fire Key\nCaption=Fire Key-R-CTRL\n",
        "FireKey=R-CTRL\nFireKeySends=Right Ctrl\nFireTimes=3\n", "SingleKey=,\n",
        "[Mode B Button 8]\nFunction=Shift\n", "[Uninterpreted]\nBytes0to4=00 00 00 00 00\n"}) {
    EXPECT_THAT(readable, HasSubstr(line));
  }

  const struct {
    std::string text;
    const Profile& profile;
  } cases[] = {
      {hex, distinct},
      {CrLf(hex), distinct},
      {readable, named},
      {CrLf(readable), named},
      {TextOf(ProfileFileBytes(distinct)), distinct},  // every value without a name: "code N"
  };
  for (const auto& c : cases) {
    const auto parsed = ParseProfileFile(BytesOf(c.text));
    ASSERT_TRUE(std::holds_alternative<Profile>(parsed)) << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<Profile>(parsed), c.profile);
  }
}

TEST(ProfileFileTest, DamagedForeignAndOtherSizedFilesAreRefusedWithOneLine) {
  const std::string good = TextOf(HexProfileBytes(DistinctProfile()));
  const std::string readable = TextOf(ProfileFileBytes(NamedProfile()));
  const struct {
    std::string text;
    std::string_view says;
  } cases[] = {
      {"[Skins]\nLan=EN\n", "not a Tarnix Q8 profile"},
      {Replaced(good, "Format=1", "Format=3"), "format '3'; this tool reads formats 1 and 2"},
      {Replaced(good, "RecordSize=219", "RecordSize=220"), "220 bytes, not 219"},
      {Replaced(good, "RecordSize=219\n", ""), "unknown size"},
      {Replaced(good, "LightingMode=", "LightingMood="), "[Settings] LightingMode is missing"},
      {Replaced(good, "KeyFunction=d8 df e6 ed f4 fb 02 09", "KeyFunction=d8 df e6 ed f4 fb 02"),
       "[Mode B] KeyFunction has 7 bytes, not 8"},
      {Replaced(good, "ReportRateCode=26", "ReportRateCode=x6"), "'x6' is not a byte"},
      {Replaced(good, "ReportRateCode=26", "ReportRateCode=126"), "'126' is not a byte"},
      {good + std::string(kMaxProfileFileBytes, ';'), "larger than 64 KiB"},
      {Replaced(readable, "ReportRate=250 Hz", "ReportRate=fast"),
       "[Settings] ReportRate holds 'fast', which names no value of it"},
      {Replaced(readable, "FireTimes=3", "FireTimes=256"), "[Mode B Button 4] FireTimes holds"},
      {Replaced(readable, "Sensor=1\n", ""),
       "[Settings] DpiStage1 holds '600 DPI, on, #FF0000', which names no value of it (a DPI "
       "value needs the sensor: [Profile] Sensor)"},
      {Replaced(readable, "Sensor=1", "Sensor=one"), "[Profile] Sensor holds 'one'"},
      {Replaced(readable, "600 DPI, on, #FF0000", "600 DPI, #FF0000"), "[Settings] DpiStage1"},
      {Replaced(readable, "Byte6=00", "Byte6=00 00"), "[Uninterpreted] Byte6 is not 1 bytes"},
      {Replaced(readable, "[Mode B Button 8]\nFunction=", "[Mode B Button 8]\nFunktion="),
       "[Mode B Button 8] Function is missing"},
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

  // The readable layout names the field and the value in its own words, in the file it read.
  const struct {
    std::size_t offset;
    std::uint8_t value;
    std::string_view says;
  } readableCases[] = {
      {field::ReportRateCode.offset, 5, "[Settings] ReportRate holds code 5"},
      {field::DpiStageLevel.offset + 2, 12, "[Settings] DpiStage3 holds level 13"},
      {field::LightingMode.offset, 4, "[Settings] LightingMode holds code 4"},
      {field::KeyFunction.offset + 8, 14, "[Mode B Button 1] Function holds code 14"},
      {field::DpiSwitchCode.offset + 3, 2, "[Mode A Button 4] DpiSwitch holds code 2"},
  };
  test::TempDir dir;
  for (const auto& c : readableCases) {
    Profile profile{delivered.deviceConfig, "Setting-EN", {}};
    profile.config.Bytes()[c.offset] = c.value;
    EXPECT_EQ(ReadableRangeProblem(profile).value_or(""),
              std::string(c.says) + ", which is out of its range");
    ASSERT_EQ(WriteProfileFile(dir / "shared.ini", profile), std::nullopt);
    const auto read = ReadProfileFile(dir / "shared.ini");
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.says;
    EXPECT_THAT(std::get<std::string>(read), HasSubstr(c.says));
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

// An edit by the tool that dropped a user's comment, an unknown section or line, reordered the
// file, changed its line breaks or encoding, or touched a rule it was not asked to, would lose what
// the user wrote; one that wrote a rule where the switch does not read it would change nothing.
TEST(ProfileRulesTest, EditsChangeOnlyTheirLinesAndKeepWhatTheUserWrote) {
  const std::string text =
      "\xEF\xBB\xBF; my games\r\n[Rules]\r\n  Game.exe = Racing \r\n# old.exe=Old\r\n"
      "editor=Writing\r\n\r\n[Mine]\r\nkeep=this\r\nloose line\r\n[Default]\r\n"
      "Profile=Desktop";
  const std::string head = "\xEF\xBB\xBF; my games\r\n[Rules]\r\n";
  const std::string mine = "\r\n[Mine]\r\nkeep=this\r\nloose line\r\n[Default]\r\n";
  const struct {
    std::string_view what;
    std::function<void(RulesFileEdit&)> edit;
    std::string expected;
  } cases[] = {
      {"a rule changed, its key as written",
       [](RulesFileEdit& r) { r.SetRule("GAME.EXE", "Fast", true); },
       head + "  Game.exe =Fast\r\n# old.exe=Old\r\neditor=Writing\r\n" + mine + "Profile=Desktop"},
      {"a rule added after the last rule",
       [](RulesFileEdit& r) { r.SetRule("Editor", "X", false); },
       head + "  Game.exe = Racing \r\n# old.exe=Old\r\neditor=Writing\r\nEditor=X\r\n" + mine +
           "Profile=Desktop"},
      {"a rule removed, its comment kept",
       [](RulesFileEdit& r) { EXPECT_TRUE(r.RemoveRule("game.exe", true)); },
       head + "# old.exe=Old\r\neditor=Writing\r\n" + mine + "Profile=Desktop"},
      {"no default", [](RulesFileEdit& r) { r.SetDefault(""); },
       head + "  Game.exe = Racing \r\n# old.exe=Old\r\neditor=Writing\r\n" + mine},
      {"a profile renamed in its rules and the default",
       [](RulesFileEdit& r) {
         r.RenameProfile("Desktop", "Office");
         r.RenameProfile("Writing", "Notes");
       },
       head + "  Game.exe = Racing \r\n# old.exe=Old\r\neditor=Notes\r\n" + mine +
           "Profile=Office"},
      {"a profile deleted with its rules",
       [](RulesFileEdit& r) { EXPECT_EQ(r.RemoveProfile("Racing"), 1); },
       head + "# old.exe=Old\r\neditor=Writing\r\n" + mine + "Profile=Desktop"},
  };
  for (const auto& c : cases) {
    RulesFileEdit rules(BytesOf(text));
    c.edit(rules);
    EXPECT_EQ(TextOf(rules.Bytes()), c.expected) << c.what;
  }

  // A new file, then the sections it lacks, as the switch reads them.
  RulesFileEdit fresh;
  fresh.SetDefault("Desktop");
  fresh.SetRule("game.exe", "Racing", true);
  const ProfileRules read = ParseProfileRules(fresh.Bytes());
  EXPECT_EQ(ProfileForProgram(read, "game.exe", true), "Racing");
  EXPECT_EQ(ProfileForProgram(read, "other", true), "Desktop");
  EXPECT_EQ(TextOf(fresh.Bytes()),
            "\xEF\xBB\xBF[Default]\nProfile=Desktop\n[Rules]\ngame.exe=Racing\n");

  // Two default lines (a second [Default] section appended by hand): the rules read the last, so
  // a default chosen or removed changes every one.
  const std::string twice = "[Default]\nProfile=Desktop\n[Default]\nProfile=Racing\n";
  RulesFileEdit other(BytesOf(twice));
  other.SetDefault("Office");
  EXPECT_EQ(ParseProfileRules(other.Bytes()).defaultProfile, "Office");
  RulesFileEdit none(BytesOf(twice));
  none.SetDefault("");
  EXPECT_EQ(ParseProfileRules(none.Bytes()).defaultProfile, "");
  RulesFileEdit removed(BytesOf(twice));
  removed.RemoveProfile("Racing");  // the default the rules read: no other line takes its place
  EXPECT_EQ(ParseProfileRules(removed.Bytes()).defaultProfile, "");
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
