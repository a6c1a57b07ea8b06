#include "app/settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "support/numbered_files.h"

namespace pinglog {
namespace {

class LoadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFileTable();
    ResetSettings();
  }
  void TearDown() override {
    CloseAllFiles();
    ResetSettings();
  }
  testing::FakePlatform platform_;
};

TEST_F(LoadSettingsTest, FillsSlotsByLineNumberAndClosesTheFile) {
  platform_.files["Kep.ini"] =
      "Host = router1\r\nLog=C:\\logs\\ping.log\r\nInterval=5\r\nEnd=2030-06-15 10:00:00\r\n"
      "Spare=x\r\n";
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(SettingsValue(0), "");
  EXPECT_EQ(SettingsValue(1), "router1");
  EXPECT_EQ(SettingsValue(2), "C:\\logs\\ping.log");
  EXPECT_EQ(SettingsValue(3), "5");
  EXPECT_EQ(SettingsValue(4), "2030-06-15 10:00:00");
  EXPECT_EQ(SettingsValue(5), "x");
  EXPECT_EQ(platform_.CountEvents("open"), 1);
  EXPECT_EQ(platform_.CountEvents("close"), 1);
}

TEST_F(LoadSettingsTest, AMissingFileIsReportedAndLeavesTheTableEmpty) {
  EXPECT_FALSE(LoadSettings());
  EXPECT_EQ(SettingsValue(1), "");
}

TEST_F(LoadSettingsTest, BlankAndHeaderLinesTakeASlotAndLinesBeyondTheFifthAreIgnored) {
  std::string content = "[Settings]\n\nhost=a\n";
  for (int i = 0; i < 500; ++i) content += "extra=" + std::to_string(i) + "\n";
  platform_.files["Kep.ini"] = content;
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(SettingsValue(1), "[Settings]");
  EXPECT_EQ(SettingsValue(2), "");
  EXPECT_EQ(SettingsValue(3), "a");
  EXPECT_EQ(SettingsValue(4), "0");
  EXPECT_EQ(SettingsValue(5), "1");
  EXPECT_EQ(SettingsValue(6), "");
  EXPECT_EQ(SettingsValue(-1), "");
}

TEST_F(LoadSettingsTest, ReadsHostileFilesWithoutHarm) {
  const std::string cases[] = {
      "",
      std::string(3 * 1024 * 1024, 'x'),
      std::string("\0h=\0\0=\xff\r\r\r", 11),
      "a=1\rb=2\rc=3\rd=2030-01-01\re=5\rf=6\r",
  };
  for (const auto& content : cases) {
    ResetSettings();
    platform_.files["Kep.ini"] = content;
    ASSERT_TRUE(LoadSettings());
    for (int slot = 1; slot < kSettingsSlots; ++slot) {
      EXPECT_LE(SettingsValue(slot).size(), kSettingsValueLength);
    }
  }
  EXPECT_EQ(SettingsValue(1), "1");
  EXPECT_EQ(SettingsValue(5), "5");
}

TEST(SettingsLineValueTest, TakesWhatFollowsTheFirstEqualsSign) {
  const struct {
    std::string line;
    std::string expected;
  } cases[] = {
      {"Host = router1", "router1"},
      {"Host =\trouter1", "\trouter1"},
      {"Host = router1\t ", "router1\t"},
      {"Host=a=b", "a=b"},
      {"no equals sign ", "no equals sign"},
      {"", ""},
      {"Host=", ""},
      {"Host=" + std::string(300, 'h'), std::string(250, 'h')},
      {std::string(300, 'n'), std::string(250, 'n')},
      {"k=" + std::string(10, ' ') + std::string(245, 'v'), std::string(240, 'v')},
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsLineValue(c.line), c.expected) << c.line;
}

TEST(EndTimeFromTextTest, ReadsFieldsAtFixedPositions) {
  const struct {
    const char* text;
    CalendarTime expected;
  } cases[] = {
      {"2013-01-31 18:30:00", ComposeTime(2013, 1, 31, 18, 30, 0)},
      {"2013.01.31/18.30.00", ComposeTime(2013, 1, 31, 18, 30, 0)},
      {"2030-06-15", ComposeTime(2030, 6, 15, 0, 0, 0)},
      {"2013-1-31 18:00:00", ComposeTime(2013, 1, 1, 8, 0, 0)},
      {"2013-04-31 00:00:00", kInvalidTime},
      {"2013-02-29 00:00:00", kInvalidTime},
      {"2013-01-01 24:00:00", kInvalidTime},
      {"2038-01-19 03:14:08", kInvalidTime},
      {"2038-01-19 03:14:07", INT32_MAX},
      {"", kInvalidTime},
      {"2013", kInvalidTime},
  };
  for (const auto& c : cases) EXPECT_EQ(EndTimeFromText(c.text), c.expected) << c.text;
}

TEST(IntervalMillisecondsTest, MultipliesMinutesKeepingTheLow32Bits) {
  EXPECT_EQ(IntervalMilliseconds("5"), 300000u);
  EXPECT_EQ(IntervalMilliseconds("$A"), 600000u);
  EXPECT_EQ(IntervalMilliseconds(" 2 minutes"), 120000u);
  EXPECT_EQ(IntervalMilliseconds(""), 0u);
  EXPECT_EQ(IntervalMilliseconds("soon"), 0u);
  EXPECT_EQ(IntervalMilliseconds("-1"), 4294907296u);  // about 49.7 days
  EXPECT_EQ(IntervalMilliseconds("71583"), 4294980000u & 0xFFFFFFFFu);
  EXPECT_EQ(IntervalMilliseconds("9223372036854775807"),
            static_cast<std::uint32_t>(0x7FFFFFFFFFFFFFFFull * 60000u));
}

}  // namespace
}  // namespace pinglog
