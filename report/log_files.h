// Reading whole logs, streaming: each line is parsed and only its entry is kept, so
// memory grows with the number of cycles, not with the size of the files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/log_line.h"

namespace pinglog::report {

struct Entry {
  CalendarTime time = 0;
  std::uint16_t host = 0;  // index into LogSet::hosts
  Address target{};
  std::array<Attempt, 3> attempts;
};

struct UnparsedLine {
  std::uint16_t file = 0;  // index into LogSet::files
  std::uint64_t line = 0;  // 1-based
};

// What all logs read so far hold.
struct LogSet {
  std::vector<std::string> files;
  std::vector<std::string> hosts;
  std::vector<Entry> entries;  // in file order; SortByTime() merges them
  std::uint64_t unparsed_count = 0;
  std::vector<UnparsedLine> unparsed;  // the first kUnparsedKept of them
  static constexpr std::size_t kUnparsedKept = 1000;
};

enum class ReadStatus { kRead, kUnreadable, kEmpty, kNoEntry };

// Reads one log into the set. On any status but kRead, `problem` says what is wrong
// (entries of a file with no entry at all are none, so nothing is added then).
ReadStatus ReadLog(const std::string& path, LogSet& logs, std::string& problem);

// Merges the entries of all files by time; entries of the same second keep their order.
void SortByTime(LogSet& logs);

}  // namespace pinglog::report
