#include "device/report_scrambler.h"

namespace q8 {
namespace {

constexpr unsigned kBlockBits = 56;
constexpr std::uint64_t kBlockMask = (std::uint64_t{1} << kBlockBits) - 1;

std::uint64_t Load(ReportScrambler::Block block) {
  std::uint64_t value = 0;
  for (std::uint8_t byte : block) {
    value = (value << 8) | byte;
  }
  return value;
}

void Store(std::uint64_t value, ReportScrambler::Block block) {
  for (std::size_t i = ReportScrambler::kBlockSize; i-- > 0;) {
    block[i] = static_cast<std::uint8_t>(value & 0xFF);
    value >>= 8;
  }
}

std::uint64_t RotateLeft(std::uint64_t value, unsigned bits) {
  return ((value << bits) | (value >> (kBlockBits - bits))) & kBlockMask;
}

std::uint64_t RotateRight(std::uint64_t value, unsigned bits) {
  return RotateLeft(value, kBlockBits - bits);
}

std::uint64_t KeyValue() {
  std::array<std::uint8_t, ReportScrambler::kBlockSize> key = ReportScrambler::kKey;
  return Load(key);
}

template <void (*Transform)(ReportScrambler::Block)>
void ForEachPayloadGroup(std::span<std::uint8_t, 64> payload) {
  for (std::size_t group = 0; group < 8; ++group) {
    Transform(payload.subspan(group * 8 + 1).first<ReportScrambler::kBlockSize>());
  }
}

}  // namespace

void ReportScrambler::Scramble(Block block) {
  Store(RotateRight(RotateLeft(Load(block), 2) ^ KeyValue(), 3), block);
}

void ReportScrambler::Unscramble(Block block) {
  Store(RotateRight(RotateLeft(Load(block), 3) ^ KeyValue(), 2), block);
}

void ReportScrambler::ScramblePayload(std::span<std::uint8_t, 64> payload) {
  ForEachPayloadGroup<&ReportScrambler::Scramble>(payload);
}

void ReportScrambler::UnscramblePayload(std::span<std::uint8_t, 64> payload) {
  ForEachPayloadGroup<&ReportScrambler::Unscramble>(payload);
}

}  // namespace q8
