// Outputs that would destroy what the run reads: an export onto one of the logs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/options.h"

namespace pinglog::report {

// The usage problem when an export names one of the logs (the same file, links
// followed; "-" reads standard input) or the same file as another export; nothing
// when there is none.
std::optional<std::string> OutputClash(const Options& options,
                                       const std::vector<std::string>& logs);

}  // namespace pinglog::report
