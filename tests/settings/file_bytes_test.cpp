#include "settings/file_bytes.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/temp_dir.h"

namespace q8 {
namespace {

TEST(FileBytesTest, ReadsWholeFilesAndRefusesWhatItCannotRead) {
  test::TempDir dir;
  std::vector<std::uint8_t> content(10000);
  for (std::size_t i = 0; i < content.size(); ++i) {
    content[i] = static_cast<std::uint8_t>(i * 7);
  }
  test::WriteBytes(dir / "data", content);
  EXPECT_EQ(ReadFileBytes(dir / "data"), content);  // across several chunks
  EXPECT_EQ(ReadFileBytes(dir / "data", 10000), content);
  EXPECT_FALSE(ReadFileBytes(dir / "data", 9999));

  test::WriteBytes(dir / "empty", {});
  EXPECT_EQ(ReadFileBytes(dir / "empty"), std::vector<std::uint8_t>{});

  EXPECT_FALSE(ReadFileBytes(dir / "missing"));
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(ReadFileBytes(dir / "folder"));  // a read error, not an exception
#ifndef _WIN32
  // A pipe put where a file is expected: refused at once, not waited on for a writer.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileBytes(dir / "pipe"));
#endif
}

}  // namespace
}  // namespace q8
