#include "settings/durable_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
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

}  // namespace
}  // namespace q8
