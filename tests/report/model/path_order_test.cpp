#include "report/model/path_order.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// Hops from the TTL of the host's own replies: the nearest usual initial TTL at or
// above it less the TTL, the most common over the replies; a router's reports and
// failures say nothing.
TEST(PathOrderTest, HopsFromTheRepliesTtl) {
  const struct {
    std::vector<int> ttls;  // of the replies; 0: a cycle of time-outs
    std::optional<int> hops;
  } cases[] = {{{64}, 0},         {{63}, 1},  {{128}, 0},          {{120}, 8},
               {{255}, 0},        {{250}, 5}, {{0}, std::nullopt}, {{63, 63, 58}, 1},
               {{58, 63, 58}, 6}, {{1}, 63},  {{65}, 63}};
  for (const auto& c : cases) {
    std::vector<Entry> entries;
    for (const int ttl : c.ttls) {
      entries.push_back(
          testing::MakeEntry(ComposeTime(2021, 3, 1, 0, 0, 0),
                             ttl == 0 ? std::initializer_list<int>{-11010, -11010, -11010}
                                      : std::initializer_list<int>{5, testing::kRouter, 5}));
      for (Attempt& a : entries.back().attempts) a.ttl = static_cast<std::uint8_t>(ttl);
    }
    const EntryStore store(entries);
    EXPECT_EQ(HopsOf(EntryList(store)), c.hops) << c.ttls.front();
  }
}

// Hosts nearest first, unknown hops last, the median round trip between equals; --path
// puts the hosts it names first, by name or address, and names what no host has.
TEST(PathOrderTest, OrdersByHopsOrAsGiven) {
  const auto host = [](const char* name, std::optional<int> hops, int median, int replies = 1) {
    HostReport h;
    h.summary.host = name;
    h.summary.target = {192, 0, 2, static_cast<std::uint8_t>(name[0])};
    h.summary.hops = hops;
    h.summary.round_trip.median = median;
    h.summary.round_trip.replies = replies;
    return h;
  };
  const auto names = [](const std::vector<HostReport>& hosts) {
    std::string text;
    for (const HostReport& h : hosts) text += h.summary.host + " ";
    return text;
  };
  const struct {
    std::vector<std::string> path;
    const char* order;
    std::vector<std::string> unknown;
  } cases[] = {
      {{}, "router gw dns remote silent ", {}},
      {{"remote", "192.0.2.103"}, "remote gw router dns silent ", {}},  // gw by its address
      {{"nowhere", "gw"}, "gw router dns remote silent ", {"nowhere"}},
  };
  for (const auto& c : cases) {
    std::vector<HostReport> hosts;
    hosts.push_back(host("silent", std::nullopt, 0, 0));
    hosts.push_back(host("remote", 6, 25));
    hosts.push_back(host("dns", 1, 9));
    hosts.push_back(host("gw", 1, 8));
    hosts.push_back(host("router", 0, 2));
    EXPECT_EQ(OrderHosts(hosts, c.path), c.unknown);
    EXPECT_EQ(names(hosts), c.order);
  }
}

}  // namespace
}  // namespace pinglog::report
