#include <windows.h>

#include <gtest/gtest.h>

#include "settings/config_file.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace q8 {
namespace {

// Another program holds config.bin open without sharing: the replace fails at its last step.
TEST(DurableFileWinTest, SaveThatCannotReplaceLeavesTheOldFileIntact) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  const std::vector<std::uint8_t> old(220, 0x11);
  test::WriteBytes(path, old);
  HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  test::RecordingMessageSink messages;
  DeviceConfig config;
  config.Bytes()[0] = 0x22;

  const bool saved = SaveConfigFile(path, config, messages);
  ::CloseHandle(held);

  EXPECT_FALSE(saved);
  EXPECT_EQ(test::ReadBytes(path), old);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "NULL ==fp ");
  const std::string text = messages.messages[0].text;
  EXPECT_TRUE(text == "Error Code is: 32 \n" || text == "Error Code is: 5 \n") << text;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(DurableFileWinTest, AReadOnlyConfigFileIsReportedAndNotReplaced) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  const std::vector<std::uint8_t> old(220, 0x11);
  test::WriteBytes(path, old);
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  test::RecordingMessageSink messages;

  const bool saved = SaveConfigFile(path, DeviceConfig{}, messages);

  EXPECT_FALSE(saved);
  EXPECT_EQ(messages.messages, (std::vector<test::Message>{{"Error Code is: 5 \n", "NULL ==fp "}}));
  EXPECT_EQ(test::ReadBytes(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that the folder can go
}

TEST(DurableFileWinTest, SaveReplacesTheWholeFile) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  test::WriteBytes(path, std::vector<std::uint8_t>(300, 0x11));
  test::RecordingMessageSink messages;
  DeviceConfig config;
  config.Bytes()[218] = 0x33;
  ASSERT_TRUE(SaveConfigFile(path, config, messages));
  const auto bytes = test::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 220u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[219], 0x33);
}

std::ptrdiff_t EntriesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder),
                       std::filesystem::directory_iterator());
}

// A file another program reads while letting others write it (a backup tool, a virus scanner, an
// editor) cannot be replaced: it is written in place.
TEST(DurableFileWinTest, AFileAnotherProgramReadsIsSavedInPlace) {
  test::TempDir dir;
  const auto path = dir / "config.bin";
  test::WriteBytes(path, std::vector<std::uint8_t>(220, 0x11));
  HANDLE reader = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  DeviceConfig config;
  config.Bytes()[0] = 0x22;
  test::RecordingMessageSink messages;

  const bool saved = SaveConfigFile(path, config, messages);
  ::CloseHandle(reader);

  EXPECT_TRUE(saved);
  EXPECT_TRUE(messages.messages.empty());
  const auto bytes = test::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 220u);
  EXPECT_EQ(bytes[1], 0x22);
  EXPECT_EQ(EntriesIn(dir.path()), 1);

  // Once the reader is gone, the file is replaced again, leaving nothing beside it, also when it
  // is named relative to the working folder.
  config.Bytes()[0] = 0x44;
  ASSERT_TRUE(SaveConfigFile(path, config, messages));
  EXPECT_EQ(test::ReadBytes(path).at(1), 0x44);
  const std::filesystem::path working = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  config.Bytes()[0] = 0x55;
  const bool savedByName = SaveConfigFile("config.bin", config, messages);
  std::filesystem::current_path(working);
  EXPECT_TRUE(savedByName);
  EXPECT_EQ(test::ReadBytes(path).at(1), 0x55);
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

// A symbolic link stays, and the file it names gets the new content.
TEST(DurableFileWinTest, ASaveThroughALinkChangesTheFileItNames) {
  test::TempDir dir;
  const auto real = dir / "real";
  std::filesystem::create_directory(real);
  test::WriteBytes(real / "config.bin", std::vector<std::uint8_t>(220, 0x11));
  const auto link = dir / "config.bin";
  if (!::CreateSymbolicLinkW(link.c_str(), (real / "config.bin").c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
      ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no symbolic links that lead to their file here";
  }
  DeviceConfig config;
  config.Bytes()[0] = 0x33;
  test::RecordingMessageSink messages;
  ASSERT_TRUE(SaveConfigFile(link, config, messages));
  EXPECT_NE(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  const auto bytes = test::ReadBytes(real / "config.bin");
  ASSERT_EQ(bytes.size(), 220u);
  EXPECT_EQ(bytes[1], 0x33);
  EXPECT_EQ(EntriesIn(real), 1);
}

}  // namespace
}  // namespace q8
