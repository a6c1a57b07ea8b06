// How far each host lies from the logging machine, and where along the way: the hosts
// form a tree (the machine at its root), so that where a path broke reads from the top
// down and a verdict names a link only where one is known to exist.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// The hops a reply took, as traceroute counts them (the first router is hop 1): the
// usual initial TTL at or above its TTL (64, 128 or 255) less the TTL, plus one (64: 1
// hop, 63: 2, 120: 9).
int HopsFromTtl(int ttl);

// A host's hops: the most common over its own replies (a router's reports say
// nothing of the host); the fewer of two as common; nothing without replies.
std::optional<int> HopsOf(const EntryList& entries);

// Places the hosts in a tree and puts them in its order. Each chain (a --path: hosts
// as the log names them, or their addresses, nearest first) puts each host it names
// behind the one before it, unless an earlier chain placed it. Every other host goes
// behind the hosts of the nearest fewer hops: behind that one host, or, where several
// hosts share those hops (siblings, never one behind another), behind the host all of
// them are behind; a host without replies (hops unknown) behind none. The order: each
// host, then the hosts behind it; the hosts behind one host in the order the chains
// name them, then by hops and by address, never by the order of the logs. Sets each
// summary's `behind`; returns the names in the chains that no host has.
std::vector<std::string> OrderHosts(std::vector<HostReport>& hosts,
                                    const std::vector<std::vector<std::string>>& chains);

// Whether host `a` lies behind host `b` (b is on a's way from the machine).
bool Behind(const std::vector<HostReport>& hosts, std::size_t a, std::size_t b);

}  // namespace pinglog::report
