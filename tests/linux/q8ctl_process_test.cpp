#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/keldra_dlg.h"
#include "cli/q8ctl.h"
#include "support/status_listener.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
namespace fs = std::filesystem;

// Makes `folder` read-only for this process alone: a bind mount in a mount namespace of its own.
// (The tests run as root, whom a folder's permission bits do not stop.)
bool MakeReadOnly(const fs::path& folder) {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
         ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

// The built q8ctl, started with `args`, its standard output on `outFd` and its errors in `errFile`;
// `readOnly`, when given, is a folder it may not write.
pid_t StartTool(const std::vector<std::string>& args, int outFd, const fs::path& errFile,
                const fs::path* readOnly = nullptr) {
  const pid_t child = ::fork();
  if (child == 0) {
    const int errFd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::dup2(outFd, STDOUT_FILENO) < 0 || ::dup2(errFd, STDERR_FILENO) < 0) {
      ::_exit(126);
    }
    if (readOnly != nullptr && !MakeReadOnly(*readOnly)) {
      ::_exit(125);
    }
    std::vector<char*> argv{const_cast<char*>(Q8CTL_PATH)};
    for (const std::string& arg : args) {
      argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(Q8CTL_PATH, argv.data());
    ::_exit(127);
  }
  return child;
}

int WaitFor(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// A simulated mouse in a state file and a config.bin, set to 125 Hz.
class Q8ctlProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteConfig(); }

  void WriteConfig() {
    std::vector<std::uint8_t> config(220, 0);
    config[1 + 5] = 8;
    test::WriteBytes(configPath, config);
  }

  test::TempDir dir;
  fs::path statePath = dir / "mouse.bin";
  fs::path configPath = dir / "config.bin";
  fs::path errPath = dir / "err.txt";
};

// The tool is never ended halfway through a write, and a trace it cannot write is a failure it
// tells: a Ctrl-C or a termination request waits for the write to end, a reader of the trace that
// goes away ends nothing, and a full disk is reported.
TEST_F(Q8ctlProcessTest, NeverEndsHalfwayThroughAWriteAndTellsATraceItCannotWrite) {
  const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(devNull, 0);
  for (const int signal : {SIGINT, SIGTERM}) {
    const fs::path tracePath = dir / "wire.trace";
    fs::remove(tracePath);
    fs::remove(statePath);
    WriteConfig();
    const pid_t tool =
        StartTool({"--simulate=" + statePath.string(), "--trace=" + tracePath.string(), "apply",
                   "--config=" + configPath.string()},
                  devNull, errPath);
    // The status has reached the mouse once the trace shows the delay after it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Count(test::ReadText(tracePath), "wait 20\n") == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(tool, signal);
    const int status = WaitFor(tool);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(Count(test::ReadText(tracePath), "set page "), 5u) << signal;
    EXPECT_EQ(test::ReadBytes(configPath).at(0), 1) << "saved after the write";
  }
  ::close(devNull);

  // The trace on a pipe whose reader stops after 29 lines: the status is set, no page written.
  int pipeFds[2];
  ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);  // the tool keeps only the end it writes
  fs::remove(statePath);
  const pid_t tool = StartTool({"--simulate=" + statePath.string(), "--trace=/dev/stdout", "set",
                                "--config=" + configPath.string(), "report-rate", "250"},
                               pipeFds[1], errPath);
  ::close(pipeFds[1]);
  std::size_t lines = 0;
  char c = 0;
  while (lines < 29 && ::read(pipeFds[0], &c, 1) == 1) {
    lines += c == '\n' ? 1 : 0;
  }
  ::close(pipeFds[0]);
  const int status = WaitFor(tool);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitDeviceFailure) << status;
  EXPECT_THAT(test::ReadText(errPath), HasSubstr("cannot write the trace file /dev/stdout"));
  EXPECT_EQ(test::ReadBytes(configPath).at(1 + 5), 4) << "saved after the write";
  EXPECT_EQ(test::ReadBytes(statePath).at(0), 4);

  std::ostringstream out, err;
  const std::vector<std::string> args{"--simulate=" + statePath.string(), "--trace=/dev/full",
                                      "info"};
  EXPECT_EQ(RunQ8ctl(args, out, err), kExitDeviceFailure);
  EXPECT_THAT(err.str(), HasSubstr("cannot write the trace file /dev/full"));
}

// Without the rights to the files a command changes (its folder read-only), q8ctl says so in one
// line and exits with 1 before anything reaches the mouse, so the mouse and the files never
// disagree.
TEST_F(Q8ctlProcessTest, WithoutRightsToItsFilesNothingReachesTheMouse) {
  const fs::path tool = dir / "tool";
  fs::create_directories(tool);
  fs::copy_file(configPath, tool / "config.bin");
  const std::string simulate = "--simulate=" + statePath.string();
  const std::string config = "--config=" + (tool / "config.bin").string();
  std::ostringstream out, err;
  ASSERT_EQ(
      RunQ8ctl(std::vector<std::string>{simulate, "profile", config, "save", "Mine"}, out, err),
      kExitOk)
      << err.str();
  ASSERT_EQ(RunQ8ctl(std::vector<std::string>{simulate, "info"}, out, err), kExitOk) << err.str();
  const std::vector<std::uint8_t> mouse = test::ReadBytes(statePath);
  const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(devNull, 0);
  struct Case {
    std::vector<std::string> args;
    fs::path refused;
  };
  for (const Case& c : {Case{{"set", config, "report-rate", "250"}, tool / "config.bin"},
                        Case{{"apply", config}, tool / "config.bin"},
                        Case{{"profile", config, "load", "Mine"}, tool / "config.bin"},
                        Case{{"profile", config, "save", "Other"}, tool / "profiles"}}) {
    std::vector<std::string> args{simulate};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const int status = WaitFor(StartTool(args, devNull, errPath, &tool));
    const std::string said = test::ReadText(errPath);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitDeviceFailure)
        << c.args[0] << ": " << status << ' ' << said;
    EXPECT_EQ(Count(said, "\n"), 1u) << said;
    EXPECT_THAT(said, HasSubstr("cannot write " + c.refused.string()));
    EXPECT_THAT(said, HasSubstr("with write rights to " + tool.string()));
    EXPECT_EQ(test::ReadBytes(statePath), mouse) << c.args[0];
  }
  ::close(devNull);
}

// A running tray program hears of every change of the profile folder (21; value 1: a profile saved
// or imported, 0: anything that may rename, delete or change what the rules give) and of nothing
// else, through its status socket, which this test holds as the tray program does.
TEST_F(Q8ctlProcessTest, ProfileEditsTellARunningTrayProgram) {
  test::StatusListener tray;
  ASSERT_EQ(tray.Problem(), "") << "run this in a network namespace of its own";
  const std::string config = "--config=" + configPath.string();
  const std::string exported = (dir / "exported.ini").string();
  const struct {
    std::vector<std::string> args;
    std::optional<std::intptr_t> told;
  } steps[] = {
      {{"save", "Racing"}, kProfileSaved},
      {{"export", "Racing", exported}, std::nullopt},
      {{"import", exported, "Copy"}, kProfileSaved},
      {{"rename", "Racing", "Fast"}, kProfilesRenamedOrRulesChanged},
      {{"rule", "game.exe", "Fast"}, kProfilesRenamedOrRulesChanged},
      {{"remove-rule", "game.exe"}, kProfilesRenamedOrRulesChanged},
      {{"default", "Fast"}, kProfilesRenamedOrRulesChanged},
      {{"no-default"}, kProfilesRenamedOrRulesChanged},
      {{"delete", "Copy"}, kProfilesRenamedOrRulesChanged},
      {{"delete", "Copy"}, std::nullopt},  // refused: nothing changed
      {{"list"}, std::nullopt},
  };
  for (const auto& step : steps) {
    std::vector<std::string> args{"profile", config};
    args.insert(args.end(), step.args.begin(), step.args.end());
    std::ostringstream out, err;
    (void)RunQ8ctl(args, out, err);
    const auto heard = tray.Take();
    if (step.told) {
      EXPECT_THAT(heard,
                  ElementsAre(linux_shell::StatusNotification{kStatusProfilesEdited, *step.told}))
          << step.args[0] << ": " << err.str();
    } else {
      EXPECT_THAT(heard, IsEmpty()) << step.args[0];
    }
    EXPECT_THAT(err.str(), Not(HasSubstr("warning"))) << step.args[0];
  }

  // A tray program that runs but refuses the notice goes on believing the old folder: said.
  tray.Answer("error the window is busy");
  std::ostringstream out, err;
  const std::vector<std::string> rename{"profile", config, "rename", "Fast", "Racing"};
  EXPECT_EQ(RunQ8ctl(rename, out, err), kExitOk);
  EXPECT_THAT(err.str(), HasSubstr("not told of this (the window is busy)"));
}

}  // namespace
}  // namespace q8
