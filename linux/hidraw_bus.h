#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_bus.h"

namespace q8::linux_shell {

// One hidraw node as sysfs describes it.
struct HidrawNode {
  std::string name;                  // "hidraw3"
  std::filesystem::path devicePath;  // "/dev/hidraw3"
  std::optional<HidAttributes> attributes;
  // The node's top-level collections; nothing when the report descriptor cannot be read or is
  // refused.
  std::optional<std::vector<HidCapabilities>> collections;
};

// The HID bus of Linux: the system's hidraw nodes, each top-level collection of a node an
// interface of its own, described from sysfs (which everyone may read) so that looking at a
// device needs no access to it. Interface paths are the node's path and the collection's index,
// "/dev/hidraw3#1". Feature reports go through the hidraw feature ioctls.
class HidrawBus final : public HidBus {
 public:
  // The roots are "/sys", "/dev" and "/" (where the udev rules are looked for) on a running
  // system; tests point them at a fake tree.
  explicit HidrawBus(std::filesystem::path sysRoot = "/sys", std::filesystem::path devRoot = "/dev",
                     std::filesystem::path systemRoot = "/")
      : sysRoot_(std::move(sysRoot)),
        devRoot_(std::move(devRoot)),
        systemRoot_(std::move(systemRoot)) {}

  // The hidraw nodes in the order of their numbers.
  std::vector<HidrawNode> Nodes() const;
  std::optional<HidrawNode> Node(const std::string& name) const;

  std::unique_ptr<HidInterfaceList> ListInterfaces() override;
  std::unique_ptr<HidProbe> OpenProbe(const std::string& path) override;
  HidChannelOpening OpenChannel(const std::string& path, ChannelKind kind) override;
  // For a node this user may not open: with the tool's udev rule installed, how to let it reach
  // the mouse's nodes; without it, how to install it.
  std::string OpenFailureAdvice(std::uint32_t errorCode) const override;

 private:
  std::filesystem::path sysRoot_;
  std::filesystem::path devRoot_;
  std::filesystem::path systemRoot_;
};

}  // namespace q8::linux_shell
