#include "win32/setupapi_hid_bus.h"

#include <cstring>
#include <vector>

#include "win32/hid_api.h"
#include "win32/operation_mutex.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace q8::win32 {
namespace {

// Both the probe and the channels are opened without access rights: the HID class driver answers
// attribute and feature-report requests on such handles, and keyboards and mice, which the system
// holds open for itself, cannot be opened any other way.
constexpr DWORD kNoAccess = 0;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Opens `path`; on failure `error` holds the system's code, taken before anything can change it.
UniqueHandle OpenInterface(const std::string& path, DWORD attributes, DWORD& error) {
  const std::wstring widePath = ToWide(path);
  UniqueHandle handle(::CreateFileW(widePath.c_str(), kNoAccess, kShareReadWrite, nullptr,
                                    OPEN_EXISTING, attributes, nullptr));
  error = handle.Valid() ? ERROR_SUCCESS : ::GetLastError();
  return handle;
}

class DeviceInterfaceList final : public HidInterfaceList {
 public:
  explicit DeviceInterfaceList(HDEVINFO set) : set_(set) {}
  ~DeviceInterfaceList() override { ::SetupDiDestroyDeviceInfoList(set_); }
  DeviceInterfaceList(const DeviceInterfaceList&) = delete;
  DeviceInterfaceList& operator=(const DeviceInterfaceList&) = delete;

  HidEnumStatus Enumerate(unsigned index) override {
    interface_ = {};
    interface_.cbSize = sizeof(interface_);
    if (::SetupDiEnumDeviceInterfaces(set_, nullptr, &kHidInterfaceClass, index, &interface_)) {
      return HidEnumStatus::kItem;
    }
    return ::GetLastError() == ERROR_NO_MORE_ITEMS ? HidEnumStatus::kNoMoreItems
                                                   : HidEnumStatus::kFailed;
  }

  std::optional<std::string> DevicePath() override {
    DWORD required = 0;
    ::SetupDiGetDeviceInterfaceDetailW(set_, &interface_, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
      return std::nullopt;
    }
    // Storage of 8-byte units keeps the record's alignment.
    std::vector<std::uint64_t> storage((required + 7) / 8);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);  // the fixed part only
    if (!::SetupDiGetDeviceInterfaceDetailW(set_, &interface_, detail, required, nullptr,
                                            nullptr)) {
      return std::nullopt;
    }
    return ToUtf8(detail->DevicePath);
  }

 private:
  HDEVINFO set_;
  SP_DEVICE_INTERFACE_DATA interface_{};
};

// Owns the preparsed data the HID class driver hands out.
class PreparsedData {
 public:
  explicit PreparsedData(HANDLE device) {
    if (!::HidD_GetPreparsedData(device, &data_)) {
      data_ = nullptr;
    }
  }
  ~PreparsedData() {
    if (data_) {
      ::HidD_FreePreparsedData(data_);
    }
  }
  PreparsedData(const PreparsedData&) = delete;
  PreparsedData& operator=(const PreparsedData&) = delete;

  PHIDP_PREPARSED_DATA Get() const { return data_; }

 private:
  PHIDP_PREPARSED_DATA data_ = nullptr;
};

class InterfaceProbe final : public HidProbe {
 public:
  explicit InterfaceProbe(UniqueHandle handle) : handle_(std::move(handle)) {}

  std::optional<HidAttributes> Attributes() override {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof(attributes);
    if (!::HidD_GetAttributes(handle_.Get(), &attributes)) {
      return std::nullopt;
    }
    return HidAttributes{attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
  }

  std::optional<HidCapabilities> Capabilities() override {
    const PreparsedData preparsed(handle_.Get());
    if (!preparsed.Get()) {
      return std::nullopt;
    }
    HIDP_CAPS caps{};
    if (::HidP_GetCaps(preparsed.Get(), &caps) != kHidpStatusSuccess) {
      return std::nullopt;  // the driver's answer for preparsed data it does not recognise
    }
    return HidCapabilities{caps.UsagePage, caps.Usage, caps.InputReportByteLength,
                           caps.OutputReportByteLength, caps.FeatureReportByteLength};
  }

 private:
  UniqueHandle handle_;
};

class HidChannel final : public FeatureChannel {
 public:
  explicit HidChannel(UniqueHandle handle) : handle_(std::move(handle)) {}

  bool SendFeature(std::span<const std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());  // the driver wants PVOID
    return ::HidD_SetFeature(handle_.Get(), buffer.data(), static_cast<ULONG>(buffer.size()));
  }

  bool GetFeature(std::span<std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    if (!::HidD_GetFeature(handle_.Get(), buffer.data(), static_cast<ULONG>(buffer.size()))) {
      return false;  // the caller's buffer stays as it was
    }
    std::memcpy(report.data(), buffer.data(), buffer.size());
    return true;
  }

  // Every program of this tool holds the same named mutex for each device operation.
  void Lock() override { operations_.Lock(); }
  void Unlock() override { operations_.Unlock(); }

 private:
  UniqueHandle handle_;
  OperationMutex operations_;
};

}  // namespace

std::unique_ptr<HidInterfaceList> SetupApiHidBus::ListInterfaces() {
  const HDEVINFO set = ::SetupDiGetClassDevsW(&kHidInterfaceClass, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) {
    return nullptr;
  }
  return std::make_unique<DeviceInterfaceList>(set);
}

std::unique_ptr<HidProbe> SetupApiHidBus::OpenProbe(const std::string& path) {
  DWORD error = ERROR_SUCCESS;
  UniqueHandle handle = OpenInterface(path, 0, error);
  if (!handle.Valid()) {
    return nullptr;
  }
  return std::make_unique<InterfaceProbe>(std::move(handle));
}

HidChannelOpening SetupApiHidBus::OpenChannel(const std::string& path, ChannelKind kind) {
  DWORD error = ERROR_SUCCESS;
  UniqueHandle handle =
      OpenInterface(path, kind == ChannelKind::kPage ? FILE_ATTRIBUTE_NORMAL : 0, error);
  if (!handle.Valid()) {
    return {nullptr, static_cast<std::uint32_t>(error)};
  }
  return {std::make_unique<HidChannel>(std::move(handle)), 0};
}

}  // namespace q8::win32
