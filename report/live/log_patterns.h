// The logs a follower looks at: patterns matched anew each round, so that a logger
// started later (a new instance) is picked up.
#pragma once

#include <string>
#include <vector>

namespace pinglog::report {

// The logs that a pattern names now: "*" and "?" in any part of the path match
// names in that directory; a path without them is taken as it is, existing or not.
std::vector<std::string> ExpandLogPattern(const std::string& pattern);

}  // namespace pinglog::report
