#include "report/logs/log_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pinglog::report {
namespace {

const std::string kStamp = "21.03.2021 / 14:05:00 -> Pinging ";
const std::string kTail = "Approximate round trip times in milli-seconds:\t";

std::string Reply(const std::string& from, int ms, int bytes = 32) {
  return "Reply from " + from + ":  bytes = " + std::to_string(bytes) +
         " time = " + std::to_string(ms) + "ms TTL = 64\t";
}
std::string Failure(const std::string& target, int error) {
  return "\tReply from " + target + ":  Error no: " + std::to_string(error) + "\t";
}

TEST(ParseLogLineTest, ReadsEveryPieceOfAnEntryByName) {
  const std::string line =
      kStamp + "router1 [192.0.2.1] with 32 bytes of data:\t" + Reply("192.0.2.1", 2) +
      Failure("192.0.2.1", 11010) + Reply("198.51.100.254", 7, 0) +
      "Ping statistics for router1:   Packets: Sent = 3, Received = 2, Lost = 1 (33% loss)\t" +
      kTail + "Minimum = 2ms,  Maximum = 7,  Average = 4.50ms\r";
  const auto entry = ParseLogLine(line);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->time, ComposeTime(2021, 3, 21, 14, 5, 0));
  EXPECT_EQ(entry->host, "router1");
  EXPECT_TRUE(entry->by_name);
  EXPECT_EQ(entry->target, (Address{192, 0, 2, 1}));
  EXPECT_EQ(entry->attempts[0].outcome, Outcome::kReply);
  EXPECT_EQ(entry->attempts[0].time_ms, 2);
  EXPECT_EQ(entry->attempts[0].ttl, 64);
  EXPECT_EQ(entry->attempts[1].outcome, Outcome::kFailure);
  EXPECT_EQ(entry->attempts[1].error(), 11010u);
  EXPECT_EQ(entry->attempts[2].outcome, Outcome::kRouter);
  EXPECT_EQ(entry->attempts[2].source(), (Address{198, 51, 100, 254}));
}

// An error number is read up to the largest that 32 bits hold.
TEST(ParseLogLineTest, ReadsErrorNumbersUpToThirtyTwoBits) {
  const auto line = [](const std::string& error) {
    return kStamp + "router1 [192.0.2.1] with 32 bytes of data:\t" + Reply("192.0.2.1", 2) +
           "\tReply from 192.0.2.1:  Error no: " + error + "\t" + Reply("192.0.2.1", 4) +
           "Ping statistics for router1:   Packets: Sent = 3, Received = 2, Lost = 1 (33% loss)\t" +
           kTail + "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms";
  };
  const auto largest = ParseLogLine(line("4294967295"));
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->attempts[1].error(), 4294967295u);
  EXPECT_FALSE(ParseLogLine(line("4294967296")));
}

// A router's report is a reply without data from another address; the target's own
// reply without data is still its reply.
TEST(ParseLogLineTest, OnlyAnotherAddressWithoutDataIsARoutersReport) {
  const std::string line =
      kStamp + "router1 [192.0.2.1] with 32 bytes of data:\t" + Reply("192.0.2.1", 2, 0) +
      Reply("198.51.100.254", 7, 0) + Reply("192.0.2.1", 3) +
      "Ping statistics for router1:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t" +
      kTail + "Minimum = 2ms,  Maximum = 7,  Average = 4.00ms";
  const auto entry = ParseLogLine(line);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->attempts[0].outcome, Outcome::kReply);
  EXPECT_EQ(entry->attempts[1].outcome, Outcome::kRouter);
  EXPECT_EQ(entry->attempts[2].outcome, Outcome::kReply);
}

TEST(ParseLogLineTest, ReadsNumericHostsOldSummariesAndBothLineEnds) {
  const std::string numeric =
      kStamp + "10.0.0.1 with 32 bytes of data:\t" + Reply("10.0.0.1", 0) + Reply("10.0.0.1", 0) +
      Reply("10.0.0.1", 0) +
      "Ping statistics for 10.0.0.1:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t" +
      kTail + "Minimum = 255ms,  Maximum = 0,  Average = 0.00ms";  // written before the min/max fix
  for (const std::string& line : {numeric, numeric + "\r"}) {
    const auto entry = ParseLogLine(line);
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->by_name);
    EXPECT_EQ(entry->host, "10.0.0.1");
    EXPECT_EQ(entry->target, (Address{10, 0, 0, 1}));
    EXPECT_EQ(entry->minimum, 255);
  }
  const std::string digit_host =
      kStamp + "3host with 32 bytes of data:\t" + Failure("3host", 1214) + Failure("3host", 1214) +
      Failure("3host", 1214) +
      "Ping statistics for 3host:   Packets: Sent = 3, Received = 0, Lost = 3 (100% loss)\t" +
      kTail + "Minimum = 255ms,  Maximum = 0,  Average = 0.00ms";
  const auto digit_entry = ParseLogLine(digit_host);  // failures name the host text
  ASSERT_TRUE(digit_entry);
  EXPECT_EQ(digit_entry->target, (Address{0, 0, 0, 0}));
  const std::string zero = kStamp + "3host with 32 bytes of data:\t" + Failure("0.0.0.0", 1214) +
                           Failure("0.0.0.0", 1214) + Failure("0.0.0.0", 1214) +
                           "Ping statistics for 3host:   Packets: Sent = 3, Received = 0, Lost = 3 "
                           "(100% loss)\t" +
                           kTail + "Minimum = 255ms,  Maximum = 0,  Average = 0.00ms";
  EXPECT_FALSE(ParseLogLine(zero));
}

TEST(ParseLogLineTest, RefusesLinesThatAreNotWholeEntries) {
  const std::string whole =
      kStamp + "router1 [192.0.2.1] with 32 bytes of data:\t" + Reply("192.0.2.1", 2) +
      Reply("192.0.2.1", 3) + Reply("192.0.2.1", 4) +
      "Ping statistics for router1:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t" +
      kTail + "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms";
  ASSERT_TRUE(ParseLogLine(whole));
  const auto changed = [&](const std::string& from, const std::string& to) {
    std::string line = whole;
    line.replace(line.find(from), from.size(), to);
    return line;
  };
  const struct {
    const char* what;
    std::string line;
  } cases[] = {
      {"torn", whole.substr(0, whole.size() / 2)},
      {"empty", ""},
      {"glued to the next", whole + whole},
      {"impossible date", changed("21.03.2021", "31.02.2021")},
      {"counter that disagrees", changed("Received = 3, Lost = 0", "Received = 2, Lost = 1")},
      {"other host in the statistics", changed("statistics for router1", "statistics for router2")},
      {"two items", changed(Reply("192.0.2.1", 3), "")},
      {"octet beyond 255", changed("[192.0.2.1]", "[192.0.2.300]")},
      {"missing brackets for a name", changed(" [192.0.2.1]", "")},
      {"edited average", changed("3.00ms", "3ms")},
      {"single space", changed(":  bytes", ": bytes")},
      {"another program's text", "PING 192.0.2.1 (192.0.2.1) 56(84) bytes of data."},
      {"bytes beyond 65535", changed("bytes = 32", "bytes = 65536")},
      {"a round trip beyond 65535 ms", changed("time = 2ms", "time = 65536ms")},
      {"a TTL beyond 255", changed("TTL = 64", "TTL = 256")},
      {"an octet of four digits", changed("[192.0.2.1]", "[0192.0.2.1]")},
      {"four sent", changed("Sent = 3", "Sent = 4")},
      {"a loss that disagrees", changed("Lost = 0", "Lost = 1")},
      {"an average of one decimal", changed("3.00ms", "3.0ms")},
      {"an average with a letter", changed("3.00ms", "3.a0ms")},
      {"another packet size", changed("with 32 bytes", "with 320 bytes")},
      {"text after the address's bracket", changed("[192.0.2.1] with", "[192.0.2.1]x with")},
      {"a letter changed in a long fixed text", changed("Ping statistics", "Ping staTistics")},
      {"a changed two-letter text", changed("Lost = 0 (0%", "Lost = 0 [0%")},
      {"bytes of eleven digits", changed("bytes = 32", "bytes = 00000000032")},
      {"bytes missing", changed("bytes = 32", "bytes = ")},
      {"a reply from an octet beyond 255", changed("Reply from 192.0.2.1:  bytes = 32 time = 3",
                                                   "Reply from 192.0.2.256:  bytes = 32 time = 3")},
      {"a minimum beyond 65535", changed("Minimum = 2ms", "Minimum = 65536ms")},
      {"a maximum beyond 65535", changed("Maximum = 4,", "Maximum = 65536,")},
      {"an average without its unit", changed("3.00ms", "3.00")},
      {"two sent", changed("Sent = 3", "Sent = 2")},
      {"a received count alone that disagrees", changed("Received = 3", "Received = 2")},
      {"an average of two digits without its point", changed("3.00ms", "30ms")},
      {"an address without its closing bracket", changed("[192.0.2.1] with", "[192.0.2.1x with")},
      {"a name that ends in ']' without its address before",
       kStamp + "x192.0.2.1] with 32 bytes of data:\t" + Reply("192.0.2.1", 2) +
           Reply("192.0.2.1", 3) + Reply("192.0.2.1", 4) +
           "Ping statistics for x192.0.2.1]:   Packets: Sent = 3, Received = 3, Lost = 0 (0% "
           "loss)\t" +
           kTail + "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms"},
      {"a numeric header of seven bytes without its packet size",
       kStamp + "1.2.3.4 bytes of data:\t" + Reply("1.2.3.4", 2) + Reply("1.2.3.4", 3) +
           Reply("1.2.3.4", 4) +
           "Ping statistics for 1.2.3.4:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t" +
           kTail + "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms"},
  };
  for (const auto& c : cases) EXPECT_FALSE(ParseLogLine(c.line)) << c.what;
  // The bounds themselves still read.
  for (const std::string& line :
       {changed("21.03.2021 / 14:05:00", "31.12.2021 / 23:59:59"),
        changed("bytes = 32 time = 2ms TTL = 64", "bytes = 65535 time = 65535ms TTL = 255"),
        changed("Reply from 192.0.2.1:  bytes = 32 time = 3",
                "Reply from 192.0.2.255:  bytes = 32 time = 3"),
        changed("Minimum = 2ms,  Maximum = 4,", "Minimum = 65535ms,  Maximum = 65535,"),
        changed("[192.0.2.1]", "[192.000.002.001]")}) {
    EXPECT_TRUE(ParseLogLine(line)) << line;
  }
}

// Everything a line reads as, in one text.
std::string Reading(const std::optional<LogLine>& entry) {
  if (!entry) return "no entry";
  std::string text = std::to_string(entry->time) + " " + std::string(entry->host) + " [" +
                     std::string(entry->resolved) + "] " + (entry->by_name ? "name " : "number ") +
                     std::to_string(entry->target[3]);
  for (const Attempt& a : entry->attempts) {
    text += " " + std::to_string(static_cast<int>(a.outcome)) + "/" +
            std::to_string(a.source()[3]) + "/" + std::to_string(a.error()) + "/" +
            std::to_string(a.time_ms);
  }
  return text;
}

TEST(ParseLogLineTest, ReadsEachLineAsAloneWhereItRepeatsTheOneBefore) {
  const auto line = [](const std::string& header, const std::string& host,
                       const std::string& from) {
    return kStamp + header + " with 32 bytes of data:\t" + Reply(from, 2) + Reply(from, 3) +
           Reply("192.0.2.1", 4) + "Ping statistics for " + host +
           ":   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t" + kTail +
           "Minimum = 2ms,  Maximum = 4,  Average = 3.00ms";
  };
  const std::string lines[] = {
      line("router1 [192.0.2.1]", "router1", ""),  // no source, none known yet
      line("router1 [192.0.2.1]", "router1", "192.0.2.1"),
      kStamp + "router1 [192.0.2.1] with 32 bytes of data:\tReply from 192.0.2.1",  // torn there
      line("router1 [192.0.2.10]", "router1", "192.0.2.10"),  // longer, same start
      line("router1 [192.0.2.1]", "router1", "192.0.2.100"),
      line("router [192.0.2.1]", "router", "192.0.2.1"),  // shorter host
      line("192.0.2.1", "192.0.2.1", "192.0.2.1"),        // numeric
      line("192.0.2.10", "192.0.2.10", "192.0.2.10"),
      line("192.0.2.10", "192.0.2.1", "192.0.2.10"),  // refused later on the line
      line("192.0.2.10", "192.0.2.10", "192.0.2.1"),
      line("router1 [192.0.2.300]", "router1", "192.0.2.1"),  // refused header
      line("router1 [192.0.2.3]", "router1", "192.0.2.3"),
  };
  LineMemory memory;
  for (const std::string& text : lines) {
    EXPECT_EQ(Reading(ParseLogLine(text, &memory)), Reading(ParseLogLine(text))) << text;
  }
}

}  // namespace
}  // namespace pinglog::report
