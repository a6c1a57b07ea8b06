// pinglog-report --follow --textfile FILE LOG...: keeps reading the logs as the loggers
// append to them and rewrites FILE for node_exporter's textfile collector after each
// new entry, until it is told to stop (SIGTERM, SIGINT).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report/model/host_names.h"
#include "report/model/zone_time.h"

namespace pinglog::report {

// Where the names the reader calls the hosts by come from: --name HOST=NAME and
// --names FILE ("": none), read again on SIGHUP.
struct NamesGiven {
  std::vector<std::string> mappings;
  std::string file;
};

// Follows the logs (patterns as ExpandLogPattern takes them, looked at anew each
// round), naming the hosts by `names` (as read from `given`); returns 0 when stopped,
// 1 when the textfile cannot be written.
int FollowLogs(const std::vector<std::string>& patterns, const std::string& file,
               const ZoneTime& zone, const HostNames& names = {}, const NamesGiven& given = {});

}  // namespace pinglog::report
