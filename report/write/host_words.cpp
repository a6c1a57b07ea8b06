#include "report/write/host_words.h"

#include "support/text.h"

namespace pinglog::report {

std::string Called(const HostSummary& s) {
  return s.name.empty() ? s.host : s.name + " (" + s.host + ")";
}

std::string HostHeading(const HostSummary& s) {
  const std::string address = FormatAddress(s.target);
  if (s.name.empty()) return s.host + " (" + address + ")";
  return s.name + " (" + (s.LookedUp() ? s.host + ", " : "") + address + ")";
}

}  // namespace pinglog::report
