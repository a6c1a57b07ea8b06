// The entries of a set of logs: each line parsed, only its entry kept, with the
// set's own facts (files, hosts, lines not parsed, clock jumps, duplicates).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "report/logs/entry_store.h"
#include "report/logs/log_line.h"

namespace pinglog::report {

// The same measurement: host, time, target and items alike.
bool SameMeasurement(const Entry& a, const Entry& b);

// A step of the wall clock between two entries of one file: backwards, or forwards to
// times that the rest of the log shows to be wrong.
struct ClockJump {
  std::uint32_t host = 0;
  std::uint32_t file = 0;
  std::uint32_t line = 0;  // the entry after the step
  LogTime from = 0, to = 0;
};

struct UnparsedLine {
  std::uint32_t file = 0;  // index into LogSet::files
  std::uint64_t line = 0;  // 1-based
};

// Host texts by their index, found from a line's text without a copy of it.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};
using HostIndexes = std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>>;

// What all logs read so far hold.
struct LogSet {
  std::vector<std::string> files;
  std::vector<std::string> hosts;
  HostIndexes host_indexes;  // of `hosts`
  EntryStore entries;        // in file order; SortByHostAndTime() orders them
  std::uint64_t unparsed_count = 0;
  std::vector<UnparsedLine> unparsed;  // the first kUnparsedKept of them
  static constexpr std::size_t kUnparsedKept = 1000;
  std::vector<ClockJump> clock_jumps;
  // Entries dropped because an earlier file holds the same: (dropped from, kept in).
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::int64_t> duplicates;
};

// The index of a host's text in the set, added when it is new.
std::uint32_t FindOrAddHost(LogSet& logs, std::string_view host);

// The entry on a line, its host's text aside (the caller numbers hosts, files and
// lines); false when the line is no entry. A reader passes the memory it keeps.
bool ParseEntry(std::string_view line, Entry& entry, std::string_view& host,
                LineMemory* memory = nullptr);

// Parses lines into the entries of a set, numbering them: the one reader behind
// ReadLog and the follower. Lines that are no entry are counted and kept by number.
class EntryReader {
 public:
  EntryReader(LogSet& logs, std::uint32_t file) : logs_(logs), file_(file) {}
  void Take(std::string_view line);
  // The log was truncated or replaced: its lines count from 1 again, as those of a file
  // numbered `file`.
  void Restart(std::uint32_t file) {
    line_number_ = 0;
    file_ = file;
  }
  std::uint64_t entries() const { return entries_; }

 private:
  std::uint32_t HostIndex(std::string_view host);

  LogSet& logs_;
  std::uint32_t file_;
  std::uint64_t line_number_ = 0;
  std::uint64_t entries_ = 0;
  std::uint32_t last_host_ = UINT32_MAX;
  LineMemory memory_;
};

// Orders the entries of all files by host (in the order the hosts were first read),
// each host's by time; a host's entries of the same second keep their order.
void SortByHostAndTime(LogSet& logs);

}  // namespace pinglog::report
