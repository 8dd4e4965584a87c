#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "device/feature_channel.h"

namespace q8::test {

// Files in a FUSE mount that answer the hidraw feature-report ioctls like a hidraw node, each
// passing the reports to a channel. They put a device under the real hidraw code on machines
// without uhid. Mounting needs /dev/fuse and the right to mount; Error() says why it failed.
class FuseHidrawNodes {
 public:
  FuseHidrawNodes(std::filesystem::path mountPoint, std::map<std::string, FeatureChannel*> nodes);
  ~FuseHidrawNodes();
  FuseHidrawNodes(const FuseHidrawNodes&) = delete;
  FuseHidrawNodes& operator=(const FuseHidrawNodes&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Error() const { return error_; }

 private:
  void Serve();
  void Handle(const std::uint8_t* request, std::size_t size);

  std::filesystem::path mountPoint_;
  std::map<std::string, FeatureChannel*> nodes_;
  int fd_ = -1;
  bool mounted_ = false;
  std::string error_;
  std::atomic<bool> stop_{false};
  std::thread server_;
};

}  // namespace q8::test
