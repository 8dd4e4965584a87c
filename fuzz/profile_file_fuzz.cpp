// A profile file or a rules.ini as a user may receive them from someone else: any bytes. A profile
// of either layout either reads, and then writes out in both layouts and reads back as the same
// profile, or is refused with one line; a value out of range is told in one line too. The rules
// never fail and never name an empty program or profile.
#include <algorithm>

#include "app/profile_store.h"
#include "fuzz/fuzz_support.h"
#include "model/profile_format2.h"
#include "settings/profile_format1.h"
#include "settings/profile_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q8;
  const auto bytes = fuzz::Bytes(data, size);
  const auto parsed = ParseProfileFile(bytes);
  if (const auto* problem = std::get_if<std::string>(&parsed)) {
    fuzz::Require(!problem->empty() && problem->find('\n') == std::string::npos,
                  "a refused profile says why in one line");
  } else {
    const Profile& profile = std::get<Profile>(parsed);
    const auto again = ParseProfileFile(ProfileFileBytes(profile));
    fuzz::Require(std::holds_alternative<Profile>(again) && std::get<Profile>(again) == profile,
                  "a profile that reads is written out readable and reads back the same");
    Profile withoutSensor = profile;
    withoutSensor.sensorVariant.reset();  // the first layout names no sensor
    const auto hex = ParseProfileFile(HexProfileBytes(withoutSensor));
    fuzz::Require(
        std::holds_alternative<Profile>(hex) && std::get<Profile>(hex) == withoutSensor,
        "a profile that reads is written out in the first layout and reads back the same");
    for (const auto& range : {ProfileRangeProblem(profile.config), ReadableRangeProblem(profile)}) {
      fuzz::Require(!range || range->find('\n') == std::string::npos,
                    "a value out of range is told in one line");
    }
  }

  const ProfileRules rules = ParseProfileRules(bytes);
  fuzz::Require(
      std::all_of(rules.rules.begin(), rules.rules.end(),
                  [](const auto& rule) { return !rule.first.empty() && !rule.second.empty(); }),
      "a rule names a program and a profile");
  return 0;
}
