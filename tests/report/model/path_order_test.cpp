#include "report/model/path_order.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// Hops from the TTL of the host's own replies, as traceroute counts them: the nearest
// usual initial TTL at or above it less the TTL, plus one; the most common over the
// replies; a router's reports and failures say nothing.
TEST(PathOrderTest, HopsFromTheRepliesTtl) {
  const struct {
    std::vector<int> ttls;  // of the replies; 0: a cycle of time-outs
    std::optional<int> hops;
  } cases[] = {{{64}, 1},         {{63}, 2},  {{128}, 1},          {{120}, 9},
               {{255}, 1},        {{250}, 6}, {{0}, std::nullopt}, {{63, 63, 58}, 2},
               {{58, 63, 58}, 7}, {{1}, 64},  {{65}, 64}};
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

// The hosts as a tree, each followed by those behind it: by hops, siblings (the same
// hops) by address and never one behind another, unknown hops last; each --path a
// branch of hosts named by name or address, placed first; names no host has are said.
// The order the logs came in changes nothing.
TEST(PathOrderTest, PlacesHostsInATreeWhateverTheLogsOrder) {
  const auto host = [](const char* name, std::optional<int> hops) {
    HostReport h;
    h.summary.host = name;
    h.summary.target = {192, 0, 2, static_cast<std::uint8_t>(name[0])};
    h.summary.hops = hops;
    return h;
  };
  const std::vector<HostReport> given = {host("silent", std::nullopt), host("remote", 7),
                                         host("dns", 2), host("gw", 2), host("router", 1)};
  // "name<the host it is behind" for each host, in order.
  const auto tree = [](const std::vector<HostReport>& hosts) {
    std::string text;
    for (const HostReport& h : hosts) {
      text += h.summary.host + "<" +
              (h.summary.behind ? hosts[*h.summary.behind].summary.host : "") + " ";
    }
    return text;
  };
  const struct {
    std::vector<std::vector<std::string>> path;
    const char* tree;
    std::vector<std::string> unknown;
  } cases[] = {
      {{}, "router< dns<router gw<router remote<router silent< ", {}},
      {{{"remote", "192.0.2.103"}}, "remote< gw<remote router< dns<router silent< ", {}},
      {{{"nowhere", "gw"}}, "gw< router< dns<router remote< silent< ", {"nowhere"}},
      {{{"router", "gw", "remote"}, {"router", "dns"}},
       "router< gw<router remote<gw dns<router silent< ",
       {}},
  };
  for (const auto& c : cases) {
    std::vector<std::size_t> order = {0, 1, 2, 3, 4};
    do {
      std::vector<HostReport> hosts;
      for (const std::size_t i : order) hosts.push_back(given[i]);
      EXPECT_EQ(OrderHosts(hosts, c.path), c.unknown);
      EXPECT_EQ(tree(hosts), c.tree) << order[0] << order[1] << order[2] << order[3] << order[4];
    } while (std::next_permutation(order.begin(), order.end()));
  }
}

}  // namespace
}  // namespace pinglog::report
