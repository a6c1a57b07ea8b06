// What the page packs as text for its script: the heat map's hours (below), and every
// cycle of a host from `origin` on, from which the script buckets the period a reader
// zooms to. Per cycle, in base-64 variable-length numbers
// (five bits a digit, the sixth set while more digits follow, least significant
// first, "A".."Z" "a".."z" "0".."9" "+" "/"):
//   - the seconds since the previous cycle (the first: since `origin`) less `step`,
//     zigzag-coded (0, -1, 1, -2 ... as 0, 1, 2, 3 ...);
//   - replies + 4 × lost + 16 × not sent (each at most 3: a cycle has three attempts);
//   - each reply's round trip in milliseconds.
// A minute's cycle of three quick replies takes five characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/logs/entry_list.h"
#include "report/model/heat_map.h"

namespace pinglog::report {

// One number in those digits, appended to `out`.
void AppendNumber(std::string& out, std::uint64_t value);
// 0, -1, 1, -2 ... as 0, 1, 2, 3 ...
std::uint64_t ZigZag(std::int64_t value);

std::string PackCycles(const EntryList& entries, LogTime origin, std::int64_t step);

// The map's rows for the page's script, in the cycles' packed numbers (PackCycles):
// per row the days since the row before (the first: since 1970), the days a folded
// row holds (0: a day), and for a day its 24 hours: cycles; if any, lost and not sent
// requests, and the replies' median if there were replies (sent less lost).
std::string PackHeatMapHours(const HeatMap& map);

}  // namespace pinglog::report
