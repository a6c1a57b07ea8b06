// Log names with wildcards: a follower matches them anew each round, so that a logger
// started later (a new instance) is picked up; the one-shot report matches them once
// (a Windows program gets its wildcards unexpanded).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pinglog::report {

// The logs that a pattern names now: "*" and "?" in any part of the path match
// names in that directory; a path without them is taken as it is, existing or not.
// Parts are separated by "/" (and "\\" where that is the system's separator).
std::vector<std::string> ExpandLogPattern(const std::string& pattern);

// The logs that the command line's arguments name now, in their order, each pattern
// expanded; `unmatched` is called with each pattern that matches nothing.
std::vector<std::string> ExpandLogArguments(
    const std::vector<std::string>& arguments,
    const std::function<void(const std::string&)>& unmatched);

}  // namespace pinglog::report
