#include "settings/autostart_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace q8 {
namespace {

TEST(AutostartEntryTest, FolderFollowsTheXdgRules) {
#ifdef _WIN32
  GTEST_SKIP() << "the XDG folders are Linux's; Windows starts the tool at log-on by its installer";
#endif
  struct Row {
    const char* xdgConfigHome;
    const char* home;
    std::optional<std::filesystem::path> file;
  };
  const Row rows[] = {
      {"/c", "/home/u", "/c/autostart/tarnix-q8.desktop"},
      {nullptr, "/home/u", "/home/u/.config/autostart/tarnix-q8.desktop"},
      {"relative/config", "/home/u", "/home/u/.config/autostart/tarnix-q8.desktop"},
      {"", "/home/u", "/home/u/.config/autostart/tarnix-q8.desktop"},
      {nullptr, nullptr, std::nullopt},
      {nullptr, "relative", std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AutostartEntry::FileFor(row.xdgConfigHome, row.home), row.file)
        << (row.xdgConfigHome ? row.xdgConfigHome : "(unset)") << " "
        << (row.home ? row.home : "(unset)");
  }
}

// The Exec key's quoting: a desktop that splits the line differently starts another program.
TEST(AutostartEntryTest, ExecArgumentsAreQuotedAndEscaped) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"/usr/bin/tarnix-q8", "/usr/bin/tarnix-q8"},
      {"/opt/Tarnix Q8/tarnix-q8", "\"/opt/Tarnix Q8/tarnix-q8\""},
      {"/home/u/100%/tarnix-q8", "/home/u/100%%/tarnix-q8"},
      {"/home/u/$HOME/a\"b", "\"/home/u/\\\\$HOME/a\\\\\"b\""},
      {"/home/u/back\\slash", "\"/home/u/back\\\\\\\\slash\""},
  };
  for (const auto& [argument, quoted] : rows) {
    EXPECT_EQ(DesktopExecArgument(argument), quoted) << argument;
  }
}

// The menu's check mark: an entry a desktop's settings turned off starts nothing, so it is not
// checked (and choosing the item turns it on again instead of removing it).
TEST(AutostartEntryTest, EnabledWhileTheEntryStartsTheProgram) {
  const test::TempDir dir;
  const AutostartEntry entry(dir / "tarnix-q8.desktop", "/usr/bin/tarnix-q8");
  EXPECT_FALSE(entry.Enabled()) << "no entry";
  ASSERT_EQ(entry.Write(), std::nullopt);
  EXPECT_TRUE(entry.Enabled()) << "as written";
  const std::vector<std::pair<std::string, bool>> rows = {
      {"[Desktop Entry]\r\nHidden=true\r\n", false},
      {"[Desktop Entry]\nExec=x\nX-GNOME-Autostart-enabled=false\n", false},
      {"[Desktop Entry]\nHidden=false\nX-GNOME-Autostart-enabled=true\n", true},
      {"[Desktop Entry]\nExec=x\n[Desktop Action off]\nHidden=true\n", true},
  };
  for (const auto& [text, enabled] : rows) {
    test::WriteBytes(entry.File(), std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(entry.Enabled(), enabled) << text;
  }
}

}  // namespace
}  // namespace q8
