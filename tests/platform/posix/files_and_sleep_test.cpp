// The real POSIX layer: file sharing through advisory locks, and sleeps that are never
// shorter than asked, even when signals interrupt them.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "platform/platform.h"

namespace pinglog {
namespace {

class PosixFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pinglog-files.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    unlink((dir_ + "/log").c_str());
    rmdir(dir_.c_str());
  }
  std::string dir_;
};

TEST_F(PosixFilesTest, AWriterKeepsOtherWritersOutButNotReaders) {
  Platform& os = OsPlatform();
  const std::string path = dir_ + "/log";
  EXPECT_EQ(os.FileOpen(path, FileAccess::kReadShared), kNoFile);  // must exist

  const FileHandle writer = os.FileOpen(path, FileAccess::kReadWriteOpenAlways);
  ASSERT_NE(writer, kNoFile);
  EXPECT_EQ(os.FileWrite(writer, "abc", 3), 3);
  EXPECT_EQ(os.FileOpen(path, FileAccess::kReadWriteOpenAlways), kNoFile);

  const FileHandle reader = os.FileOpen(path, FileAccess::kReadShared);
  ASSERT_NE(reader, kNoFile);
  char bytes[8];
  EXPECT_EQ(os.FileRead(reader, bytes, sizeof bytes), 3);
  EXPECT_EQ(os.FileRead(reader, bytes, sizeof bytes), 0);
  EXPECT_EQ(os.FileSize(reader), 3);
  os.FileClose(reader);

  os.FileClose(writer);
  const FileHandle again = os.FileOpen(path, FileAccess::kReadWriteOpenAlways);
  EXPECT_NE(again, kNoFile);
  os.FileSeek(again, -1, SeekOrigin::kCurrent);  // a seek before the start changes nothing
  os.FileSeek(again, 1, SeekOrigin::kBegin);
  EXPECT_EQ(os.FileRead(again, bytes, sizeof bytes), 2);
  os.FileClose(again);
}

TEST(PosixSleepTest, SleepsAtLeastTheTimeAskedThroughSignalInterruptions) {
  struct sigaction action {};
  action.sa_handler = [](int) {};  // no SA_RESTART: the sleep is interrupted with EINTR
  struct sigaction previous {};
  ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
  itimerval every_20ms{{0, 20000}, {0, 20000}};
  setitimer(ITIMER_REAL, &every_20ms, nullptr);

  const auto start = std::chrono::steady_clock::now();
  OsPlatform().SleepMilliseconds(150);
  const auto slept = std::chrono::steady_clock::now() - start;

  itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &previous, nullptr);
  EXPECT_GE(slept, std::chrono::milliseconds(150));
}

}  // namespace
}  // namespace pinglog
