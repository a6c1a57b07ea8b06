// pinglog-report --follow --textfile FILE LOG...: keeps reading the logs as the loggers
// append to them and rewrites FILE for node_exporter's textfile collector after each
// new entry, until it is told to stop (SIGTERM, SIGINT).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report/model/zone_time.h"

namespace pinglog::report {

// What the reader calls a host (--name): host as the log names it, or its address.
using HostNames = std::vector<std::pair<std::string, std::string>>;

// Follows the logs (patterns as ExpandLogPattern takes them, looked at anew each
// round); returns 0 when stopped, 1 when the textfile cannot be written.
int FollowLogs(const std::vector<std::string>& patterns, const std::string& file,
               const ZoneTime& zone, const HostNames& names = {});

}  // namespace pinglog::report
