#include "support/numbered_files.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/fake_platform.h"

namespace pinglog {
namespace {

class NumberedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { InitFileTable(); }
  void TearDown() override {
    CloseAllFiles();
    EXPECT_EQ(platform_.blocks_outstanding, 0);
  }

  std::vector<std::string> ReadAllLines(const std::string& content) {
    platform_.files["f"] = content;
    EXPECT_NE(OpenForReading(0, "f"), 0);
    std::vector<std::string> lines;
    while (AtEnd(0) == 0) lines.push_back(ReadLine(0));
    CloseSlot(0);
    return lines;
  }

  testing::FakePlatform platform_;
};

using Lines = std::vector<std::string>;

TEST_F(NumberedFilesTest, SplitsLinesAtEveryKindOfLineEnd) {
  const struct {
    std::string content;
    Lines expected;
  } cases[] = {
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\n\r", {"", ""}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\rb\r", {"a", "b"}},
      {std::string("a\0b\n", 4), {"a", "b"}},
      {"last line", {"last line"}},
      {"a\n", {"a"}},
      {"", {}},
      {std::string("\0\0", 2), {"", ""}},
      {"\xff\x80\x01\n", {"\xff\x80\x01"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAllLines(c.content), c.expected) << c.content;
}

TEST_F(NumberedFilesTest, ReadsLongLinesWholeWithOnePlatformReadPer4096Bytes) {
  const std::string line(10000, 'x');
  EXPECT_EQ(ReadAllLines(line + "\n" + line), (Lines{line, line}));
  // 20001 bytes: five reads that bring data, then two that find the end (the last
  // line's end, and AtEnd after it).
  EXPECT_EQ(platform_.reads, 7);
}

TEST_F(NumberedFilesTest, AtEndChangesNothingThatReadLineSees) {
  platform_.files["f"] = "one\ntwo";
  ASSERT_NE(OpenForReading(0, "f"), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AtEnd(0), 0);
  EXPECT_EQ(ReadLine(0), "one");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AtEnd(0), 0);
  EXPECT_EQ(ReadLine(0), "two");
  EXPECT_NE(AtEnd(0), 0);
  EXPECT_EQ(ReadLine(0), "");
  EXPECT_NE(AtEnd(0), 0);
}

TEST_F(NumberedFilesTest, OpeningFollowsTheAccessRules) {
  EXPECT_EQ(OpenForReading(0, "missing"), 0);
  EXPECT_EQ(platform_.files.count("missing"), 0u);

  EXPECT_NE(OpenOrCreate(1, "new"), 0);
  EXPECT_EQ(QuerySize(1), 0);
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("new"), "");

  platform_.files["old"] = "kept";
  EXPECT_NE(OpenOrCreate(1, "old"), 0);
  EXPECT_EQ(ReadLine(1), "kept");  // positioned at the start
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("old"), "kept");

  platform_.locked_by_others.insert("old");
  EXPECT_EQ(OpenOrCreate(1, "old"), 0);
  EXPECT_EQ(QuerySize(1), -1);  // the slot stayed free
}

TEST_F(NumberedFilesTest, AppendingReachesThePlatformInOneWriteAtTheClose) {
  platform_.files["log"] = std::string(100, 'o');
  ASSERT_NE(OpenOrCreate(1, "log"), 0);
  const std::int64_t size = QuerySize(1);
  EXPECT_EQ(size, 100);
  SeekTo(1, size);
  EXPECT_EQ(WriteText(1, std::string(60, 'n')), 60);
  EXPECT_TRUE(platform_.write_sizes.empty());
  CloseSlot(1);
  EXPECT_EQ(platform_.write_sizes, std::vector<std::int64_t>{60});
  EXPECT_EQ(platform_.files.at("log"), std::string(100, 'o') + std::string(60, 'n'));
}

TEST_F(NumberedFilesTest, LongTextsAreWrittenDirectlyAndShortOnesWaitInTheBuffer) {
  const struct {
    std::size_t length;
    std::vector<std::int64_t> writes_before_close;
    std::vector<std::int64_t> writes_after_close;
  } cases[] = {
      {4095, {}, {4095}},
      {4096, {4096}, {4096}},
      {5000, {5000}, {5000}},
  };
  for (const auto& c : cases) {
    platform_.write_sizes.clear();
    platform_.files.erase("f");
    ASSERT_NE(OpenOrCreate(1, "f"), 0);
    EXPECT_EQ(WriteText(1, std::string(c.length, 'w')), static_cast<std::int64_t>(c.length));
    EXPECT_EQ(platform_.write_sizes, c.writes_before_close) << c.length;
    CloseSlot(1);
    EXPECT_EQ(platform_.write_sizes, c.writes_after_close) << c.length;
    EXPECT_EQ(platform_.files.at("f"), std::string(c.length, 'w'));
  }
}

TEST_F(NumberedFilesTest, TextsKeepTheirOrderWhenTheBufferFills) {
  ASSERT_NE(OpenOrCreate(1, "f"), 0);
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const std::string text = "entry " + std::to_string(i) + "\r\n";
    EXPECT_EQ(WriteText(1, text), static_cast<std::int64_t>(text.size()));
    expected += text;
  }
  EXPECT_EQ(QuerySize(1), static_cast<std::int64_t>(expected.size()));  // counts pending bytes
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("f"), expected);
}

TEST_F(NumberedFilesTest, EmptyTextsAndTextsAfterANulWriteNothingMore) {
  platform_.files["f"] = "abc";
  ASSERT_NE(OpenOrCreate(1, "f"), 0);
  EXPECT_EQ(WriteText(1, ""), 0);
  EXPECT_EQ(WriteText(1, std::string("\0xyz", 4)), 0);
  EXPECT_EQ(WriteText(1, std::string("de\0fg", 5)), 2);
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("f"), "dec");
  EXPECT_EQ(WriteText(7, ""), 0);
}

TEST_F(NumberedFilesTest, WritingAfterReadingLandsBehindTheLastByteConsumed) {
  platform_.files["f"] = "line1\nline2\n";
  ASSERT_NE(OpenOrCreate(1, "f"), 0);
  EXPECT_EQ(ReadLine(1), "line1");
  WriteText(1, "LINE2");
  EXPECT_EQ(ReadLine(1), "");  // the rest of the overwritten line: its LF
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("f"), "line1\nLINE2\n");
}

TEST_F(NumberedFilesTest, ReopeningASlotWritesOutAndClosesTheOldFileFirst) {
  ASSERT_NE(OpenOrCreate(1, "first"), 0);
  WriteText(1, "pending");
  platform_.events.clear();
  EXPECT_EQ(OpenForReading(1, "missing"), 0);  // the old file is closed even so
  EXPECT_EQ(platform_.events, (std::vector<std::string>{"write 7", "close", "open missing"}));
  EXPECT_EQ(platform_.files.at("first"), "pending");
  EXPECT_EQ(QuerySize(1), -1);
}

TEST_F(NumberedFilesTest, SlotsWithoutAnOpenFileDoNothing) {
  for (FileSlot slot : {0, 5, 15, 16, 1000, -1}) {
    EXPECT_EQ(AtEnd(slot), 0);
    EXPECT_EQ(ReadLine(slot), "");
    EXPECT_EQ(QuerySize(slot), -1);
    EXPECT_EQ(WriteText(slot, "text"), 0);
    SeekTo(slot, 10);
    CloseSlot(slot);
  }
  EXPECT_TRUE(platform_.events.empty());
  EXPECT_EQ(FileTableCount(), 16);
  EXPECT_EQ(OpenForReading(-1, "f"), 0);
}

TEST_F(NumberedFilesTest, OpeningBeyondTheTableGrowsItBySixteen) {
  EXPECT_EQ(FileTableCount(), 16);
  ASSERT_NE(OpenOrCreate(20, "f"), 0);
  EXPECT_EQ(FileTableCount(), 36);
  ASSERT_NE(OpenOrCreate(35, "g"), 0);
  EXPECT_EQ(FileTableCount(), 36);
  ASSERT_NE(OpenOrCreate(36, "h"), 0);
  EXPECT_EQ(FileTableCount(), 52);
}

TEST_F(NumberedFilesTest, CloseAllFilesClosesInAscendingSlotOrder) {
  ASSERT_NE(OpenOrCreate(3, "c"), 0);
  ASSERT_NE(OpenOrCreate(1, "a"), 0);
  WriteText(3, "3");
  WriteText(1, "1");
  platform_.events.clear();
  CloseAllFiles();
  EXPECT_EQ(platform_.events, (std::vector<std::string>{"write 1", "close", "write 1", "close"}));
  EXPECT_EQ(platform_.files.at("a"), "1");
  EXPECT_EQ(platform_.files.at("c"), "3");
}

TEST_F(NumberedFilesTest, AFullDiskDropsWholeTextsAndNeverKeepsAPiece) {
  const auto append = [](const std::string& text) {
    ASSERT_NE(OpenOrCreate(1, "log"), 0);
    SeekTo(1, QuerySize(1));
    WriteText(1, text);
    CloseSlot(1);
  };
  platform_.disk_space = 25;
  append("entry 1\r\n");
  append("entry 2\r\n");
  append("entry 3\r\n");  // 9 bytes written would need 27: 7 are taken, then cut off
  EXPECT_EQ(platform_.files.at("log"), "entry 1\r\nentry 2\r\n");
  EXPECT_EQ(platform_.CountEvents("truncate 18"), 1);

  platform_.disk_space = 1000;  // room again: the next entry lands right behind
  append("entry 4\r\n");
  EXPECT_EQ(platform_.files.at("log"), "entry 1\r\nentry 2\r\nentry 4\r\n");

  // A direct write of a long text, and a write without a buffer, are cut back alike;
  // the count is still what the disk took.
  platform_.disk_space = 100;
  ASSERT_NE(OpenOrCreate(1, "log"), 0);
  SeekTo(1, QuerySize(1));
  EXPECT_EQ(WriteText(1, std::string(5000, 'x')), 73);
  CloseSlot(1);
  platform_.allocations_before_failure = 0;
  ASSERT_NE(OpenOrCreate(1, "log"), 0);
  SeekTo(1, QuerySize(1));
  EXPECT_EQ(WriteText(1, std::string(80, 'y')), 73);
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("log"), "entry 1\r\nentry 2\r\nentry 4\r\n");
}

TEST_F(NumberedFilesTest, WorksWithoutABufferWhenNoMemoryCanBeHad) {
  platform_.allocations_before_failure = 0;
  EXPECT_EQ(ReadAllLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(ReadAllLines("x\r"), (Lines{"x"}));

  platform_.files["log"] = "0123456789";
  ASSERT_NE(OpenOrCreate(1, "log"), 0);
  EXPECT_EQ(QuerySize(1), 10);
  SeekTo(1, 10);
  platform_.write_sizes.clear();
  EXPECT_EQ(WriteText(1, "ab"), 2);
  EXPECT_EQ(WriteText(1, "cd"), 2);
  EXPECT_EQ(platform_.write_sizes, (std::vector<std::int64_t>{2, 2}));
  EXPECT_EQ(QuerySize(1), 14);
  CloseSlot(1);
  EXPECT_EQ(platform_.files.at("log"), "0123456789abcd");
}

}  // namespace
}  // namespace pinglog
