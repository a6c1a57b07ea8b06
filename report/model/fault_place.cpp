#include "report/model/fault_place.h"

#include "report/model/path_order.h"

namespace pinglog::report {
namespace {

// The nearest host before `h` that was logging (nothing: the machine).
std::optional<std::size_t> LoggingBefore(const std::vector<HostReport>& hosts,
                                         const std::vector<bool>& logging, std::size_t h) {
  std::optional<std::size_t> at = hosts[h].summary.behind;
  while (at && !logging[*at]) at = hosts[*at].summary.behind;
  return at;
}

}  // namespace

FaultPlace PlaceFault(const std::vector<HostReport>& hosts, const std::vector<bool>& failing,
                      const std::vector<bool>& logging) {
  FaultPlace found;
  std::int64_t failed = 0;
  bool answered = false, closed = true;  // closed: no host behind a failing one answered
  std::optional<std::optional<std::size_t>> shared;  // the host before every first failing one
  bool one_before = true;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    if (!logging[h]) continue;
    const std::optional<std::size_t> before = LoggingBefore(hosts, logging, h);
    if (!failing[h]) {
      answered = true;
      for (std::optional<std::size_t> at = before; at && closed;
           at = LoggingBefore(hosts, logging, *at)) {
        closed = !failing[*at];
      }
      continue;
    }
    ++failed;
    if (before && failing[*before]) continue;  // behind a failing host
    found.first_failing.push_back(h);
    if (!shared) shared = before;
    one_before = one_before && *shared == before;
  }
  if (!answered) {
    found.place = Place::kEverything;
    return found;
  }
  found.place = failed == 1 ? Place::kOneHost : Place::kNoOnePlace;
  if (!one_before || !shared) return found;
  found.answered = *shared;
  if (*shared) {
    for (std::size_t h = 0; h < hosts.size(); ++h) {
      found.behind += logging[h] && Behind(hosts, h, **shared) ? 1 : 0;
    }
  }
  found.whole_branch = *shared && found.behind == failed;
  // One host and every host behind it, or every host behind the one that answered.
  const bool branch = closed && (found.first_failing.size() == 1 || found.whole_branch);
  if (branch && failed > 1) found.place = Place::kBeyond;
  return found;
}

}  // namespace pinglog::report
