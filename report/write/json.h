// The whole report as JSON: the logs' facts, and per host the summary, gaps,
// outages, failures, clock jumps, router replies and the day (or hour) rows.
#pragma once

#include <ostream>

#include "report/model/report.h"

namespace pinglog::report {

void WriteJson(std::ostream& out, const Report& report);

}  // namespace pinglog::report
