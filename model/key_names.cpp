#include "model/key_names.h"

namespace q8 {

std::uint8_t KeyNameToUsage(std::string_view name) {
  for (const KeyName& key : KeyNameTable) {
    if (key.name == name) {
      return key.usage;
    }
  }
  return 0;
}

}  // namespace q8
