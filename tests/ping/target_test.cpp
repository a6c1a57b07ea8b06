#include "ping/target.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace pinglog {
namespace {

TEST(ParseDottedQuadTest, ReadsFourOctetsWithoutValidatingThem) {
  const struct {
    const char* text;
    IPv4Bytes expected;
  } cases[] = {
      {"192.168.1.20", {0xC0, 0xA8, 0x01, 0x14}},
      {"300.1.1.1", {0x2C, 1, 1, 1}},
      {"10.1.2.3.4", {10, 1, 2, 3}},
      {"10.1.2", {0, 0, 0, 0}},
      {"10. 1 . 2 .3", {10, 1, 2, 3}},
      {"3host", {0, 0, 0, 0}},
      {"", {0, 0, 0, 0}},
      {"...", {0, 0, 0, 0}},
      {"$C0.$a8.%1.-1", {0xC0, 0xA8, 1, 0xFF}},
      {"127.0.0.1 ", {127, 0, 0, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDottedQuad(c.text), c.expected) << c.text;
}

TEST(ResolveTargetTest, GivesTheLastAddressOrAFailureText) {
  testing::FakePlatform platform;
  platform.hosts["router1"] = {true, kAddressFamilyIPv4, {{192, 0, 2, 1}}};
  platform.hosts["two"] = {true, kAddressFamilyIPv4, {{192, 0, 2, 1}, {198, 51, 100, 7}}};
  platform.hosts["six"] = {true, 23, {}};
  platform.hosts["empty"] = {true, kAddressFamilyIPv4, {}};

  EXPECT_EQ(ResolveTarget("router1"), "192.0.2.1");
  EXPECT_EQ(ResolvedAddress(), "192.0.2.1");
  EXPECT_EQ(ResolveTarget("empty"), "192.0.2.1");  // the previous answer stays
  EXPECT_EQ(ResolveTarget("two"), "198.51.100.7");
  EXPECT_EQ(ResolveTarget("six"), "A non-IP address was returned.");
  EXPECT_EQ(ResolveTarget("unknown"), "Unable to resolve domain name");
  EXPECT_EQ(ResolvedAddress(), "Unable to resolve domain name");
  SetResolvedAddress("");
}

}  // namespace
}  // namespace pinglog
