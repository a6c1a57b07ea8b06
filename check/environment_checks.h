// Checks against the machine, through the platform: the host's lookup, the log's
// file, the permission to send echo requests.
#pragma once

#include <string>

#include "check/check_report.h"

namespace pinglog::check {

// The address the logger will ping, as text: looked up now for a name (unless
// `lookup` is false: then "not looked up"), parsed for a text beginning with a digit.
std::string CheckHost(const std::string& host, bool lookup, CheckReport& report);

// Whether the running user can create or append to the log; the absolute path.
std::string CheckLog(const std::string& path, CheckReport& report);

// Whether the running user's logger could send echo requests at all.
void CheckEchoPermission(const std::string& logger_program, CheckReport& report);

}  // namespace pinglog::check
