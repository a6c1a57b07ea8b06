#include "ping/cycle.h"

namespace pinglog {

void RunPingCycle(const std::string& /*host*/) {}

}  // namespace pinglog
