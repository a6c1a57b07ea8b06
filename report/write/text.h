// The report for a terminal: the logs read, the duplicates dropped, each host's
// summary and day (or hour) table, and the lines that are no entries.
#pragma once

#include <ostream>

#include "report/model/report.h"

namespace pinglog::report {

void WriteText(std::ostream& out, const Report& report);

}  // namespace pinglog::report
