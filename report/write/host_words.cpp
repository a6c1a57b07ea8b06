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

std::string HostList(const Report& report, const std::vector<std::size_t>& hosts) {
  constexpr std::size_t kNamedAtMost = 3;
  std::string text;
  const std::size_t named = hosts.size() > kNamedAtMost + 1 ? kNamedAtMost : hosts.size();
  for (std::size_t i = 0; i < named; ++i) {
    text += (i == 0                  ? ""
             : i + 1 == hosts.size() ? " and "
                                     : ", ") +
            Called(report.hosts[hosts[i]].summary);
  }
  if (named < hosts.size()) text += " and " + std::to_string(hosts.size() - named) + " more";
  return text;
}

}  // namespace pinglog::report
