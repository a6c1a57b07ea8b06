// Wall clocks set wrong and corrected: an entry whose time goes backwards, or a
// stretch stamped far away from the rest of its log. Such steps are not missing
// cycles, and the entries a wrong clock stamped are not placed in time.
#pragma once

#include "report/logs/log_set.h"

namespace pinglog::report {

// Per file and host, in file order (call before SortByTime): the steps backwards,
// and the steps into and out of runs of entries whose times lie far from the rest
// of the log, whose entries are marked off the clock.
void FindClockJumps(LogSet& logs);

}  // namespace pinglog::report
