// The settings check: reads Kep.ini in the working directory with the logger's own
// settings code and says what the logger will do with it, and whether it can work.
#pragma once

#include <string>

#include "check/check_report.h"

namespace pinglog::check {

struct CheckOptions {
  bool lookup = true;          // look the host up now
  std::string logger_program;  // the logger whose permission to send counts
};

CheckReport CheckSettings(const CheckOptions& options);

}  // namespace pinglog::check
