#pragma once

#include <string>

namespace pinglog {

// One measurement: takes the time stamp, finds the target's address (looking the host
// up unless its text begins with a digit), sends three echo requests 100 ms apart and
// appends one entry to the log. A host that cannot be looked up ends the cycle without
// a request and without an entry. Nothing that goes wrong leaves the cycle.
void RunPingCycle(const std::string& host, const std::string& log_path);

}  // namespace pinglog
