#include "settings/durable_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "settings/config_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

// Lets the process write at most `bytes` bytes into any file while it lives: a full disk that
// strikes in the middle of a write.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST(DurableFileTest, SaveThatFailsMidwayLeavesTheOldFileIntact) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  std::vector<std::uint8_t> old(220, 0x11);
  test::WriteBytes(path, old);
  test::RecordingMessageSink messages;
  DeviceConfig config;
  config.Bytes()[0] = 0x22;

  bool saved = true;
  {
    FileSizeLimit limit(100);
    saved = SaveConfigFile(path, config, messages);
  }

  EXPECT_FALSE(saved);
  EXPECT_EQ(test::ReadBytes(path), old);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Error Code is: " + std::to_string(EFBIG) + " \n");
  EXPECT_EQ(messages.messages[0].caption, "NULL ==fp ");
  // The partial temporary file is gone.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(DurableFileTest, ReplacementKeepsThePermissionsOfTheOriginal) {
  test::TempDir dir;
  const auto path = dir / "state.bin";
  test::WriteBytes(path, {1, 2, 3});
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  const std::vector<std::uint8_t> next{4, 5};
  ASSERT_FALSE(ReplaceFileContents(path, next));
  EXPECT_EQ(test::ReadBytes(path), next);
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
}

TEST(DurableFileTest, AFileInTheWayOfTheTemporaryIsNotWrittenThrough) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  const auto other = dir / "other.bin";
  test::WriteBytes(path, std::vector<std::uint8_t>(220, 0x11));
  const std::vector<std::uint8_t> otherBytes{1, 2, 3};
  test::WriteBytes(other, otherBytes);
  // What a crashed save leaves, or someone else plants, under the temporary's name.
  std::filesystem::create_symlink(other, dir / ("config.bin.tmp-" + std::to_string(::getpid())));

  const std::vector<std::uint8_t> next(220, 0x22);
  ASSERT_FALSE(ReplaceFileContents(path, next));

  EXPECT_EQ(test::ReadBytes(other), otherBytes);
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
  EXPECT_EQ(test::ReadBytes(path), next);
}

// Runs `body` in a child process as an ordinary user (root writes to read-only files regardless)
// and returns its exit status.
int ExitStatusAsUser(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(100);
    }
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DurableFileTest, AReadOnlyConfigFileIsReportedAndNotReplaced) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  const std::vector<std::uint8_t> old(220, 0x11);
  test::WriteBytes(path, old);
  // The folder lets anyone create files; only the file itself says no.
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);

  const int status = ExitStatusAsUser([&] {
    test::RecordingMessageSink messages;
    const bool saved = SaveConfigFile(path, DeviceConfig{}, messages);
    const test::Message expected{"Error Code is: " + std::to_string(EACCES) + " \n", "NULL ==fp "};
    return !saved && messages.messages == std::vector<test::Message>{expected} ? 0 : 1;
  });

  EXPECT_EQ(status, 0);
  EXPECT_EQ(test::ReadBytes(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

// The saves the replacement by rename got wrong: whoever saves, through whatever link, and in a
// folder where no new file may be made, the file the user means gets the new content and stays
// the user's.
TEST(DurableFileTest, SavesReachTheFileTheUserMeansAndKeepItTheirs) {
  test::TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  const std::vector<std::uint8_t> old(220, 0x11);
  DeviceConfig config;
  config.Bytes()[0] = 0x22;
  const auto saveAsUser = [&](const std::filesystem::path& path) {
    return ExitStatusAsUser([&] {
      test::RecordingMessageSink messages;
      return SaveConfigFile(path, config, messages) && messages.messages.empty() ? 0 : 1;
    });
  };
  const auto entries = [](const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder),
                         std::filesystem::directory_iterator());
  };

  // A save by root keeps the owner and group, so that the user can still save afterwards.
  if (::geteuid() == 0) {
    const auto owned = dir / "owned";
    std::filesystem::create_directory(owned);
    std::filesystem::permissions(owned, std::filesystem::perms::all);
    const auto path = owned / "config.bin";
    test::WriteBytes(path, old);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    test::RecordingMessageSink messages;
    ASSERT_TRUE(SaveConfigFile(path, config, messages));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(saveAsUser(path), 0);
  }

  // A link keeps pointing at its file, which takes the new content; no temporary stays behind.
  {
    const auto real = dir / "real";
    std::filesystem::create_directory(real);
    test::WriteBytes(real / "config.bin", old);
    const auto linked = dir / "linked";
    std::filesystem::create_directory(linked);
    std::filesystem::create_symlink("../real/config.bin", linked / "config.bin");
    test::RecordingMessageSink messages;
    ASSERT_TRUE(SaveConfigFile(linked / "config.bin", config, messages));
    EXPECT_TRUE(std::filesystem::is_symlink(linked / "config.bin"));
    const auto saved = test::ReadBytes(real / "config.bin");
    ASSERT_EQ(saved.size(), 220u);
    EXPECT_EQ(saved[1], 0x22);
    EXPECT_EQ(entries(real), 1);
    EXPECT_EQ(entries(linked), 1);
  }

  // A writable file in a folder where the user may not create files is written in place.
  {
    const auto closed = dir / "closed";
    std::filesystem::create_directory(closed);
    const auto path = closed / "config.bin";
    test::WriteBytes(path, old);
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::group_write |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_write);
    std::filesystem::permissions(
        closed, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                    std::filesystem::perms::group_read | std::filesystem::perms::group_exec |
                    std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    EXPECT_EQ(saveAsUser(path), 0);
    const auto saved = test::ReadBytes(path);
    ASSERT_EQ(saved.size(), 220u);
    EXPECT_EQ(saved[0], 1);
    EXPECT_EQ(saved[1], 0x22);
    EXPECT_EQ(entries(closed), 1);
  }
}

}  // namespace
}  // namespace q8
