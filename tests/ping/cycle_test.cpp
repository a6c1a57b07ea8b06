#include "ping/cycle.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "ping/target.h"
#include "support/numbered_files.h"

namespace pinglog {
namespace {

class CycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFileTable();
    SetResolvedAddress("");
    testing::SetClock(platform_, 2021, 3, 21, 14, 5, 0);
    platform_.hosts["router1"] = {true, kAddressFamilyIPv4, {{192, 0, 2, 1}}};
  }
  void TearDown() override { CloseAllFiles(); }

  std::string Log() const {
    const auto found = platform_.files.find("ping.log");
    return found == platform_.files.end() ? "" : found->second;
  }

  testing::FakePlatform platform_;
};

TEST_F(CycleTest, RunsItsStepsInOrder) {
  RunPingCycle("router1", "ping.log");
  EXPECT_EQ(
      platform_.events,
      (std::vector<std::string>{"clock", "lookup router1", "echo-open", "echo", "sleep 100", "echo",
                                "sleep 100", "echo", "sleep 100", "open ping.log", "size", "seek",
                                "write " + std::to_string(Log().size()), "close", "echo-close"}));
  EXPECT_EQ(Log().substr(0, 81),
            "21.03.2021 / 14:05:00 -> Pinging router1 [192.0.2.1] with 32 bytes of data:\tReply");
  for (const auto& request : platform_.echo_requests) {
    EXPECT_EQ(request.destination, (IPv4Bytes{192, 0, 2, 1}));
    EXPECT_EQ(request.payload, "Echo This Information Back To Me");
    EXPECT_EQ(request.timeout_ms, 1000u);
    EXPECT_EQ(request.handle, platform_.echo_open_result);
  }
}

TEST_F(CycleTest, TakesAHostBeginningWithADigitAsAnAddress) {
  RunPingCycle("10.0.0.1", "ping.log");
  RunPingCycle("3host", "ping.log");
  EXPECT_EQ(platform_.CountEvents("lookup"), 0);
  ASSERT_EQ(platform_.echo_requests.size(), 6u);
  EXPECT_EQ(platform_.echo_requests[0].destination, (IPv4Bytes{10, 0, 0, 1}));
  EXPECT_EQ(platform_.echo_requests[3].destination, (IPv4Bytes{0, 0, 0, 0}));
  EXPECT_NE(Log().find("-> Pinging 10.0.0.1 with 32 bytes"), std::string::npos);
  EXPECT_NE(Log().find("-> Pinging 3host with 32 bytes"), std::string::npos);
}

TEST_F(CycleTest, LooksUpEveryOtherHostTextAsIs) {
  platform_.hosts["\trouter1"] = platform_.hosts["router1"];
  RunPingCycle("\trouter1", "ping.log");
  RunPingCycle("", "ping.log");
  EXPECT_EQ(platform_.CountEvents("lookup \trouter1"), 1);
  EXPECT_EQ(platform_.CountEvents("lookup "), 2);
  EXPECT_NE(Log().find("Ping statistics for \trouter1:"), std::string::npos);
}

TEST_F(CycleTest, AFailedLookupEndsTheCycleWithoutRequestsOrEntryAfterTheShortestCycle) {
  platform_.hosts["six"] = {true, 23, {}};
  for (const char* host : {"nowhere", "six"}) {
    platform_.events.clear();
    RunPingCycle(host, "ping.log");
    EXPECT_EQ(platform_.events,
              (std::vector<std::string>{"clock", std::string("lookup ") + host, "sleep 300"}));
  }
  EXPECT_EQ(platform_.files.count("ping.log"), 0u);
}

TEST_F(CycleTest, LogsFailuresWithTheServiceErrorNumberAndTheTarget) {
  EchoResult timeout;
  timeout.error = 11010;
  EchoResult router;
  router.replies = 1;
  router.reply = {{198, 51, 100, 254}, 5, 0, 250};
  platform_.echo_script = {timeout, router, timeout};
  RunPingCycle("router1", "ping.log");
  EXPECT_NE(Log().find("data:\t\tReply from 192.0.2.1:  Error no: 11010\t"
                       "Reply from 198.51.100.254:  bytes = 0 time = 5ms TTL = 250\t"
                       "\tReply from 192.0.2.1:  Error no: 11010\tPing"),
            std::string::npos);
  EXPECT_NE(Log().find("Sent = 3, Received = 1, Lost = 2 (67% loss)"), std::string::npos);
}

TEST_F(CycleTest, AnUnwritableLogStillClosesTheEchoHandle) {
  platform_.unopenable.insert("ping.log");
  RunPingCycle("router1", "ping.log");
  EXPECT_EQ(platform_.events.back(), "echo-close");
  EXPECT_EQ(platform_.CountEvents("echo"), 5);  // open, three requests, close
  EXPECT_EQ(platform_.blocks_outstanding, 0);
}

TEST_F(CycleTest, TwoCyclesGiveTwoLinesOldestFirst) {
  RunPingCycle("router1", "ping.log");
  platform_.now += 60;
  RunPingCycle("router1", "ping.log");
  const std::string log = Log();
  EXPECT_EQ(log.find("21.03.2021 / 14:05:00"), 0u);
  const std::size_t second = log.find("\r\n") + 2;
  EXPECT_EQ(log.find("21.03.2021 / 14:06:00"), second);
  EXPECT_EQ(log.size() - 2, log.rfind("\r\n"));
}

}  // namespace
}  // namespace pinglog
