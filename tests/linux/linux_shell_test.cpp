#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "linux/key_capture_names.h"
#include "linux/status_socket.h"
#include "linux/tool_home.h"
#include "model/key_names.h"
#include "support/temp_dir.h"

namespace q8::linux_shell {
namespace {

namespace fs = std::filesystem;

// The kernel's code of every key, one after another: what a capture may meet.
std::string_view NameOfPlace(std::uint32_t code) {
  return WindowsKeyName(0, code);
}

TEST(KeyCaptureNamesTest, EveryKeyOfTheTableCanBeCapturedUnderItsWindowsName) {
  std::set<std::string_view> reachable;
  for (std::uint32_t code = 0; code < 256; ++code) {
    reachable.insert(NameOfPlace(code));
  }
  for (const KeyName& key : KeyNameTable) {
    if (key.usage >= 0xF0 || key.name == "Eurpo(Note 2)") {
      continue;  // mouse buttons, and a name no keyboard reports
    }
    EXPECT_TRUE(reachable.count(key.name)) << key.name;
  }
}

TEST(KeyCaptureNamesTest, LettersFollowTheLayoutOtherKeysTheirPlace) {
  EXPECT_EQ(WindowsKeyName('a', 30), "A");
  EXPECT_EQ(WindowsKeyName('A', 30), "A");         // with Shift held
  EXPECT_EQ(WindowsKeyName('q', 30), "Q");         // the A key of a French keyboard
  EXPECT_EQ(WindowsKeyName('!', 2), "1");          // Shift+1
  EXPECT_EQ(WindowsKeyName(0xff9c, 79), "Num 1");  // keypad 1 with Num Lock off (KP_End)
  EXPECT_EQ(WindowsKeyName(0xffe4, 97), "Right Ctrl");
  EXPECT_EQ(WindowsKeyName(0xffeb, 125), "Left Windows");
  EXPECT_EQ(WindowsKeyName(0xff61, 99), "Prnt Scrn");
  EXPECT_EQ(WindowsKeyName(0x1008ff13, 115), "");  // a volume key: no name of the table
}

TEST(KeyCaptureNamesTest, TheKeysTheSingleKeyDialogKeepsBackHaveTheirWindowsCodes) {
  EXPECT_EQ(WindowsVirtualKey(0xFF0D), 0x0D);
  EXPECT_EQ(WindowsVirtualKey(0xFF8D), 0x0D);
  EXPECT_EQ(WindowsVirtualKey(0xFF1B), 0x1B);
  EXPECT_EQ(WindowsVirtualKey(0xFFEB), 0x5B);
  EXPECT_EQ(WindowsVirtualKey(0xFFEC), 0x5C);
  EXPECT_EQ(WindowsVirtualKey('a'), 'A');
  EXPECT_EQ(WindowsVirtualKey(0xFFBE), 0x70);  // F1
  EXPECT_EQ(WindowsVirtualKey(0xFFE1), 0);     // Shift: no rule names it
}

TEST(StatusSocketTest, LinesCarryTypeAndValueAndNothingElse) {
  EXPECT_EQ(ParseStatusLine("7 2"), (StatusNotification{7, 2}));
  EXPECT_EQ(ParseStatusLine(StatusLine({9, -3}).substr(0, 4)), (StatusNotification{9, -3}));
  for (std::string_view bad : {"", "7", "7 ", " 7 2", "7 2 3", "x 1", "-5 1", "7 0x2"}) {
    EXPECT_FALSE(ParseStatusLine(bad)) << bad;
  }
  std::string error;
  EXPECT_FALSE(SendStatusNotification({14, 0}, error));
  EXPECT_THAT(error, ::testing::HasSubstr("not running"));
}

// A holder of the name whose queue of connections is full (a squatter that listens and never
// accepts): neither a start nor a sender may wait for it for ever.
TEST(StatusSocketTest, AHolderThatTakesNoConnectionsHoldsNobodyUp) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = StatusSocketName();
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  const auto* to = reinterpret_cast<const sockaddr*>(&address);
  const UniqueFd squatter(::socket(AF_UNIX, SOCK_STREAM, 0));
  ASSERT_EQ(::bind(squatter.Get(), to, length), 0);
  ASSERT_EQ(::listen(squatter.Get(), 0), 0);
  std::vector<UniqueFd> queued;
  for (;;) {
    queued.emplace_back(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
    if (::connect(queued.back().Get(), to, length) != 0) {
      ASSERT_EQ(errno, EAGAIN);
      break;
    }
  }
  std::string error;
  EXPECT_FALSE(SendStatusNotification({7, 2}, error));
  EXPECT_THAT(error, ::testing::HasSubstr("takes no connections"));
  const StatusSocketClaim claim = ClaimStatusSocket();
  EXPECT_FALSE(claim.runningCopy);
  EXPECT_FALSE(claim.socket.Valid());
  EXPECT_THAT(claim.error, ::testing::HasSubstr("takes no connections"));
}

TEST(ToolHomeTest, BuildTreeKeepsItsFilesInstalledToolFillsTheUsersFolders) {
  test::TempDir dir;
  std::string error;

  // Beside a config.bin: that folder.
  fs::create_directories(dir / "build");
  test::WriteBytes(dir / "build" / "config.bin", {0});
  EXPECT_EQ(ToolHome(dir / "build" / "tarnix-q8", error), dir / "build" / "tarnix-q8");

  // Installed: ../share/tarnix-q8 holds the defaults and the skins.
  const fs::path share = dir / "usr" / "share" / "tarnix-q8";
  fs::create_directories(share / "Skins" / "Default");
  fs::create_directories(dir / "usr" / "bin");
  test::WriteBytes(share / "config.bin", std::vector<std::uint8_t>(220, 7));
  test::WriteBytes(share / "str.ini", {'[', 'S', ']'});
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  const auto home = ToolHome(dir / "usr" / "bin" / "tarnix-q8", error);
  ASSERT_TRUE(home) << error;
  EXPECT_EQ(home->parent_path(), dir / "config" / "tarnix-q8");
  EXPECT_EQ(test::ReadBytes(home->parent_path() / "config.bin"),
            test::ReadBytes(share / "config.bin"));
  EXPECT_TRUE(fs::is_directory(home->parent_path() / "Skins" / "Default"));

  // A second start keeps what the user changed.
  test::WriteBytes(home->parent_path() / "config.bin", {1, 2, 3});
  ASSERT_TRUE(ToolHome(dir / "usr" / "bin" / "tarnix-q8", error));
  EXPECT_EQ(test::ReadBytes(home->parent_path() / "config.bin"),
            (std::vector<std::uint8_t>{1, 2, 3}));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace q8::linux_shell
