// Reading str.ini at its worst: the largest file the tool still reads, all blank lines after the
// one key, read as start-up reads it (the captions, the colour and the skin). The counter
// "heap_per_file_byte" is the heap a parsed document holds per byte of the file (measured with
// glibc's allocator statistics; meaningless under a sanitizer, which keeps its own heap).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <string_view>

#include "settings/ini_file.h"
#include "settings/str_ini.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

std::vector<std::uint8_t> LargestStrIni() {
  std::vector<std::uint8_t> bytes(kMaxIniFileBytes, '\n');
  const std::string_view head = "[Skins]\r\nPath=Default\r\n";
  std::copy(head.begin(), head.end(), bytes.begin());
  return bytes;
}

void BM_ParseLargestStrIni(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = LargestStrIni();
  for (auto _ : state) {
    const IniDocument document = IniDocument::Parse(bytes);
    benchmark::DoNotOptimize(document.Get("Skins", "Path"));
  }
  const std::size_t before = ::mallinfo2().uordblks;
  const IniDocument document = IniDocument::Parse(bytes);
  const std::size_t after = ::mallinfo2().uordblks;
  state.counters["heap_per_file_byte"] =
      static_cast<double>(after - before) / static_cast<double>(bytes.size());
}
BENCHMARK(BM_ParseLargestStrIni)->Unit(benchmark::kMillisecond);

void BM_ReadStrIniSettingsFromLargestFile(benchmark::State& state) {
  test::TempDir dir;
  const auto path = dir / "str.ini";
  test::WriteBytes(path, LargestStrIni());
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadStrIniSettings(path, "Setting-EN"));
  }
}
BENCHMARK(BM_ReadStrIniSettingsFromLargestFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace q8
