// Where along the hosts' tree the hosts that failed together point: everything from
// the nearest host on, everything behind one host that answered, one host alone, or no
// one place. Incidents (outages) and episodes (degradation) are located alike.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "report/model/place.h"
#include "report/model/report.h"

namespace pinglog::report {

// kBeyond: the failing hosts are one host and every host behind it, or every host
// behind one that answered; never some of a host's siblings and not the others.
struct FaultPlace {
  Place place = Place::kNoOnePlace;
  // The host that answered, behind which every failing host lies (nothing: they lie
  // behind none, or behind several), and how many hosts that were logging lie behind
  // it; whether every one of those failed.
  std::optional<std::size_t> answered;
  std::int64_t behind = 0;
  bool whole_branch = false;
  // The failing hosts nearest the machine: those behind no other failing host.
  std::vector<std::size_t> first_failing;
};

// Where `failing` points, among the hosts that were `logging` then (both by the index
// of a host in `hosts`, which are in path order, OrderHosts). At least one host fails.
FaultPlace PlaceFault(const std::vector<HostReport>& hosts, const std::vector<bool>& failing,
                      const std::vector<bool>& logging);

}  // namespace pinglog::report
