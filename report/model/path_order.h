// How far each host lies from the logging machine, and the hosts in that order: the
// nearest first, so that where a path broke reads from the top down.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// The hops a reply took: the usual initial TTL at or above its TTL (64, 128 or 255)
// less the TTL (63: 1 hop, 120: 8).
int HopsFromTtl(int ttl);

// A host's hops: the most common over its own replies (a router's reports say
// nothing of the host); the fewer of two as common; nothing without replies.
std::optional<int> HopsOf(const EntryList& entries);

// Puts the hosts in path order: by hops (unknown last), then by median round trip,
// then as they came. With `path` (hosts as the log names them, or their addresses),
// the hosts it names come first, in its order. Returns the names in `path` that no
// host has.
std::vector<std::string> OrderHosts(std::vector<HostReport>& hosts,
                                    const std::vector<std::string>& path);

}  // namespace pinglog::report
