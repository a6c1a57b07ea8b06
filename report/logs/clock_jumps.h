// Wall clocks set wrong and corrected: an entry whose time goes backwards, a clock
// set away and back, or a stretch stamped far away from the rest of its log. Such
// steps are not missing cycles.
#pragma once

#include "report/logs/log_set.h"

namespace pinglog::report {

// Per file and host, in file order (call before SortByHostAndTime): lists the steps
// backwards, and the steps into and out of a stretch stamped by a wrong clock. A
// stretch the clock went away and came back from (the log going on as if only its own
// time had passed) is moved back to where the clock stood; one that lies far from the
// rest of the log and is not so bracketed is marked off the clock (counted, not placed
// in time).
void FindClockJumps(LogSet& logs);

}  // namespace pinglog::report
