// The same log given twice, or rotated logs that overlap, must not count twice.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "report/logs/log_set.h"

namespace pinglog::report {

// Drops the entries that another file already holds (after SortByHostAndTime), and counts
// them in `logs.duplicates`. Of measurements alike within one second, each file's
// count is compared and the largest kept: back-to-back cycles write several alike
// entries a second into one file, and those all stay.
void DropDuplicates(LogSet& logs);

// The same rule for entries that come one at a time (logs followed as they grow): an
// entry is kept unless another file already holds its measurement at least as often.
// A log read again from its start (emptied and restored, or swapped for another and
// back) is given a new file number by its reader, so that what it held before counts
// once. Remembers 16 bytes for every measurement it was shown: a key of what
// SameMeasurement compares, the file that holds it most often and how often, and the
// latest other file that holds it and how often.
class DuplicateFilter {
 public:
  bool Keep(const Entry& entry);
  std::int64_t dropped() const { return dropped_; }

 private:
  struct Seen {
    std::uint64_t key = 0;
    std::uint32_t file : 24;      // the file that holds it most often (low 24 bits)
    std::uint32_t in_file : 8;    // how often (at most 255: copies of one second)
    std::uint32_t other : 24;     // the latest other file that holds it
    std::uint32_t elsewhere : 8;  // how often that one does
  };
  static_assert(sizeof(Seen) == 16, "a measurement seen grew");
  Seen& Find(std::uint64_t key, std::uint32_t file, bool& added);

  // The keys seen, sorted; the latest ones in a small table until it is merged in.
  std::vector<Seen> sorted_;
  std::unordered_map<std::uint64_t, Seen> recent_;
  std::int64_t dropped_ = 0;
};

}  // namespace pinglog::report
