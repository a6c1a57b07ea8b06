// The real Win32 layer (under Wine in the cross build): the sharing rule of opened
// files, positions, and sleeps that are never shorter than asked.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace pinglog {
namespace {

class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / "pinglog-win32-files.log").string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string path_;
};

TEST_F(Win32FilesTest, OthersMayReadButNotWriteWhileAFileIsOpen) {
  Platform& os = OsPlatform();
  EXPECT_EQ(os.FileOpen(path_, FileAccess::kReadShared), kNoFile);  // must exist

  const FileHandle writer = os.FileOpen(path_, FileAccess::kReadWriteOpenAlways);
  ASSERT_NE(writer, kNoFile);
  EXPECT_EQ(os.FileWrite(writer, "0123456789", 10), 10);
  EXPECT_EQ(os.FileSize(writer), 10);
  EXPECT_EQ(os.FileOpen(path_, FileAccess::kReadWriteOpenAlways), kNoFile);
  os.FileClose(writer);

  const FileHandle reader = os.FileOpen(path_, FileAccess::kReadShared);
  ASSERT_NE(reader, kNoFile);
  const FileHandle second_reader = os.FileOpen(path_, FileAccess::kReadShared);
  EXPECT_NE(second_reader, kNoFile);
  EXPECT_EQ(os.FileOpen(path_, FileAccess::kReadWriteOpenAlways), kNoFile);
  char bytes[16];
  os.FileSeek(reader, 8, SeekOrigin::kBegin);
  os.FileSeek(reader, -2, SeekOrigin::kCurrent);
  EXPECT_EQ(os.FileRead(reader, bytes, sizeof bytes), 4);
  EXPECT_EQ(std::string(bytes, 4), "6789");
  EXPECT_EQ(os.FileRead(reader, bytes, sizeof bytes), 0);
  os.FileClose(second_reader);
  os.FileClose(reader);
}

TEST(Win32SleepTest, SleepsAtLeastTheTimeAsked) {
  const auto start = std::chrono::steady_clock::now();
  OsPlatform().SleepMilliseconds(120);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(119));
}

}  // namespace
}  // namespace pinglog
