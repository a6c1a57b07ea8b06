// The same log given twice, or rotated logs that overlap, must not count twice.
#pragma once

#include "report/logs/log_set.h"

namespace pinglog::report {

// Drops the entries that another file already holds (after SortByTime), and counts
// them in `logs.duplicates`. Of measurements alike within one second, each file's
// count is compared and the largest kept: back-to-back cycles write several alike
// entries a second into one file, and those all stay.
void DropDuplicates(LogSet& logs);

}  // namespace pinglog::report
