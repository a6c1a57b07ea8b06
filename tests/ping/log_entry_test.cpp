#include "ping/log_entry.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "support/numbered_files.h"

namespace pinglog {
namespace {

AttemptOutcome Reply(IPv4Bytes source, std::int16_t ms) {
  AttemptOutcome attempt;
  attempt.replied = true;
  attempt.source = source;
  attempt.data_size = 32;
  attempt.round_trip_ms = ms;
  attempt.ttl = 64;
  return attempt;
}

AttemptOutcome Failure(std::uint32_t error) {
  AttemptOutcome attempt;
  attempt.error = error;
  return attempt;
}

CycleResult Result(const std::string& host, bool by_name, CycleAttempts attempts) {
  CycleResult result;
  result.time_stamp = "21.03.2021 / 14:05:00";
  result.host = host;
  result.by_name = by_name;
  result.resolved_address = "192.0.2.1";
  result.attempts = attempts;
  result.stats = ComputeStatistics(attempts);
  return result;
}

TEST(ComposeLogEntryTest, LaysOutAMixedEntryByName) {
  EXPECT_EQ(
      ComposeLogEntry(Result("router1", true,
                             {Reply({192, 0, 2, 1}, 2), Failure(11010), Reply({192, 0, 2, 1}, 4)})),
      "21.03.2021 / 14:05:00 -> Pinging router1 [192.0.2.1] with 32 bytes of data:\t"
      "Reply from 192.0.2.1:  bytes = 32 time = 2ms TTL = 64\t"
      "\tReply from 192.0.2.1:  Error no: 11010\t"
      "Reply from 192.0.2.1:  bytes = 32 time = 4ms TTL = 64\t"
      "Ping statistics for router1:   Packets: Sent = 3, Received = 2, Lost = 1 (33% loss)\t"
      "Approximate round trip times in milli-seconds:\t"
      "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms\r\n");
}

TEST(ComposeLogEntryTest, LaysOutANumericEntryOfReplies) {
  AttemptOutcome router = Reply({198, 51, 100, 254}, 7);
  router.data_size = 0;
  router.ttl = 255;
  EXPECT_EQ(ComposeLogEntry(Result("192.0.2.1", false,
                                   {Reply({192, 0, 2, 1}, 12), router, Reply({192, 0, 2, 1}, 9)})),
            "21.03.2021 / 14:05:00 -> Pinging 192.0.2.1 with 32 bytes of data:\t"
            "Reply from 192.0.2.1:  bytes = 32 time = 12ms TTL = 64\t"
            "Reply from 198.51.100.254:  bytes = 0 time = 7ms TTL = 255\t"
            "Reply from 192.0.2.1:  bytes = 32 time = 9ms TTL = 64\t"
            "Ping statistics for 192.0.2.1:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t"
            "Approximate round trip times in milli-seconds:\t"
            "Minimum = 7ms,  Maximum = 12,  Average = 9.33ms\r\n");
}

TEST(ComposeLogEntryTest, LaysOutAnEntryOfFailures) {
  EXPECT_EQ(
      ComposeLogEntry(Result("\trouter1", true, {Failure(11010), Failure(11003), Failure(5)})),
      "21.03.2021 / 14:05:00 -> Pinging \trouter1 [192.0.2.1] with 32 bytes of data:\t"
      "\tReply from 192.0.2.1:  Error no: 11010\t"
      "\tReply from 192.0.2.1:  Error no: 11003\t"
      "\tReply from 192.0.2.1:  Error no: 5\t"
      "Ping statistics for \trouter1:   Packets: Sent = 3, Received = 0, Lost = 3 (100% loss)\t"
      "Approximate round trip times in milli-seconds:\t"
      "Minimum = 255ms,  Maximum = 0,  Average = 0.00ms\r\n");
}

TEST(AppendLogEntryTest, AppendsEachEntryInOneWriteOrDropsIt) {
  testing::FakePlatform platform;
  InitFileTable();
  AppendLogEntry("ping.log", "first\r\n");
  AppendLogEntry("ping.log", "second\r\n");
  EXPECT_EQ(platform.files.at("ping.log"), "first\r\nsecond\r\n");
  EXPECT_EQ(platform.write_sizes, (std::vector<std::int64_t>{7, 8}));

  platform.locked_by_others.insert("ping.log");
  AppendLogEntry("ping.log", "dropped\r\n");
  platform.unopenable.insert("missing/ping.log");
  AppendLogEntry("missing/ping.log", "dropped\r\n");
  EXPECT_EQ(platform.files.at("ping.log"), "first\r\nsecond\r\n");
  EXPECT_EQ(platform.files.count("missing/ping.log"), 0u);
  EXPECT_EQ(platform.CountEvents("open"), platform.CountEvents("close") + 2);
}

}  // namespace
}  // namespace pinglog
