#pragma once

#include <string>

namespace pinglog {

// One measurement of the host: three echo requests and one log entry.
void RunPingCycle(const std::string& host);

}  // namespace pinglog
