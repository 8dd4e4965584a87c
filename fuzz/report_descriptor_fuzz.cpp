// A HID report descriptor from whatever device claims the mouse's identifiers. The parser must
// refuse or describe it without reading past it, and an accepted descriptor describes at least
// one collection a device could be used through.
#include "device/hid_report_descriptor.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  const ParsedReportDescriptor parsed = ParseReportDescriptor(fuzz::Bytes(data, size));
  fuzz::Require(parsed.Ok() != parsed.collections.empty(),
                "an accepted descriptor has collections and a refused one none");
  return 0;
}
