#include "device/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <optional>

namespace q8 {
namespace {

// Item types and tags of the HID report descriptor's short items.
enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };
enum MainTag : std::uint8_t {
  kInput = 8,
  kOutput = 9,
  kCollection = 10,
  kFeature = 11,
  kEndCollection = 12
};
enum GlobalTag : std::uint8_t {
  kUsagePage = 0,
  kReportSize = 7,
  kReportId = 8,
  kReportCount = 9,
  kPush = 10,
  kPop = 11
};
enum LocalTag : std::uint8_t { kUsage = 0, kUsageMinimum = 1 };
constexpr std::uint8_t kLongItemPrefix = 0xFE;

constexpr std::size_t kMaxPushDepth = 16;
constexpr std::size_t kMaxCollectionDepth = 64;
// The longest report whose length, with the id byte, still fits the 16-bit length field.
constexpr std::uint64_t kMaxReportBits = 0xFFFEull * 8;

struct GlobalState {
  std::uint16_t usagePage = 0;
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
};

// Bits declared so far for one report of one kind.
struct ReportBits {
  std::size_t collection;
  std::uint8_t kind;  // kInput, kOutput or kFeature
  std::uint8_t reportId;
  std::uint64_t bits;
};

// A usage as its local item gave it, joined to a usage page only at the main item.
struct PendingUsage {
  std::uint32_t value;
  bool extended;  // four bytes: the usage page in the upper half
};

struct Item {
  std::uint8_t type;
  std::uint8_t tag;
  std::uint8_t size;
  std::uint32_t value;
};

class Parser {
 public:
  explicit Parser(std::span<const std::uint8_t> descriptor) : bytes_(descriptor) {}

  ParsedReportDescriptor Run() {
    while (error_.empty() && offset_ < bytes_.size()) {
      const std::optional<Item> item = NextItem();
      if (item) {
        Apply(*item);
      }
    }
    if (error_.empty() && depth_ != 0) {
      Fail("a collection is not closed");
    }
    if (error_.empty() && collections_.empty()) {
      Fail("no collection");  // nothing a device could be used through
    }
    if (error_.empty()) {
      CheckReportIds();
    }
    ParsedReportDescriptor result;
    if (!error_.empty()) {
      result.error = error_ + " (at byte " + std::to_string(errorOffset_) + ")";
      return result;
    }
    result.collections = collections_;
    for (const ReportBits& report : reports_) {
      HidCapabilities& caps = result.collections[report.collection];
      std::uint16_t& length = report.kind == kInput    ? caps.inputReportByteLength
                              : report.kind == kOutput ? caps.outputReportByteLength
                                                       : caps.featureReportByteLength;
      const auto bytes = static_cast<std::uint16_t>((report.bits + 7) / 8 + 1);
      length = std::max(length, bytes);
    }
    return result;
  }

 private:
  void Fail(std::string message) {
    if (error_.empty()) {
      error_ = std::move(message);
      errorOffset_ = itemOffset_;
    }
  }

  // Reads the item at the current offset; nothing for a long item (skipped) or a failure.
  std::optional<Item> NextItem() {
    itemOffset_ = offset_;
    const std::uint8_t prefix = bytes_[offset_++];
    if (prefix == kLongItemPrefix) {
      if (bytes_.size() - offset_ < 2) {
        Fail("long item truncated");
        return std::nullopt;
      }
      const std::size_t dataSize = bytes_[offset_];
      offset_ += 2;
      if (bytes_.size() - offset_ < dataSize) {
        Fail("long item truncated");
        return std::nullopt;
      }
      offset_ += dataSize;
      return std::nullopt;
    }
    constexpr std::array<std::uint8_t, 4> kDataSizes{0, 1, 2, 4};
    Item item{static_cast<std::uint8_t>((prefix >> 2) & 3), static_cast<std::uint8_t>(prefix >> 4),
              kDataSizes[prefix & 3], 0};
    if (bytes_.size() - offset_ < item.size) {
      Fail("item truncated");
      return std::nullopt;
    }
    for (std::size_t i = 0; i < item.size; ++i) {
      item.value |= static_cast<std::uint32_t>(bytes_[offset_ + i]) << (8 * i);
    }
    offset_ += item.size;
    return item;
  }

  void Apply(const Item& item) {
    switch (item.type) {
      case kMain:
        ApplyMain(item);
        usage_.reset();  // local items last until the next main item
        break;
      case kGlobal:
        ApplyGlobal(item);
        break;
      case kLocal:
        ApplyLocal(item);
        break;
      default:
        Fail("reserved item type");
    }
  }

  void ApplyMain(const Item& item) {
    switch (item.tag) {
      case kInput:
      case kOutput:
      case kFeature:
        AddReportItem(item.tag);
        break;
      case kCollection:
        if (depth_ == 0) {
          collections_.push_back(CollectionNamedByUsage());
        }
        if (++depth_ > kMaxCollectionDepth) {
          Fail("collections nested too deeply");
        }
        break;
      case kEndCollection:
        if (depth_ == 0) {
          Fail("end of a collection that was not opened");
        } else {
          --depth_;
        }
        break;
      default:
        Fail("reserved main item");
    }
  }

  void AddReportItem(std::uint8_t kind) {
    if (depth_ == 0) {
      Fail("report item outside any collection");
      return;
    }
    const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
    const std::size_t collection = collections_.size() - 1;
    std::optional<std::size_t>& owner = idOwner_[global_.reportId];
    if (owner && *owner != collection) {
      Fail(global_.reportId == 0 ? "two collections without report ids"
                                 : "one report id in two collections");
      return;
    }
    owner = collection;
    auto report = std::find_if(reports_.begin(), reports_.end(), [&](const ReportBits& r) {
      return r.kind == kind && r.reportId == global_.reportId;
    });
    if (report == reports_.end()) {
      reports_.push_back({collection, kind, global_.reportId, 0});
      report = reports_.end() - 1;
    }
    report->bits += bits;
    if (report->bits > kMaxReportBits) {
      Fail("report too long");
    }
  }

  void ApplyGlobal(const Item& item) {
    switch (item.tag) {
      case kUsagePage:
        if (item.value > 0xFFFF) {
          Fail("usage page out of range");
        }
        global_.usagePage = static_cast<std::uint16_t>(item.value);
        break;
      case kReportSize:
        global_.reportSize = item.value;
        break;
      case kReportCount:
        global_.reportCount = item.value;
        break;
      case kReportId:
        if (item.value == 0 || item.value > 0xFF) {
          Fail("report id out of range");
        }
        global_.reportId = static_cast<std::uint8_t>(item.value);
        break;
      case kPush:
        if (stack_.size() == kMaxPushDepth) {
          Fail("push stack overflow");
        } else {
          stack_.push_back(global_);
        }
        break;
      case kPop:
        if (stack_.empty()) {
          Fail("pop without push");
        } else {
          global_ = stack_.back();
          stack_.pop_back();
        }
        break;
      default:
        if (item.tag > kPop) {
          Fail("reserved global item");
        }
        // Logical and physical extents, unit and exponent do not change report lengths.
    }
  }

  void ApplyLocal(const Item& item) {
    if ((item.tag != kUsage && item.tag != kUsageMinimum) || usage_) {
      return;  // only the first usage names a collection
    }
    usage_ = PendingUsage{item.value, item.size == 4};
  }

  // A four-byte usage carries its own usage page in the upper half; a shorter one joins the usage
  // page in force at the main item, wherever that page was set.
  HidCapabilities CollectionNamedByUsage() const {
    if (!usage_) {
      return {.usagePage = global_.usagePage};
    }
    return {.usagePage = usage_->extended ? static_cast<std::uint16_t>(usage_->value >> 16)
                                          : global_.usagePage,
            .usage = static_cast<std::uint16_t>(usage_->value & 0xFFFF)};
  }

  // A device numbers all its reports or none.
  void CheckReportIds() {
    const bool withId = std::any_of(reports_.begin(), reports_.end(),
                                    [](const ReportBits& r) { return r.reportId != 0; });
    const bool withoutId = std::any_of(reports_.begin(), reports_.end(),
                                       [](const ReportBits& r) { return r.reportId == 0; });
    if (withId && withoutId) {
      itemOffset_ = bytes_.size();
      Fail("reports with and without report ids");
    }
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
  std::size_t itemOffset_ = 0;
  std::string error_;
  std::size_t errorOffset_ = 0;
  GlobalState global_;
  std::vector<GlobalState> stack_;
  std::optional<PendingUsage> usage_;  // the first usage since the last main item
  std::size_t depth_ = 0;
  std::vector<HidCapabilities> collections_;
  std::vector<ReportBits> reports_;
  std::array<std::optional<std::size_t>, 256> idOwner_;  // the collection each report id is in
};

}  // namespace

ParsedReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  return Parser(descriptor).Run();
}

}  // namespace q8
