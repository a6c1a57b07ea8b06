#include "report/model/path_order.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "support/text.h"

namespace pinglog::report {
namespace {

constexpr std::ptrdiff_t kMachine = -1;  // behind no host: the machine's own way out
constexpr std::ptrdiff_t kUnplaced = -2;

// The tree as it is built, over the hosts as given.
struct Tree {
  std::vector<std::ptrdiff_t> parent;
  std::vector<std::size_t> named_at;  // the order of the chains' naming; SIZE_MAX: not named

  std::size_t Depth(std::ptrdiff_t h) const {
    std::size_t depth = 0;
    for (; h >= 0; h = parent[static_cast<std::size_t>(h)]) ++depth;
    return depth;
  }
  // The host that `a` and `b` are both behind (kMachine: none).
  std::ptrdiff_t Meet(std::ptrdiff_t a, std::ptrdiff_t b) const {
    std::size_t da = Depth(a), db = Depth(b);
    for (; da > db; --da) a = parent[static_cast<std::size_t>(a)];
    for (; db > da; --db) b = parent[static_cast<std::size_t>(b)];
    while (a != b) {
      a = parent[static_cast<std::size_t>(a)];
      b = parent[static_cast<std::size_t>(b)];
    }
    return a;
  }
};

// The chains placed: each named host behind the one before it. Returns the names no
// host has.
std::vector<std::string> PlaceChains(const std::vector<HostReport>& hosts,
                                     const std::vector<std::vector<std::string>>& chains,
                                     Tree& tree) {
  std::unordered_map<std::string_view, std::size_t> by_name;
  std::vector<std::string> addresses(hosts.size());
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    addresses[h] = FormatAddress(hosts[h].summary.target);
    by_name.try_emplace(hosts[h].summary.host, h);
  }
  for (std::size_t h = 0; h < hosts.size(); ++h) by_name.try_emplace(addresses[h], h);
  std::vector<std::string> unknown;
  std::size_t order = 0;
  for (const std::vector<std::string>& chain : chains) {
    std::ptrdiff_t before = kMachine;
    for (const std::string& name : chain) {
      const auto found = by_name.find(name);
      if (found == by_name.end()) {
        if (std::find(unknown.begin(), unknown.end(), name) == unknown.end()) {
          unknown.push_back(name);
        }
        continue;
      }
      const std::size_t h = found->second;
      if (tree.parent[h] == kUnplaced) {
        tree.parent[h] = before;
        tree.named_at[h] = order++;
      }
      before = static_cast<std::ptrdiff_t>(h);
    }
  }
  return unknown;
}

// Every host no chain names, by hops: behind the host (or the siblings' meeting host)
// of the nearest fewer hops among those placed.
void PlaceByHops(const std::vector<HostReport>& hosts, Tree& tree) {
  std::map<int, std::vector<std::size_t>> by_hops;  // placed hosts with replies
  std::map<int, std::ptrdiff_t> meeting;            // per hops, once asked
  std::vector<std::size_t> unplaced;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    const std::optional<int> hops = hosts[h].summary.hops;
    if (tree.parent[h] != kUnplaced) {
      if (hops) by_hops[*hops].push_back(h);
    } else {
      unplaced.push_back(h);
    }
  }
  const auto key = [&](std::size_t h) {
    const HostSummary& s = hosts[h].summary;
    return std::make_tuple(!s.hops.has_value(), s.hops.value_or(0), s.target, s.host);
  };
  std::sort(unplaced.begin(), unplaced.end(),
            [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
  for (const std::size_t h : unplaced) {
    const std::optional<int> hops = hosts[h].summary.hops;
    tree.parent[h] = kMachine;
    if (!hops) continue;
    auto nearer = by_hops.lower_bound(*hops);
    if (nearer != by_hops.begin()) {
      --nearer;
      const auto [known, added] = meeting.try_emplace(nearer->first, kMachine);
      if (added) {
        std::ptrdiff_t meet = static_cast<std::ptrdiff_t>(nearer->second.front());
        for (const std::size_t sibling : nearer->second) {
          meet = tree.Meet(meet, static_cast<std::ptrdiff_t>(sibling));
        }
        known->second = meet;
      }
      tree.parent[h] = known->second;
    }
    by_hops[*hops].push_back(h);
    meeting.erase(*hops);  // that level has grown
  }
}

}  // namespace

int HopsFromTtl(int ttl) {
  for (const int initial : {64, 128, 255}) {
    if (ttl <= initial) return initial - ttl + 1;
  }
  return 1;
}

std::optional<int> HopsOf(const EntryList& entries) {
  std::array<std::int64_t, 257> replies{};  // by hops
  for (const Entry& entry : entries) {
    for (const Attempt& attempt : entry.attempts) {
      if (attempt.outcome == Outcome::kReply) ++replies[HopsFromTtl(attempt.ttl)];
    }
  }
  const auto most = std::max_element(replies.begin(), replies.end());
  if (*most == 0) return std::nullopt;
  return static_cast<int>(most - replies.begin());
}

std::vector<std::string> OrderHosts(std::vector<HostReport>& hosts,
                                    const std::vector<std::vector<std::string>>& chains) {
  Tree tree{std::vector<std::ptrdiff_t>(hosts.size(), kUnplaced),
            std::vector<std::size_t>(hosts.size(), SIZE_MAX)};
  std::vector<std::string> unknown = PlaceChains(hosts, chains, tree);
  PlaceByHops(hosts, tree);
  // The hosts behind each, in the order of the chains, then by hops and address.
  std::map<std::ptrdiff_t, std::vector<std::size_t>> behind;
  for (std::size_t h = 0; h < hosts.size(); ++h) behind[tree.parent[h]].push_back(h);
  const auto key = [&](std::size_t h) {
    const HostSummary& s = hosts[h].summary;
    return std::make_tuple(tree.named_at[h], !s.hops.has_value(), s.hops.value_or(0), s.target,
                           s.host);
  };
  for (auto& [parent, children] : behind) {
    std::sort(children.begin(), children.end(),
              [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
  }
  std::vector<std::size_t> order;  // each host, then the hosts behind it
  std::vector<std::ptrdiff_t> stack = {kMachine};
  while (!stack.empty()) {
    const std::ptrdiff_t at = stack.back();
    stack.pop_back();
    if (at != kMachine) order.push_back(static_cast<std::size_t>(at));
    const auto children = behind.find(at);
    if (children == behind.end()) continue;
    for (auto it = children->second.rbegin(); it != children->second.rend(); ++it) {
      stack.push_back(static_cast<std::ptrdiff_t>(*it));
    }
  }
  std::vector<std::size_t> place(hosts.size());
  for (std::size_t i = 0; i < order.size(); ++i) place[order[i]] = i;
  std::vector<HostReport> ordered;
  ordered.reserve(hosts.size());
  for (const std::size_t h : order) {
    ordered.push_back(std::move(hosts[h]));
    const std::ptrdiff_t parent = tree.parent[h];
    ordered.back().summary.behind =
        parent == kMachine ? std::nullopt : std::optional<std::size_t>(place[parent]);
  }
  hosts = std::move(ordered);
  return unknown;
}

bool Behind(const std::vector<HostReport>& hosts, std::size_t a, std::size_t b) {
  for (std::optional<std::size_t> at = hosts[a].summary.behind; at;
       at = hosts[*at].summary.behind) {
    if (*at == b) return true;
  }
  return false;
}

}  // namespace pinglog::report
