// How a host is called in every output: by the name the reader gave it (--name), and
// by what the log names it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// A reference in running text: "router (192.168.1.1)" with a name, else the host as
// the log names it.
std::string Called(const HostSummary& summary);

// A host's heading: "dns.isp.example (100.64.0.53)"; with a name, "router
// (192.168.1.1)", or "ispdns (dns.isp.example, 100.64.0.53)" for a host looked up.
std::string HostHeading(const HostSummary& summary);

// The hosts of a report in running text: "gw.isp, dns.isp and remote.example", or, past
// three, "gw.isp, dns.isp, remote.example and 34 more".
std::string HostList(const Report& report, const std::vector<std::size_t>& hosts);

}  // namespace pinglog::report
