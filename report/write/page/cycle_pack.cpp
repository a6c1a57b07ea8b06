#include "report/write/page/cycle_pack.h"

#include <algorithm>

#include "report/model/cycle_counts.h"
#include "support/domain.h"

namespace pinglog::report {
std::uint64_t ZigZag(std::int64_t value) {
  return value < 0 ? 2 * static_cast<std::uint64_t>(-(value + 1)) + 1
                   : 2 * static_cast<std::uint64_t>(value);
}

void AppendNumber(std::string& out, std::uint64_t value) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  do {
    const std::uint64_t digit = value & 31U;
    value >>= 5U;
    out += kDigits[digit | (value != 0 ? 32U : 0U)];
  } while (value != 0);
}

std::string PackCycles(const EntryList& entries, LogTime origin, std::int64_t step) {
  // Those before the origin are carried in buckets (PackLevels).
  const auto first = std::lower_bound(entries.begin(), entries.end(), origin,
                                      [](const Entry& e, LogTime t) { return e.time < t; });
  std::string packed;
  packed.reserve(static_cast<std::size_t>(entries.end() - first) * 6);
  std::int64_t previous = origin;
  std::vector<int> times;
  for (auto it = first; it != entries.end(); ++it) {
    const Entry entry = *it;
    if (entry.off_clock) continue;  // placed nowhere, as in the chart
    Requests requests;
    times.clear();
    CountCycle(entry, requests, times);
    AppendNumber(packed, ZigZag(std::int64_t{entry.time} - previous - step));
    previous = entry.time;
    AppendNumber(packed, times.size() + 4 * static_cast<std::uint64_t>(requests.lost) +
                             16 * static_cast<std::uint64_t>(requests.not_sent));
    for (const int ms : times) AppendNumber(packed, static_cast<std::uint64_t>(std::max(ms, 0)));
  }
  return packed;
}

std::string PackHeatMapHours(const HeatMap& map) {
  std::string packed;
  LogTime previous = 0;
  for (const HeatRow& row : map.rows) {
    AppendNumber(packed, static_cast<std::uint64_t>((row.day - previous) / kSecondsPerDay));
    previous = row.day;
    AppendNumber(packed, static_cast<std::uint64_t>(row.empty_days));
    if (row.empty_days > 0) continue;
    for (const HourCell& cell : row.hours) {
      AppendNumber(packed, static_cast<std::uint64_t>(cell.requests.cycles));
      if (cell.requests.cycles == 0) continue;
      AppendNumber(packed, static_cast<std::uint64_t>(cell.requests.lost));
      AppendNumber(packed, static_cast<std::uint64_t>(cell.requests.not_sent));
      if (cell.replies) AppendNumber(packed, static_cast<std::uint64_t>(cell.median));
    }
  }
  return packed;
}

}  // namespace pinglog::report
