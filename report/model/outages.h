// Outages: consecutive cycles in which requests went out and none was answered. A
// host's logs are followed as streams: logs one after another (a log and the one it
// was rotated into) are one stream, logs written side by side (two loggers of the host)
// are one each, so that one logger's answered cycle never cuts the other's outage into
// pieces; each stream's outages are found in its own cycles and then taken together.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "report/logs/entry_list.h"
#include "report/model/cycle_counts.h"
#include "report/model/summary.h"

namespace pinglog::report {

class OutageFinder {
 public:
  // For a host's placed entries (in time order, as Take sees them): `period` from one
  // cycle's start to the next, `longest_step` the longest time between entries that
  // is no gap.
  OutageFinder(const EntryList& placed, std::int64_t period, double longest_step);

  // The next placed entry and what its cycle counted.
  void Take(const Entry& entry, const CycleCounts& counts);

  // The outages by their start, those of streams side by side that overlap taken as
  // one (from the first start to the last end, their unanswered cycles added).
  std::vector<Outage> Finish();

 private:
  // One stream's outage so far. An outage ends at the first answered cycle; before a
  // stretch without entries, or at the end, where the next cycle was due.
  struct Stream {
    Outage open;
    LogTime last_unanswered = 0;
    LogTime last_entry = 0;
    bool started = false;
  };
  struct Streams {
    std::map<std::uint32_t, std::size_t> of_file;
    std::size_t count = 1;
  };
  static Streams StreamsOfFiles(const EntryList& placed);
  void Close(Stream& stream, LogTime end, OutageEnd why);

  std::int64_t period_;
  double longest_step_;
  Streams stream_of_file_;
  std::vector<Stream> streams_;
  LogTime last_ = 0;  // the host's last placed entry
  std::vector<Outage> found_;
};

}  // namespace pinglog::report
