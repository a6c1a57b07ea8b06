#include "report/logs/entry_store.h"

#include <gtest/gtest.h>

#include <vector>

#include "report/logs/log_set.h"
#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

void ExpectSame(const Entry& got, const Entry& put, std::size_t at) {
  EXPECT_TRUE(SameMeasurement(got, put)) << "entry " << at;
  EXPECT_EQ(got.file, put.file) << "entry " << at;
  EXPECT_EQ(got.line, put.line) << "entry " << at;
  EXPECT_EQ(got.off_clock, put.off_clock) << "entry " << at;
}

// Entries come back as they were put, whatever they share with those around them: times
// before 1970 and either side of a 2^32 s boundary, lines either side of 65536, every
// outcome, more shapes than the store keeps at hand (so some are found again, some not);
// and after entries are replaced, dropped and reordered.
TEST(EntryStoreTest, GivesBackEveryEntryAsPut) {
  const LogTime times[] = {-2208988800,      -1,          0, (LogTime{1} << 32) - 3,
                           LogTime{1} << 32, 253402300799};
  const std::uint32_t lines[] = {1, 65535, 65536, 65537, 4294967295};
  std::vector<Entry> put;
  for (int i = 0; i < 9000; ++i) {
    Entry entry = testing::MakeEntry(times[i % 6] + i % 5,
                                     {i % 700, i % 3 == 0 ? testing::kRouter : 5, -(i % 13000)},
                                     static_cast<std::uint16_t>(i % 3));
    entry.file = static_cast<std::uint32_t>(i % 2);
    entry.line = lines[i % 5];
    entry.off_clock = i % 7 == 0;
    entry.attempts[1].ttl = static_cast<std::uint8_t>(i % 256);
    put.push_back(entry);
  }
  EntryStore store(put);
  ASSERT_EQ(store.size(), put.size());
  for (std::size_t i = 0; i < put.size(); ++i) {
    ExpectSame(store[i], put[i], i);
    EXPECT_EQ(store.TimeAt(i), put[i].time);
    EXPECT_EQ(store.HostAt(i), put[i].host);
  }

  store.Replace(4, put[5]);
  put[4] = put[5];
  store.KeepOnly([](std::size_t i) { return i % 4 != 1; });
  std::vector<Entry> kept;
  for (std::size_t i = 0; i < put.size(); ++i) {
    if (i % 4 != 1) kept.push_back(put[i]);
  }
  std::vector<std::uint32_t> backwards(kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    backwards[i] = static_cast<std::uint32_t>(kept.size() - 1 - i);
  }
  store.Arrange(backwards);
  ASSERT_EQ(store.size(), kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) ExpectSame(store[i], kept[kept.size() - 1 - i], i);
}

}  // namespace
}  // namespace pinglog::report
