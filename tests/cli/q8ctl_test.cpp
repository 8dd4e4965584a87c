#include "cli/q8ctl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <sstream>
#include <thread>
#include <utility>

#include "app/profile_store.h"
#include "device/mouse_state_file.h"
#include "device/simulated_hid_bus.h"
#include "device/wire_trace.h"
#include "settings/durable_file.h"
#include "settings/ini_file.h"
#include "settings/str_ini.h"

#include "q8_version.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(std::vector<std::string> args, HidBus* systemBus = nullptr) {
  std::ostringstream out, err;
  const int status = RunQ8ctl(args, out, err, systemBus);
  return {status, out.str(), err.str()};
}

// The simulated mouse as the system's bus shows it, answering only a number of feature reports and
// then none: a mouse unplugged in the middle of an operation.
class MouseLostMidway final : public HidBus {
 public:
  MouseLostMidway(SimulatedMouse& mouse, int reportsAnswered)
      : bus_(mouse), reportsLeft_(reportsAnswered) {}

  std::unique_ptr<HidInterfaceList> ListInterfaces() override { return bus_.ListInterfaces(); }
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override {
    return bus_.OpenProbe(path);
  }
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override {
    HidChannelOpening opening = bus_.OpenChannel(path, kind);
    if (opening.channel) {
      opening.channel = std::make_unique<Channel>(std::move(opening.channel), reportsLeft_);
    }
    return opening;
  }

 private:
  class Channel final : public FeatureChannel {
   public:
    Channel(std::unique_ptr<FeatureChannel> inner, int& reportsLeft)
        : inner_(std::move(inner)), reportsLeft_(reportsLeft) {}
    bool SendFeature(std::span<const std::uint8_t> report) override {
      return Answers() && inner_->SendFeature(report);
    }
    bool GetFeature(std::span<std::uint8_t> report) override {
      return Answers() && inner_->GetFeature(report);
    }

   private:
    bool Answers() { return reportsLeft_-- > 0; }
    std::unique_ptr<FeatureChannel> inner_;
    int& reportsLeft_;
  };

  SimulatedHidBus bus_;
  int reportsLeft_;
};

std::size_t LineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The simulated mouse kept in a state file, and a config.bin as the tool is delivered with it.
class Q8ctlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bytes config(220, 0);
    config[1 + 5] = 1;  // 1000 Hz
    for (std::size_t stage = 0; stage < 8; ++stage) {
      config[1 + 7 + stage] = static_cast<std::uint8_t>(stage);  // levels 0..7
      config[1 + 15 + stage] = stage < 6 ? 1 : 0;                // stages 1..6 on
    }
    config[1 + 47] = 1;  // standard lighting
    config[1 + 48] = 9;  // 100%
    for (std::size_t button = 0; button < 16; ++button) {
      config[1 + 59 + button] = std::array<std::uint8_t, 8>{0, 1, 2, 5, 5, 3, 4, 12}[button % 8];
    }
    config[1 + 203 + 3] = config[1 + 203 + 11] = 3;  // button 4: DPI +
    config[1 + 203 + 4] = config[1 + 203 + 12] = 4;  // button 5: DPI -
    test::WriteBytes(configPath, config);
  }

  ToolRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--simulate=" + statePath.string()});
    for (std::string& arg : args) {
      if (arg == "CONFIG") {
        arg = "--config=" + configPath.string();
      }
    }
    return RunTool(args);
  }

  std::uint8_t StateByte(std::size_t page, std::size_t byte) {
    return test::ReadBytes(statePath).at(2 + 64 * (page - 1) + byte);
  }

  test::TempDir dir;
  std::filesystem::path statePath = dir / "mouse.bin";
  std::filesystem::path configPath = dir / "config.bin";
};

TEST_F(Q8ctlTest, UsageErrorsExitWithTwoAndShowTheUsage) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--simulate", "frobnicate"},
                                             {"--bogus", "info"},
                                             {"info", "dump"},
                                             {"dump", "--config=x"},
                                             {"set", "report-rate", "300"},
                                             {"set", "dpi", "7", "800"},
                                             {"set", "lighting", "neon"},
                                             {"set", "lighting", "standard", "50%"}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("usage: q8ctl"));
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(statePath));

  const ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_THAT(help.out, HasSubstr("usage: q8ctl"));
  const ToolRun setHelp = RunTool({"set", "--help"});
  EXPECT_EQ(setHelp.status, kExitOk);
  EXPECT_THAT(setHelp.out, HasSubstr("respiration SPEED [rgb-effect|rgb-flash]"));

  // The project's one version number (CMake's project version), without touching the mouse.
  const ToolRun version = RunTool({"--version", "--simulate=" + statePath.string()});
  EXPECT_EQ(version.status, kExitOk);
  EXPECT_EQ(version.out, "q8ctl " + std::string(kVersion) + "\n");
  EXPECT_TRUE(version.err.empty());
  EXPECT_TRUE(!kVersion.empty() && std::isdigit(static_cast<unsigned char>(kVersion.front())) &&
              kVersion.find_first_not_of("0123456789.") == std::string_view::npos)
      << kVersion;
  EXPECT_FALSE(std::filesystem::exists(statePath));
}

TEST_F(Q8ctlTest, BadFilesGetOneLineAndAreLeftAlone) {
  const Bytes badState(100, 0x42);
  test::WriteBytes(statePath, badState);
  const ToolRun badStateRun = Run({"info"});
  EXPECT_EQ(badStateRun.status, kExitUsage);
  EXPECT_EQ(LineCount(badStateRun.err), 1u) << badStateRun.err;
  EXPECT_THAT(badStateRun.err, HasSubstr("100 bytes"));
  EXPECT_EQ(test::ReadBytes(statePath), badState);
  std::filesystem::remove(statePath);

  for (std::size_t size : {219, 221}) {
    const Bytes config(size, 1);
    test::WriteBytes(configPath, config);
    const ToolRun run = Run({"apply", "CONFIG"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
    EXPECT_THAT(run.err, HasSubstr(std::to_string(size) + " bytes"));
    EXPECT_EQ(test::ReadBytes(configPath), config);
    EXPECT_FALSE(std::filesystem::exists(statePath));  // the mouse was not touched
  }

  std::filesystem::remove(configPath);
  const ToolRun missing = Run({"show", "CONFIG"});
  EXPECT_EQ(missing.status, kExitUsage);
  EXPECT_EQ(LineCount(missing.err), 1u) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(configPath));
}

TEST_F(Q8ctlTest, NoMouseOnTheSystemBusExitsWithOne) {
  // No Tarnix Q8 is attached to the machines the tests run on.
  const ToolRun run = RunTool({"info"});
  EXPECT_EQ(run.status, kExitDeviceFailure);
  EXPECT_EQ(run.out, "mouse: not found\n");
  EXPECT_THAT(run.err, HasSubstr("The system did not detect the gaming mouse!"));
}

TEST_F(Q8ctlTest, InfoAndDumpReadTheSimulatedMouseAndTraceTheWire) {
  const ToolRun info = Run({"info"});
  EXPECT_EQ(info.status, kExitOk) << info.err;
  EXPECT_EQ(info.out,
            "mouse: found\n"
            "short channel: 8-byte feature reports\n"
            "page channel: 65-byte feature reports\n"
            "report rate: 1000 Hz\n"
            "DPI stage: 2\n"
            "sensor variant: 3\n"
            "DPI levels: 400 800 1200 1600 2000 2400 2800 3200\n");
  EXPECT_EQ(test::ReadBytes(statePath).size(), 322u);

  const ToolRun dump = Run({"--trace=" + (dir / "wire.trace").string(), "dump"});
  EXPECT_EQ(dump.status, kExitOk) << dump.err;
  EXPECT_THAT(dump.out, HasSubstr("page 4: 00 03 "));
  EXPECT_EQ(LineCount(dump.out), 5u);
  const std::string trace = test::ReadText(dir / "wire.trace");
  EXPECT_TRUE(trace.starts_with("set short 01 78 01 71 68 46 46 e6\n")) << trace;
  EXPECT_EQ(LineCount(trace), 22u);
}

TEST_F(Q8ctlTest, ApplyWritesTheMouseThenSavesTheFile) {
  const ToolRun run = Run({"--trace=" + (dir / "wire.trace").string(), "apply", "CONFIG"});
  ASSERT_EQ(run.status, kExitOk) << run.err;

  const Bytes state = test::ReadBytes(statePath);
  ASSERT_EQ(state.size(), 322u);
  EXPECT_EQ(state[0], 1);  // report rate of the record
  EXPECT_EQ(state[1], 2);  // DPI stage as the mouse reported it
  // Sensor variant 3, levels 0..7: codes 1..8; stages 7 and 8 off.
  EXPECT_EQ(Bytes(state.begin() + 2 + 192 + 24, state.begin() + 2 + 192 + 32),
            (Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x87, 0x88}));
  EXPECT_EQ(StateByte(4, 10), 1);  // standard lighting
  EXPECT_EQ(StateByte(4, 11), 9);  // brightness index
  EXPECT_EQ(StateByte(4, 7), 1);
  EXPECT_EQ(StateByte(4, 12), 2);
  EXPECT_EQ(StateByte(5, 24), 0);  // stage colours of the record: black
  EXPECT_EQ(StateByte(3, 10), 3);  // button 4 of Mode A: DPI +, slot 5
  EXPECT_EQ(StateByte(3, 11), 3);

  const Bytes saved = test::ReadBytes(configPath);
  ASSERT_EQ(saved.size(), 220u);
  EXPECT_EQ(saved[0], 1);

  // The start-up read, then the apply: query, check, status set, five pages.
  std::istringstream trace(test::ReadText(dir / "wire.trace"));
  std::vector<std::string> events;
  for (std::string line; std::getline(trace, line);) {
    events.push_back(line.substr(0, line.find(' ', line.find(' ') + 1)));
  }
  ASSERT_EQ(events.size(), 22u + 6 + 20);
  EXPECT_EQ(std::vector<std::string>(events.begin() + 22, events.begin() + 28),
            (std::vector<std::string>{"set short", "get short", "set short", "get short",
                                      "set short", "wait 20"}));
  EXPECT_EQ(std::count(events.begin(), events.end(), "set page"), 5);
}

TEST_F(Q8ctlTest, SetChangesOneSettingAppliesItAndShowTellsIt) {
  ASSERT_EQ(Run({"set", "CONFIG", "report-rate", "250"}).status, kExitOk);
  ASSERT_EQ(Run({"set", "CONFIG", "dpi", "3", "1600"}).status, kExitOk);
  ASSERT_EQ(Run({"set", "CONFIG", "lighting", "respiration", "6S", "rgb-flash"}).status, kExitOk);

  const Bytes saved = test::ReadBytes(configPath);
  EXPECT_EQ(saved[0], 1);
  EXPECT_EQ(saved[1 + 5], 4);   // 250 Hz
  EXPECT_EQ(saved[1 + 9], 3);   // stage 3: level 3, 1600 DPI
  EXPECT_EQ(saved[1 + 47], 2);  // respiration
  EXPECT_EQ(saved[1 + 49], 2);  // 6S
  EXPECT_EQ(saved[1 + 52], 2);  // RGB Flash
  EXPECT_EQ(test::ReadBytes(statePath)[0], 4);
  EXPECT_EQ(StateByte(4, 26), 0x04);
  EXPECT_EQ(StateByte(4, 8), 0x7D);

  const ToolRun show = Run({"show", "CONFIG"});
  ASSERT_EQ(show.status, kExitOk) << show.err;
  EXPECT_THAT(show.out, HasSubstr("report rate: 250 Hz\n"));
  EXPECT_THAT(show.out, HasSubstr("  3: 1600 DPI, on, colour #000000\n"));
  EXPECT_THAT(show.out, HasSubstr("lighting: Respiration, 6S, RGB Flash\n"));
  EXPECT_THAT(show.out, HasSubstr("Mode B:\n  button 1: Left Click\n"));
  EXPECT_THAT(show.out, HasSubstr("  button 4: DPI +\n"));
  EXPECT_THAT(show.out, HasSubstr("  button 8: Key Off\n"));
}

TEST_F(Q8ctlTest, DpiValueOutsideTheSensorsLevelsChangesNothing) {
  const Bytes config = test::ReadBytes(configPath);
  const ToolRun run = Run({"set", "CONFIG", "dpi", "2", "1000"});  // a level of other sensors
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_EQ(run.err,
            "q8ctl: DPI value '1000' is not a level of this mouse's sensor (levels: 400 800 1200 "
            "1600 2000 2400 2800 3200)\n");
  EXPECT_EQ(test::ReadBytes(configPath), config);
  EXPECT_EQ(StateByte(4, 25), 0x03);  // the factory code of stage 2, not written over
}

// Whatever goes wrong on the way to the mouse ends in a failure that says so: never "applied", a
// dump of whatever came back, or a file name read as nothing.
TEST_F(Q8ctlTest, AMouseLostMidwayOrAnEmptyFileNameIsAFailureThatSaysSo) {
  const std::string config = "--config=" + configPath.string();
  SimulatedMouse mouse;

  // The start-up read takes 17 reports, the status refresh and the check before the write 4 more:
  // the mouse goes once it has answered the check.
  MouseLostMidway lostWhileWritten(mouse, 17 + 4);
  const ToolRun apply = RunTool({"apply", config}, &lostWhileWritten);
  EXPECT_EQ(apply.status, kExitDeviceFailure);
  EXPECT_EQ(apply.out, "");
  EXPECT_THAT(apply.err, HasSubstr("may hold a partial write"));
  EXPECT_EQ(LineCount(apply.err), 1u) << apply.err;
  const Bytes configBefore = test::ReadBytes(configPath);

  // Gone after the status and two pages of the read: nothing is shown as the mouse's, and nothing
  // is written to it or saved.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"dump"}, {"info"}, {"set", config, "report-rate", "125"}}) {
    MouseLostMidway lostWhileRead(mouse, 2 + 2 * 3);
    const ToolRun run = RunTool(args, &lostWhileRead);
    EXPECT_EQ(run.status, kExitDeviceFailure) << args[0];
    EXPECT_EQ(run.out, "") << args[0];
    EXPECT_THAT(run.err, HasSubstr("stopped answering")) << args[0];
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
  }
  EXPECT_EQ(test::ReadBytes(configPath), configBefore);

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"show", "--config="}, {"show", "--config", ""}}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("needs a file name"));
    EXPECT_THAT(run.err, HasSubstr("usage: q8ctl"));
  }
}

// While another program holds the simulated mouse, the tool waits, and then reads what that
// program wrote in the meantime.
TEST_F(Q8ctlTest, WaitsWhileAnotherProgramHoldsTheMouse) {
  ASSERT_EQ(Run({"info"}).status, kExitOk);  // the state file exists
  std::string error;
  const auto memory = LoadOrCreateMouseStateFile(statePath, error);
  ASSERT_TRUE(memory) << error;
  PersistentSimulatedMouse other(statePath, *memory);
  const auto tracePath = dir / "wire.trace";

  other.Mouse().ShortChannel().Lock();
  ToolRun dump;
  std::thread tool([&] { dump = Run({"--trace=" + tracePath.string(), "dump"}); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const std::string traceWhileHeld = test::ReadText(tracePath);
  SimulatedMouseMemory changed = *memory;
  changed.image.At(5, 63) ^= 0xFF;
  const std::error_code saveError = SaveMouseStateFile(statePath, changed);
  other.Mouse().ShortChannel().Unlock();
  tool.join();

  EXPECT_EQ(traceWhileHeld, "");
  EXPECT_FALSE(saveError);
  EXPECT_EQ(dump.status, kExitOk) << dump.err;
  EXPECT_THAT(dump.out, HasSubstr("page 5: " + HexBytes(changed.image.Page(5)) + "\n"));
}

// A tray program's profile load that ends just as `set` takes the mouse: set changes what
// config.bin holds then, not what it read before it held the mouse, so the two programs never
// leave the mouse and config.bin holding a mix.
TEST_F(Q8ctlTest, SetReadsConfigBinOnceItHoldsTheMouse) {
  SimulatedMouse mouse;
  SimulatedHidBus bus(mouse);
  Bytes loadedElsewhere = test::ReadBytes(configPath);
  loadedElsewhere[1 + 7] = 5;  // stage 1: level 5
  bool taken = false;
  mouse.OnLock(
      [&] {
        if (!std::exchange(taken, true))
          test::WriteBytes(configPath, loadedElsewhere);
      },
      [] {});

  const ToolRun set =
      RunTool({"--config=" + configPath.string(), "set", "report-rate", "250"}, &bus);
  ASSERT_EQ(set.status, kExitOk) << set.err;
  const Bytes saved = test::ReadBytes(configPath);
  EXPECT_EQ(saved[1 + 7], 5);  // the other program's change stays
  EXPECT_EQ(saved[1 + 5], 4);  // with this one's on top
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 4);
}

// A config.bin q8ctl may not write (read-only) is refused in one line before the mouse is
// touched. Root on Linux writes a read-only file all the same: there the process test makes the
// folder read-only instead.
TEST_F(Q8ctlTest, AConfigBinItMayNotWriteLeavesTheMouseUntouched) {
  namespace fs = std::filesystem;
  const auto writable = [&](fs::perm_options option) {
    fs::permissions(configPath, fs::perms::owner_write, option);
  };
  writable(fs::perm_options::remove);
  if (!CheckWritable(configPath)) {
    writable(fs::perm_options::add);
    GTEST_SKIP() << "this user writes read-only files";
  }
  const ToolRun run = Run({"set", "CONFIG", "report-rate", "250"});
  writable(fs::perm_options::add);
  EXPECT_EQ(run.status, kExitDeviceFailure);
  EXPECT_EQ(LineCount(run.err), 1u) << run.err;
  EXPECT_THAT(run.err, HasSubstr("cannot write " + configPath.string()));
  EXPECT_FALSE(fs::exists(statePath));  // the mouse was not touched
}

// A profile saved from the files goes back to the mouse, config.bin and str.ini on load, exactly
// as apply sends a config.bin; a profile moved through export and import is the same profile; a
// bad name or file changes nothing.
TEST_F(Q8ctlTest, AProfileSavedThenLoadedRestoresTheMouseAndTheFiles) {
  const auto strIni = dir / "str.ini";
  ASSERT_FALSE(WriteIniString(strIni, "Skins", "Lan", "EN"));
  ButtonCaptions captions;
  captions[0] = "Left Click";
  captions[8] = "Fire: A";
  ASSERT_FALSE(WriteButtonCaptions(strIni, "Setting-EN", captions));
  ASSERT_EQ(Run({"profile", "CONFIG", "save", "Racing"}).status, kExitOk);
  const Bytes savedConfig = test::ReadBytes(configPath);

  ASSERT_EQ(Run({"set", "CONFIG", "report-rate", "250"}).status, kExitOk);
  ButtonCaptions changed = captions;
  changed[8] = "Key Off";
  ASSERT_FALSE(WriteButtonCaptions(strIni, "Setting-EN", changed));
  ASSERT_EQ(test::ReadBytes(statePath)[0], 4);

  const ToolRun load = Run({"profile", "CONFIG", "load", "Racing"});
  ASSERT_EQ(load.status, kExitOk) << load.err;
  EXPECT_EQ(load.out, "applied " + configPath.string() + "\n");
  EXPECT_EQ(test::ReadBytes(statePath)[0], 1);  // the mouse: 1000 Hz again
  Bytes expectedConfig = savedConfig;
  expectedConfig[0] = 1;  // saved by the tool
  EXPECT_EQ(test::ReadBytes(configPath), expectedConfig);
  EXPECT_EQ(ReadStrIniSettings(strIni, "Setting-EN").captions, captions);

  const ToolRun show = Run({"show", "CONFIG"});
  const ToolRun profileShow = Run({"profile", "CONFIG", "show", "Racing"});
  ASSERT_EQ(profileShow.status, kExitOk) << profileShow.err;
  EXPECT_EQ(profileShow.out, show.out);

  const auto exported = dir / "shared.ini";
  ASSERT_EQ(Run({"profile", "CONFIG", "export", "Racing", exported.string()}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "import", exported.string(), "Copy"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "import", exported.string()}).status, kExitOk);
  EXPECT_EQ(Run({"profile", "CONFIG", "list"}).out, "Copy\nRacing\nshared\n");
  EXPECT_EQ(Run({"profile", "CONFIG", "show", "Copy"}).out, show.out);

  const Bytes stateBefore = test::ReadBytes(statePath);
  const auto damaged = dir / "damaged.ini";
  test::WriteBytes(damaged, Bytes{'[', 'P', 'r', 'o', 'f', 'i', 'l', 'e', ']'});
  const auto outOfRange = dir / "lighting.ini";
  std::string text = test::ReadText(exported);
  text.replace(text.find("LightingMode=Standard"), 21, "LightingMode=code 7");
  test::WriteBytes(outOfRange, Bytes(text.begin(), text.end()));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"profile", "CONFIG", "load", "../Racing"},
           {"profile", "CONFIG", "load", "Missing"},
           {"profile", "CONFIG", "save", "NUL"},
           {"profile", "CONFIG", "delete", "Missing"},
           {"profile", "CONFIG", "import", damaged.string()},
           {"profile", "CONFIG", "import", outOfRange.string()},
           {"profile", "CONFIG", "import", exported.string(), "Copy"},
           {"profile", "CONFIG", "import", exported.string(), "COPY"},
           {"profile", "CONFIG", "save", "racing"},
           {"profile", "CONFIG", "rename", "Racing", "copy"},
           {"profile", "CONFIG", "rename", "Missing", "Other"},
           {"profile", "CONFIG", "rule", "game.exe", "Missing"},
           {"profile", "CONFIG", "rule", "a=b", "Racing"},
           {"profile", "CONFIG", "remove-rule", "game.exe"},
           {"profile", "CONFIG", "default", "Missing"}}) {
    const ToolRun run = Run(args);
    EXPECT_EQ(run.status, kExitUsage) << args[2];
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
  }
  EXPECT_EQ(test::ReadBytes(statePath), stateBefore);
  EXPECT_EQ(test::ReadBytes(configPath), expectedConfig);
  EXPECT_EQ(Run({"profile", "CONFIG", "import", "--force", exported.string(), "Copy"}).status,
            kExitOk);
  // A name that differs only in letter case replaces that profile under its own name, on every
  // system: Linux would otherwise keep both files, Windows rename the one it has.
  const ToolRun outOfRangeRun = Run({"profile", "CONFIG", "import", outOfRange.string(), "Odd"});
  EXPECT_THAT(outOfRangeRun.err, HasSubstr("[Settings] LightingMode holds code 7"));
  ASSERT_EQ(Run({"profile", "CONFIG", "import", "--force", exported.string(), "COPY"}).status,
            kExitOk);
  EXPECT_EQ(Run({"profile", "CONFIG", "list"}).out, "Copy\nRacing\nshared\n");
#ifndef _WIN32
  // The listing names exactly what load finds, whatever else lies in the folder.
  const auto folder = ProfileFolderIn(dir.path());
  std::filesystem::create_symlink(folder / "gone.ini", folder / "dangling.ini");
  std::filesystem::copy_file(folder / "Racing.ini", folder / "Upper.INI");
  EXPECT_EQ(Run({"profile", "CONFIG", "list"}).out, "Copy\nRacing\nshared\n");
  EXPECT_EQ(Run({"profile", "CONFIG", "load", "Upper"}).status, kExitUsage);
#endif
}

// Rules made through q8ctl are the ones the switch reads; a profile renamed or deleted takes its
// rules along, so that no rule names a profile that is gone.
TEST_F(Q8ctlTest, RulesFollowTheirProfileThroughRenameAndDelete) {
  ASSERT_EQ(Run({"profile", "CONFIG", "save", "Racing"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "save", "Desktop"}).status, kExitOk);
  EXPECT_EQ(Run({"profile", "CONFIG", "save", "--force", "racing"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "rule", "game.exe", "Racing"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "rule", "editor", "Desktop"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "default", "Racing"}).status, kExitOk);
  EXPECT_EQ(Run({"profile", "CONFIG", "rules"}).out,
            "game.exe = Racing\neditor = Desktop\nevery other program = Racing\n");

  const ToolRun renamed = Run({"profile", "CONFIG", "rename", "Racing", "Fast"});
  EXPECT_EQ(renamed.out, "renamed profile 'Racing' to 'Fast'\n");
  EXPECT_EQ(Run({"profile", "CONFIG", "list"}).out, "Desktop\nFast\n");
  const ToolRun deleted = Run({"profile", "CONFIG", "delete", "Desktop"});
  EXPECT_EQ(deleted.out, "deleted profile 'Desktop' and its 1 rule\n");
  EXPECT_EQ(Run({"profile", "CONFIG", "rules"}).out,
            "game.exe = Fast\nevery other program = Fast\n");
  ASSERT_EQ(Run({"profile", "CONFIG", "remove-rule", "GAME.EXE"}).status, kExitOk);
  ASSERT_EQ(Run({"profile", "CONFIG", "no-default"}).status, kExitOk);
  EXPECT_EQ(Run({"profile", "CONFIG", "rules"}).out, "");
}

}  // namespace
}  // namespace q8
