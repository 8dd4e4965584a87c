#include "device/hid_report_descriptor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/simulated_hid_bus.h"
#include "support/mouse_descriptors.h"

namespace q8 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

ParsedReportDescriptor Parse(const Bytes& bytes) {
  return ParseReportDescriptor(bytes);
}

template <std::size_t N>
ParsedReportDescriptor Parse(const std::array<std::uint8_t, N>& bytes) {
  return ParseReportDescriptor(bytes);
}

TEST(HidReportDescriptorTest, TheMousesInterfacesGiveItsCollectionsAndLengths) {
  const ParsedReportDescriptor keyboard = Parse(test::kMouseKeyboardInterfaceDescriptor);
  ASSERT_TRUE(keyboard.Ok()) << keyboard.error;
  EXPECT_THAT(keyboard.collections,
              ElementsAre(HidCapabilities{1, 6, 9, 2, 8}, HidCapabilities{0x0C, 1, 3, 0, 0},
                          HidCapabilities{1, 0x80, 2, 0, 0}));

  const ParsedReportDescriptor mouse = Parse(test::kMouseMouseInterfaceDescriptor);
  ASSERT_TRUE(mouse.Ok()) << mouse.error;
  EXPECT_THAT(mouse.collections, ElementsAre(HidCapabilities{1, 2, 7, 0, 65}));

  // The simulator presents the same collections the real descriptors give.
  EXPECT_EQ(kSimulatedInterfaces[0].caps, keyboard.collections[0]);
  EXPECT_EQ(kSimulatedInterfaces[1].caps, keyboard.collections[1]);
  EXPECT_EQ(kSimulatedInterfaces[2].caps, mouse.collections[0]);
}

// A usage of one or two bytes joins the usage page that is current when its main item comes, as
// in the HID rules, the Windows driver and the Linux kernel, wherever the page is set before
// that; a four-byte usage brings its own page.
TEST(HidReportDescriptorTest, AShortUsageTakesThePageCurrentAtItsMainItem) {
  const Bytes pageAfterUsage{0x09, 0x06, 0x05, 0x01, 0xA1, 0x01, 0x85, 0x01,
                             0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};
  EXPECT_THAT(Parse(pageAfterUsage).collections, ElementsAre(HidCapabilities{1, 6, 0, 0, 8}));

  const Bytes pageChangedTwice{0x05, 0x0C, 0x09, 0x02, 0x05, 0x01, 0xA1, 0x01, 0xC0, 0x0B,
                               0x06, 0x00, 0x01, 0x00, 0x05, 0x0C, 0xA1, 0x01, 0xC0};
  EXPECT_THAT(Parse(pageChangedTwice).collections,
              ElementsAre(HidCapabilities{1, 2, 0, 0, 0}, HidCapabilities{1, 6, 0, 0, 0}));

  // The page pushed before the usage and popped before the collection is the one in force.
  const Bytes popped{0x05, 0x0C, 0xA4, 0x05, 0x01, 0x09, 0x02, 0xB4, 0xA1, 0x01, 0xC0};
  EXPECT_THAT(Parse(popped).collections, ElementsAre(HidCapabilities{0x0C, 2, 0, 0, 0}));
}

TEST(HidReportDescriptorTest, CountsOtherShapesOfDescriptor) {
  // The boot mouse of the HID class definition: three buttons, 8-bit X and Y, no ids.
  const Bytes bootMouse{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
                        0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,
                        0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
                        0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81,
                        0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};
  EXPECT_THAT(Parse(bootMouse).collections, ElementsAre(HidCapabilities{1, 2, 4, 0, 0}));

  // A vendor collection named by a four-byte usage, with a long item and push/pop inside; two
  // feature reports of different lengths (the longer counts) and an odd number of bits.
  const Bytes vendor{0x0B, 0x01, 0x00, 0x00, 0xFF,                    // usage 0xFF00:0001
                     0xA1, 0x01,                                      // application
                     0x85, 0x05, 0x75, 0x08, 0x95, 0x03, 0xB1, 0x02,  // id 5: 3 bytes
                     0xA4,                                            // push
                     0x85, 0x06, 0x75, 0x01, 0x95, 0x0B, 0xB1, 0x02,  // id 6: 11 bits
                     0xFE, 0x02, 0x10, 0xAA, 0xBB,                    // a long item, skipped
                     0xB4,                                            // pop: id 5 again
                     0x95, 0x01, 0xB1, 0x02,                          // id 5: one more byte
                     0x95, 0x20, 0x91, 0x02,                          // id 5 output: 32 bytes
                     0xC0};
  const ParsedReportDescriptor parsed = Parse(vendor);
  ASSERT_TRUE(parsed.Ok()) << parsed.error;
  EXPECT_THAT(parsed.collections, ElementsAre(HidCapabilities{0xFF00, 1, 0, 33, 5}));

  // A collection without reports is fine; a descriptor without collections is not.
  EXPECT_THAT(Parse(Bytes{0x05, 0x01, 0x09, 0x05, 0xA1, 0x01, 0xC0}).collections,
              ElementsAre(HidCapabilities{1, 5, 0, 0, 0}));
  EXPECT_THAT(Parse(Bytes{}).error, HasSubstr("no collection"));
  EXPECT_THAT(Parse(Bytes{0x05, 0x01, 0x09, 0x02}).error, HasSubstr("no collection"));
}

TEST(HidReportDescriptorTest, RefusesTruncatedDescriptorsAtEveryLength) {
  // One collection: every cut falls inside an item or inside the open collection. The
  // sanitizers watch the reads.
  const auto& mouse = test::kMouseMouseInterfaceDescriptor;
  for (std::size_t length = 1; length < mouse.size(); ++length) {
    const ParsedReportDescriptor parsed = Parse(Bytes(mouse.begin(), mouse.begin() + length));
    EXPECT_FALSE(parsed.Ok()) << "cut at " << length;
    EXPECT_THAT(parsed.collections, IsEmpty());
  }
  // Several collections: a cut between two of them leaves a shorter valid descriptor, never a
  // wrong collection.
  const auto& keyboard = test::kMouseKeyboardInterfaceDescriptor;
  const auto whole = Parse(keyboard).collections;
  for (std::size_t length = 1; length < keyboard.size(); ++length) {
    const ParsedReportDescriptor parsed = Parse(Bytes(keyboard.begin(), keyboard.begin() + length));
    if (parsed.Ok()) {
      ASSERT_LT(parsed.collections.size(), whole.size()) << "cut at " << length;
      EXPECT_TRUE(std::equal(parsed.collections.begin(), parsed.collections.end(), whole.begin()))
          << "cut at " << length;
    }
  }
  EXPECT_THAT(Parse(Bytes{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}).error,
              HasSubstr("item truncated"));
  EXPECT_THAT(Parse(Bytes{0xA1, 0x01, 0xFE, 0x05, 0x00, 0x01, 0xC0}).error,
              HasSubstr("long item truncated"));
  EXPECT_THAT(Parse(Bytes{0xA1, 0x01, 0xFE}).error, HasSubstr("long item truncated"));
}

TEST(HidReportDescriptorTest, RefusesMalformedDescriptors) {
  const std::vector<std::pair<Bytes, std::string>> malformed = {
      {{0xC0}, "not opened"},
      {{0xA1, 0x01, 0xA1, 0x00, 0xC0}, "not closed"},
      {{0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, "outside"},
      {{0xA1, 0x01, 0x85, 0x00, 0xC0}, "report id"},
      {{0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}, "report id"},
      {{0xA1, 0x01, 0xB4, 0xC0}, "pop"},
      {{0xA1, 0x01, 0x0C, 0xC0}, "reserved"},
      {{0xA1, 0x01, 0xD1, 0x00, 0xC0}, "reserved"},
      {{0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02,  // without id
        0x85, 0x01, 0xB1, 0x02, 0xC0},                   // then with id
       "with and without"},
      {{0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,  //
        0xA1, 0x01, 0xB1, 0x02, 0xC0},                                     // id 1 again
       "two collections"},
      {{0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,  //
        0xA1, 0x01, 0xB1, 0x02, 0xC0},                         // no ids in either
       "two collections"},
      {{0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0},
       "too long"},
      {{0xA1, 0x01, 0x75, 0x08, 0x96, 0xFF, 0xFF, 0xB1, 0x02, 0xC0}, "too long"},
  };
  for (const auto& [bytes, reason] : malformed) {
    const ParsedReportDescriptor parsed = Parse(bytes);
    EXPECT_THAT(parsed.error, HasSubstr(reason)) << ::testing::PrintToString(bytes);
    EXPECT_THAT(parsed.collections, IsEmpty());
  }
  Bytes deep;
  for (int i = 0; i < 17; ++i) {
    deep.push_back(0xA4);
  }
  EXPECT_THAT(Parse(deep).error, HasSubstr("push stack overflow"));
}

TEST(HidReportDescriptorTest, TheLongestReportThatFitsSixteenBitsIsAccepted) {
  // 0xFFFE bytes of data plus the id byte: the largest length the caps can hold.
  const Bytes longest{0xA1, 0x01, 0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02, 0xC0};
  EXPECT_THAT(Parse(longest).collections, ElementsAre(HidCapabilities{0, 0, 0, 0, 0xFFFF}));
}

}  // namespace
}  // namespace q8
