// The saves of config.bin, str.ini and the simulated mouse's state file survive a kill at any
// moment. A child process saves all three in a loop through the tool's own save functions,
// alternating between two settings, and is killed with SIGKILL at random moments; after every
// kill each file holds one of the two contents, whole: never torn, never empty.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "device/mouse_state_file.h"
#include "settings/config_file.h"
#include "settings/str_ini.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

constexpr std::string_view kCaptionSection = "Setting-EN";

// The ordinary test run kills fifty times (a few seconds, as a round of saves with their flushes
// to the disk takes tens of milliseconds); scripts/fuzz asks for a thousand.
int KillCount() {
  const char* count = std::getenv("Q8_KILL_TEST_KILLS");
  return count != nullptr ? std::max(1, std::atoi(count)) : 50;
}

// Settings 0 and 1 differ in every file, and in the length of str.ini, so that a file cut short
// or mixed from both shows.
DeviceConfig ConfigOf(int version) {
  DeviceConfig config;
  std::fill(config.Bytes().begin(), config.Bytes().end(), version == 0 ? 0x11 : 0xEE);
  return config;
}

ButtonCaptions CaptionsOf(int version) {
  ButtonCaptions captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    captions[i] = version == 0 ? "Key " + std::to_string(i)
                               : "A much longer caption for button " + std::to_string(i);
  }
  return captions;
}

SimulatedMouseMemory MemoryOf(int version) {
  SimulatedMouseMemory memory = FactoryMouseMemory();
  memory.status.dpiStage = version == 0 ? 1 : 6;
  std::fill(memory.image.Page(3).begin(), memory.image.Page(3).end(), version == 0 ? 0x00 : 0xFF);
  return memory;
}

struct SavedFiles {
  std::filesystem::path configBin;
  std::filesystem::path strIni;
  std::filesystem::path stateFile;

  std::array<std::filesystem::path, 3> All() const { return {configBin, strIni, stateFile}; }
};

// Saves settings `version` the way the tool does (config.bin and the captions after an apply, the
// state file after the simulated mouse was written), beginning with file `first` so that kills
// early in a round reach every file. True when all three were saved.
bool Save(const SavedFiles& files, int version, std::size_t first = 0) {
  bool saved = true;
  for (std::size_t i = 0; i < 3; ++i) {
    switch ((first + i) % 3) {
      case 0: {
        test::SilentMessageSink messages;
        saved &= SaveConfigFile(files.configBin, ConfigOf(version), messages);
        break;
      }
      case 1:
        saved &= !WriteButtonCaptions(files.strIni, kCaptionSection, CaptionsOf(version));
        break;
      default:
        saved &= !SaveMouseStateFile(files.stateFile, MemoryOf(version));
    }
  }
  return saved;
}

// Starts a child that saves settings `version`, then the other, and so on until it is killed.
// Returns once the child is about to save: on a busy machine a fork takes longer than a round of
// saves, and a kill timed from the fork would land before the first save.
pid_t StartSaving(const SavedFiles& files, int version, std::size_t first) {
  int started[2];
  if (::pipe(started) != 0) {
    return -1;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(started[0]);
    const char saving = 1;
    if (::write(started[1], &saving, 1) != 1) {
      ::_exit(1);
    }
    for (;; version ^= 1) {
      if (!Save(files, version, first)) {
        ::_exit(1);
      }
    }
  }
  ::close(started[1]);
  char saving = 0;
  const bool childSaves = child > 0 && ::read(started[0], &saving, 1) == 1;
  ::close(started[0]);
  return childSaves ? child : -1;
}

TEST(KillTest, EverySaveIsOldOrNewAfterAKillAtAnyMoment) {
  test::TempDir dir;
  const SavedFiles files{dir / "config.bin", dir / "str.ini", dir / "mouse-state.bin"};
  test::WriteBytes(files.configBin, std::vector<std::uint8_t>(kConfigFileSize, 0));
  test::WriteBytes(files.strIni, test::ReadBytes(Q8_DATA_DIR "/str.ini"));

  // The two contents each file may hold, and how long one round of saves takes here.
  std::array<std::array<std::vector<std::uint8_t>, 2>, 3> contents;
  std::chrono::steady_clock::duration saveTime{};
  for (const int version : {0, 1}) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Save(files, version));
    saveTime = std::max(saveTime, std::chrono::steady_clock::now() - start);
    for (std::size_t f = 0; f < contents.size(); ++f) {
      contents[f][version] = test::ReadBytes(files.All()[f]);
    }
  }
  ASSERT_TRUE(Save(files, 0));
  ASSERT_EQ(test::ReadBytes(files.strIni), contents[1][0]) << "str.ini saves the same way twice";

  // Kills land anywhere from before the first save to into the second round.
  std::mt19937 random(std::random_device{}());
  const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 6 / 5);
  std::uniform_int_distribution<long> delay(0, longest.count() + 1000);
  std::array<int, 3> current{0, 0, 0};
  std::array<int, 3> changes{0, 0, 0};
  const int kills = KillCount();
  // Under load a round of saves takes longer than measured above and fewer kills land inside one:
  // more kills are made then, up to five times as many, until each file has changed often enough.
  const auto changedEnough = [&] {
    return std::all_of(changes.begin(), changes.end(), [&](int n) { return n > kills / 10; });
  };
  for (int kill = 0; kill < kills || (!changedEnough() && kill < kills * 5); ++kill) {
    const pid_t child = StartSaving(files, (kill + 1) % 2, static_cast<std::size_t>(kill) % 3);
    ASSERT_GT(child, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped saving on its own, status " << status;

    for (std::size_t f = 0; f < contents.size(); ++f) {
      const auto bytes = test::ReadBytes(files.All()[f]);
      const auto version = std::find(contents[f].begin(), contents[f].end(), bytes);
      ASSERT_TRUE(version != contents[f].end())
          << files.All()[f].filename() << " is torn after kill " << kill << ": " << bytes.size()
          << " bytes";
      const int now = static_cast<int>(version - contents[f].begin());
      changes[f] += now != current[f];
      current[f] = now;
    }
  }
  // The kills did land while the child was saving: every file was replaced many times.
  for (std::size_t f = 0; f < contents.size(); ++f) {
    EXPECT_GT(changes[f], kills / 10) << files.All()[f].filename();
  }
}

}  // namespace
}  // namespace q8
