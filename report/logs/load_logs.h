// Loading the logs a user names: each read (one that cannot be read is said and the
// others go on), wrong clocks found, limited to a period, merged by time, and cleared
// of entries that another log already holds.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "report/logs/log_set.h"
#include "report/logs/period_filter.h"

namespace pinglog::report {

struct LoadRequest {
  std::vector<std::string> files;  // "-": standard input (patterns expanded before)
  std::optional<TimeSpan> from, to;
};

// Returns the set; `problem` is called once for each file that cannot be read, and
// once when no entry lies in the period asked for.
LogSet LoadLogs(const LoadRequest& request, const std::function<void(const std::string&)>& problem);

}  // namespace pinglog::report
