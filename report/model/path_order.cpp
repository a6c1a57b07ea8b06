#include "report/model/path_order.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "support/text.h"

namespace pinglog::report {

int HopsFromTtl(int ttl) {
  for (const int initial : {64, 128, 255}) {
    if (ttl <= initial) return initial - ttl;
  }
  return 0;
}

std::optional<int> HopsOf(const EntryList& entries) {
  std::array<std::int64_t, 256> replies{};  // by hops
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
                                    const std::vector<std::string>& path) {
  std::map<const HostReport*, std::size_t> place;  // in `path`; path.size() when not named
  std::unordered_map<std::string_view, std::size_t> in_path;  // each name's first place
  for (std::size_t i = 0; i < path.size(); ++i) in_path.try_emplace(path[i], i);
  std::vector<bool> found(path.size(), false);
  for (const HostReport& host : hosts) {
    std::size_t at = path.size();
    for (const std::string& name : {host.summary.host, FormatAddress(host.summary.target)}) {
      const auto named = in_path.find(name);
      if (named == in_path.end()) continue;
      at = std::min(at, named->second);
      found[named->second] = true;
    }
    place[&host] = at;
  }
  std::vector<std::string> unknown;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (!found[in_path.at(path[i])]) unknown.push_back(path[i]);
  }
  const auto key = [&place](const HostReport& host) {
    const HostSummary& s = host.summary;
    const bool replies = s.round_trip.replies > 0;
    return std::make_tuple(place.at(&host), !s.hops.has_value(), s.hops.value_or(0), !replies,
                           s.round_trip.median);
  };
  std::vector<std::pair<decltype(key(hosts.front())), std::size_t>> keys;
  for (std::size_t i = 0; i < hosts.size(); ++i) keys.emplace_back(key(hosts[i]), i);
  std::stable_sort(keys.begin(), keys.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<HostReport> ordered;
  ordered.reserve(hosts.size());
  for (const auto& [k, i] : keys) ordered.push_back(std::move(hosts[i]));
  hosts = std::move(ordered);
  return unknown;
}

}  // namespace pinglog::report
