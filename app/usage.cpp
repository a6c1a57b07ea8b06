#include "app/usage.h"

#include "platform/platform.h"

namespace pinglog {
namespace {

constexpr const char* kLoggerUsage =
    "Usage: pinglog (no arguments)\n"
    "Reads Kep.ini in the working directory (line 1 host, 2 log file, 3 interval in\n"
    "minutes, 4 end time YYYY-MM-DD HH:MM:SS), then until the end time sends three ICMP\n"
    "echo requests per cycle to the host and appends one line per cycle to the log.\n"
    "pinglog-check shows first what pinglog will do with a Kep.ini and whether it can\n"
    "work. More: man pinglog, or the README.\n";

}  // namespace

bool ShowAskedInformation(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  if (arguments[0] == "--help") {
    ActivePlatform().ShowInformation("pinglog", kLoggerUsage);
  } else if (arguments[0] == "--version") {
    ActivePlatform().ShowInformation("pinglog", std::string("pinglog ") + kVersion + "\n");
  } else {
    return false;
  }
  return true;
}

}  // namespace pinglog
