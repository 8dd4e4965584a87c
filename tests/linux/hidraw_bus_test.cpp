#include "linux/hidraw_bus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cerrno>

#include <fcntl.h>
#include <linux/netlink.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/device_change.h"
#include "device/find_mouse.h"
#include "device/simulated_mouse.h"
#include "linux/fuse_hidraw.h"
#include "linux/hotplug_monitor.h"
#include "linux/unique_fd.h"
#include "support/fakes.h"
#include "support/mouse_descriptors.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace q8::linux_shell {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& array) {
  return Bytes(array.begin(), array.end());
}

// A sysfs and /dev tree laid out as the kernel lays it out: the hidraw class entry links to the
// HID device, which sits below the USB interface and the USB device.
class FakeHidrawTree {
 public:
  fs::path Sys() const { return dir_ / "sys"; }
  fs::path Dev() const { return dir_ / "dev"; }

  void AddNode(const std::string& name, std::uint16_t vendor, std::uint16_t product,
               const Bytes& descriptor, const std::string& usbInterface = "1-2:1.0") {
    char hidName[32];
    std::snprintf(hidName, sizeof(hidName), "0003:%04X:%04X.%04X", vendor, product, ++count_);
    const fs::path usbDevice = Sys() / "devices" / "usb1" / "1-2";
    const fs::path hidDevice = usbDevice / usbInterface / hidName;
    fs::create_directories(hidDevice);
    test::WriteBytes(usbDevice / "bcdDevice",
                     ToBytes(std::array<std::uint8_t, 5>{'0', '1', '0', '5', '\n'}));
    char uevent[128];
    std::snprintf(uevent, sizeof(uevent), "DRIVER=hid-generic\nHID_ID=0003:%08X:%08X\nHID_NAME=x\n",
                  vendor, product);
    const std::string ueventText(uevent);
    test::WriteBytes(hidDevice / "uevent", Bytes(ueventText.begin(), ueventText.end()));
    test::WriteBytes(hidDevice / "report_descriptor", descriptor);
    const fs::path classDir = Sys() / "class" / "hidraw" / name;
    fs::create_directories(classDir);
    fs::create_directory_symlink(hidDevice, classDir / "device");
    if (createDevFiles) {
      fs::create_directories(Dev());
      test::WriteBytes(Dev() / name, {});
    }
  }
  bool createDevFiles = true;

  void RemoveNode(const std::string& name) {
    fs::remove_all(Sys() / "class" / "hidraw" / name);
    fs::remove(Dev() / name);
  }

 private:
  test::TempDir dir_;
  int count_ = 0;
};

const Bytes kKeyboardInterface = ToBytes(test::kMouseKeyboardInterfaceDescriptor);
const Bytes kMouseInterface = ToBytes(test::kMouseMouseInterfaceDescriptor);
const Bytes kOtherMouse{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75,
                        0x08, 0x95, 0x03, 0x81, 0x06, 0xC0};

class HidrawBusTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& node, int collection) const {
    return (tree_.Dev() / node).string() + "#" + std::to_string(collection);
  }

  FakeHidrawTree tree_;
  HidrawBus bus_{tree_.Sys(), tree_.Dev()};
  test::RecordingMessageSink messages_;
  MouseLink link_;
};

TEST_F(HidrawBusTest, DescribesNodesFromSysfsInNumberOrder) {
  tree_.AddNode("hidraw10", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E, kKeyboardInterface);
  tree_.AddNode("hidraw0", 0x046D, 0xC077, {0xA1, 0x01});  // a descriptor cut short
  const std::vector<HidrawNode> nodes = bus_.Nodes();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].name, "hidraw0");
  EXPECT_EQ(nodes[0].attributes, (HidAttributes{0x046D, 0xC077, 0x0105}));
  EXPECT_FALSE(nodes[0].collections);
  EXPECT_EQ(nodes[1].name, "hidraw2");
  EXPECT_EQ(nodes[1].collections->size(), 3u);
  EXPECT_EQ(nodes[2].name, "hidraw10");
  EXPECT_EQ(nodes[2].devicePath, tree_.Dev() / "hidraw10");
  EXPECT_THAT(*nodes[2].collections, ElementsAre(HidCapabilities{1, 2, 7, 0, 65}));

  std::unique_ptr<HidInterfaceList> list = bus_.ListInterfaces();
  std::vector<std::string> paths;
  for (unsigned index = 0; list->Enumerate(index) == HidEnumStatus::kItem; ++index) {
    paths.push_back(*list->DevicePath());
  }
  EXPECT_THAT(paths, ElementsAre(Path("hidraw0", 0), Path("hidraw2", 0), Path("hidraw2", 1),
                                 Path("hidraw2", 2), Path("hidraw10", 0)));
  EXPECT_EQ(bus_.OpenProbe(Path("hidraw2", 1))->Capabilities(),
            (HidCapabilities{0x0C, 1, 3, 0, 0}));
  EXPECT_EQ(bus_.OpenProbe(Path("hidraw0", 0))->Capabilities(), std::nullopt);
  EXPECT_EQ(bus_.OpenProbe(Path("hidraw2", 7))->Capabilities(), std::nullopt);
  EXPECT_EQ(bus_.OpenProbe(Path("hidraw3", 0)), nullptr);
  EXPECT_EQ(bus_.OpenProbe("/dev/hidraw2"), nullptr);
}

// A device that leaves while it is looked at: its sysfs files fail to read (here: a folder).
TEST_F(HidrawBusTest, ADescriptorThatFailsToReadDescribesNothing) {
  tree_.AddNode("hidraw0", 0x04D9, 0xA09E, kKeyboardInterface);
  const fs::path descriptor =
      tree_.Sys() / "class" / "hidraw" / "hidraw0" / "device" / "report_descriptor";
  fs::remove(descriptor);
  fs::create_directory(descriptor);
  const std::optional<HidrawNode> node = bus_.Node("hidraw0");
  ASSERT_TRUE(node);
  EXPECT_FALSE(node->collections);
  EXPECT_FALSE(FindMouse(bus_, messages_, link_));
}

TEST_F(HidrawBusTest, TheSearchFindsTheMousesTwoCollectionsOnTwoNodes) {
  tree_.AddNode("hidraw0", 0x046D, 0xC077, kOtherMouse);
  tree_.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  ASSERT_TRUE(FindMouse(bus_, messages_, link_));
  EXPECT_EQ(link_.LastDevicePath(), Path("hidraw2", 0));
  EXPECT_EQ(link_.ShortReportLength(), 8);
  EXPECT_EQ(link_.PageReportLength(), 65);
  EXPECT_THAT(messages_.messages, IsEmpty());

  // The fake nodes are plain files: the feature ioctls fail and leave the buffer alone.
  std::array<std::uint8_t, 8> report{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(link_.ShortChannel().SendFeature(report));
  EXPECT_FALSE(link_.ShortChannel().GetFeature(report));
  EXPECT_EQ(report, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(HidrawBusTest, TheSearchsFailureRulesHoldOnLinux) {
  tree_.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E,
                Bytes(kMouseInterface.begin(), kMouseInterface.end() - 1), "1-2:1.1");
  EXPECT_FALSE(FindMouse(bus_, messages_, link_)) << "the mouse's descriptor is refused";

  tree_.RemoveNode("hidraw2");
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  tree_.AddNode("hidraw0", 0x046D, 0xC077, kOtherMouse);
  fs::remove(tree_.Dev() / "hidraw0");
  EXPECT_FALSE(FindMouse(bus_, messages_, link_)) << "a node without its device file";
  EXPECT_THAT(messages_.messages, IsEmpty());

  tree_.RemoveNode("hidraw0");
  fs::remove(tree_.Dev() / "hidraw2");
  fs::create_directory(tree_.Dev() / "hidraw2");  // opens, but not for reading and writing
  EXPECT_FALSE(FindMouse(bus_, messages_, link_));
  EXPECT_THAT(messages_.messages,
              ElementsAre(test::Message{"CreateFile Error Code:21", "TarnixMouseApp"}));

  // Without the rights to a node, the user learns of the udev rule that gives them.
  EXPECT_THAT(bus_.OpenFailureAdvice(EACCES), ::testing::HasSubstr("70-tarnix-q8.rules"));
  EXPECT_THAT(bus_.OpenFailureAdvice(EPERM), ::testing::HasSubstr("udevadm"));
}

TEST(HidrawAccessAdviceTest, FollowsWhereTheRuleIsInstalled) {
  // The package's rule (or the administrator's copy) in place: replug or trigger, not "copy".
  struct Case {
    const char* ruleFolder;  // nullptr: no rule anywhere
    const char* advice;
  };
  for (const Case& c : {Case{nullptr, "sudo cp 70-tarnix-q8.rules /etc/udev/rules.d/"},
                        Case{"usr/lib/udev/rules.d", "plug it in again, or run"},
                        Case{"lib/udev/rules.d", "plug it in again, or run"},
                        Case{"etc/udev/rules.d", "plug it in again, or run"}}) {
    test::TempDir root;
    if (c.ruleFolder != nullptr) {
      fs::create_directories(root / c.ruleFolder);
      std::ofstream(root / c.ruleFolder / "70-tarnix-q8.rules") << "# rule\n";
    }
    const HidrawBus bus(root / "sys", root / "dev", root.path());
    const std::string advice = bus.OpenFailureAdvice(EACCES);
    const char* folder = c.ruleFolder != nullptr ? c.ruleFolder : "none";
    EXPECT_THAT(advice, ::testing::HasSubstr(c.advice)) << folder;
    EXPECT_THAT(advice, ::testing::HasSubstr("udevadm")) << folder;
    EXPECT_EQ(advice.find("sudo cp") == std::string::npos, c.ruleFolder != nullptr) << folder;
  }
}

using test::RecordingHost;

std::vector<std::uint8_t> KernelEvent(const std::string& action, const std::string& subsystem,
                                      const std::string& node) {
  const std::string text = action + "@/devices/x/" + node + '\0' + "ACTION=" + action + '\0' +
                           "SUBSYSTEM=" + subsystem + '\0' + "DEVNAME=" + node + '\0';
  return Bytes(text.begin(), text.end());
}

TEST_F(HidrawBusTest, HotplugActsOncePerPlugAndOncePerUnplug) {
  RecordingHost host;
  DeviceChangeHandler handler(bus_, messages_, link_, host);
  HotplugMonitor monitor(bus_, handler, false);

  tree_.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  monitor.HandleMessage(KernelEvent("add", "hidraw", "hidraw1"));
  EXPECT_THAT(host.calls, IsEmpty()) << "half of the mouse";
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  monitor.HandleMessage(KernelEvent("add", "usb", "hidraw2"));
  EXPECT_THAT(host.calls, IsEmpty()) << "not an event about a hidraw node";
  monitor.HandleMessage(KernelEvent("add", "hidraw", "hidraw2"));
  EXPECT_THAT(host.calls, ElementsAre("announce 14", "present", "read"));
  EXPECT_TRUE(link_.HasChannels());

  host.calls.clear();
  tree_.AddNode("hidraw3", 0x046D, 0xC077, kOtherMouse);
  monitor.HandleMessage(KernelEvent("add", "hidraw", "hidraw3"));
  tree_.RemoveNode("hidraw1");
  monitor.HandleMessage(KernelEvent("remove", "hidraw", "hidraw1"));
  EXPECT_THAT(host.calls, IsEmpty());
  tree_.RemoveNode("hidraw2");
  monitor.HandleMessage(KernelEvent("remove", "hidraw", "hidraw2"));
  EXPECT_THAT(host.calls, ElementsAre("announce 15", "hide", "absent"));
}

// The kernel drops device events that do not fit the socket's buffer and says so once; any of them
// may have been the mouse's. Bridges made in a network namespace of its own give such a flood
// without touching the rest of the machine.
TEST_F(HidrawBusTest, EventsLostToAFullSocketStillLeadToALookAtTheBus) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "a network namespace of its own needs root";
  }
  tree_.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  tree_.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  constexpr int kSeen = 0, kNotSeen = 1, kNoFlood = 2;
  const pid_t child = ::fork();
  if (child == 0) {
    RecordingHost host;
    DeviceChangeHandler handler(bus_, messages_, link_, host);
    HotplugMonitor monitor(bus_, handler, false);
    std::string error;
    if (::unshare(CLONE_NEWNET) != 0 || !monitor.Open(error)) {
      ::_exit(kNoFlood);
    }
    const int kernelGroup = 1;
    const int smallest = 1;
    ::setsockopt(monitor.Fd(), SOL_NETLINK, NETLINK_ADD_MEMBERSHIP, &kernelGroup,
                 sizeof(kernelGroup));
    ::setsockopt(monitor.Fd(), SOL_SOCKET, SO_RCVBUF, &smallest, sizeof(smallest));
    for (int i = 0; i < 8; ++i) {
      const std::string command = "ip link add q8br" + std::to_string(i) + " type bridge 2>&1";
      if (std::system(command.c_str()) != 0) {
        ::_exit(kNoFlood);
      }
    }
    monitor.ReadEvents();
    const std::vector<std::string> arrival{"announce 14", "present", "read"};
    ::_exit(host.calls == arrival ? kSeen : kNotSeen);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNoFlood) {
    GTEST_SKIP() << "no network namespace with bridges here";
  }
  EXPECT_EQ(WEXITSTATUS(status), kSeen);
}

// The real ioctl path: the simulated mouse behind FUSE files that answer the hidraw ioctls.
TEST(HidrawChannelTest, ReadsAndWritesTheMouseThroughTheFeatureIoctls) {
  SimulatedMouseMemory memory = FactoryMouseMemory();
  memory.image.At(4, 1) = 2;
  memory.image.At(5, 63) = 0xA5;
  SimulatedMouse mouse(memory);
  test::TempDir devDir;
  test::FuseHidrawNodes nodes(
      devDir.path(), {{"hidraw1", &mouse.ShortChannel()}, {"hidraw2", &mouse.PageChannel()}});
  if (!nodes.Mounted()) {
    GTEST_SKIP() << nodes.Error();
  }
  FakeHidrawTree tree;
  tree.createDevFiles = false;
  tree.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  tree.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  HidrawBus bus(tree.Sys(), devDir.path());
  test::RecordingMessageSink messages;
  MouseLink link;
  ASSERT_TRUE(FindMouse(bus, messages, link));

  test::RecordingSleeper sleeper;
  const ProtocolPorts ports{link.ShortChannel(), link.PageChannel(), sleeper, messages, "absent"};
  DeviceState state;
  EXPECT_EQ(ReadFoundMouse(ports, state), 2);
  EXPECT_EQ(state.image, memory.image);
  EXPECT_EQ(state.status, memory.status);

  state.image.At(3, 0) = 0x0B;  // anything the mouse did not hold before
  state.status.reportRateCode = 8;
  WriteOperation(ports, state);
  EXPECT_EQ(mouse.Memory().image, state.image);
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 8);
  EXPECT_THAT(messages.messages, IsEmpty());
}

// Counts the reports that reach the mouse, from whichever thread they come.
class CountingChannel final : public FeatureChannel {
 public:
  CountingChannel(FeatureChannel& inner, std::atomic<int>& count) : inner_(inner), count_(count) {}
  bool SendFeature(std::span<const std::uint8_t> report) override {
    ++count_;
    return inner_.SendFeature(report);
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    ++count_;
    return inner_.GetFeature(report);
  }

 private:
  FeatureChannel& inner_;
  std::atomic<int>& count_;
};

// Each operation locks the node of the mouse's short channel: while another program holds that
// lock, not one report reaches the mouse.
TEST(HidrawChannelTest, AnOperationWaitsWhileAnotherProgramHoldsTheMouse) {
  SimulatedMouse mouse;
  std::atomic<int> reports{0};
  CountingChannel shortSide(mouse.ShortChannel(), reports);
  CountingChannel pageSide(mouse.PageChannel(), reports);
  test::TempDir devDir;
  test::FuseHidrawNodes nodes(devDir.path(), {{"hidraw1", &shortSide}, {"hidraw2", &pageSide}});
  if (!nodes.Mounted()) {
    GTEST_SKIP() << nodes.Error();
  }
  FakeHidrawTree tree;
  tree.createDevFiles = false;
  tree.AddNode("hidraw1", 0x04D9, 0xA09E, kKeyboardInterface);
  tree.AddNode("hidraw2", 0x04D9, 0xA09E, kMouseInterface, "1-2:1.1");
  HidrawBus bus(tree.Sys(), devDir.path());
  test::RecordingMessageSink messages;
  MouseLink link;
  ASSERT_TRUE(FindMouse(bus, messages, link));
  const UniqueFd other(::open((devDir.path() / "hidraw1").c_str(), O_RDWR | O_CLOEXEC));
  ASSERT_TRUE(other.Valid());
  ASSERT_EQ(::flock(other.Get(), LOCK_EX), 0);

  test::RecordingSleeper sleeper;
  const ProtocolPorts ports{link.ShortChannel(), link.PageChannel(), sleeper, messages, "absent"};
  DeviceState state;
  std::thread reader([&] { ReadFoundMouse(ports, state); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const int reportsWhileHeld = reports.load();
  ::flock(other.Get(), LOCK_UN);
  reader.join();

  EXPECT_EQ(reportsWhileHeld, 0);
  EXPECT_EQ(reports.load(), 17);
  EXPECT_EQ(state.image, mouse.Memory().image);
}

// The real event socket opens here and reading it never blocks the caller.
TEST_F(HidrawBusTest, TheEventSocketOpensAndReadsWithoutBlocking) {
  RecordingHost host;
  DeviceChangeHandler handler(bus_, messages_, link_, host);
  HotplugMonitor monitor(bus_, handler, false);
  EXPECT_EQ(monitor.Fd(), -1);
  std::string error;
  ASSERT_TRUE(monitor.Open(error)) << error;
  EXPECT_GE(monitor.Fd(), 0);
  monitor.ReadEvents();
  EXPECT_THAT(host.calls, IsEmpty());
}

}  // namespace
}  // namespace q8::linux_shell
