// Parsing a block of whole lines apart from the set it goes into, so that blocks can be
// parsed side by side and added to the set in the log's order afterwards.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "report/logs/log_set.h"

namespace pinglog::report {

// A block's entries as they will stand in the set, but for the numbers that depend on
// what came before: hosts counted within the block, lines from its start.
class ParsedBlock {
 public:
  // Parses `text`: whole lines, each ended by LF but for a last one at a log's end. A
  // line longer than kLongestLine is taken as empty, as the line splitter hands it on.
  void Parse(std::string_view text);

  // Adds the block to the set as the lines after the first `lines_before` of `file`.
  void AddTo(LogSet& logs, std::uint32_t file, std::uint64_t lines_before) const;

  std::uint64_t lines() const { return lines_; }
  std::uint64_t entries() const { return entries_.size(); }

 private:
  void Take(std::string_view line);
  std::uint32_t HostIndex(std::string_view host);

  std::vector<Entry> entries_;           // host: index into hosts_; line: within the block
  std::vector<std::string_view> hosts_;  // point into the text parsed
  std::unordered_map<std::string_view, std::uint32_t> host_indexes_;
  std::uint32_t last_host_ = 0;  // of the entry before
  std::uint64_t lines_ = 0;
  std::uint64_t unparsed_count_ = 0;
  std::vector<std::uint64_t> unparsed_;  // the first LogSet::kUnparsedKept, by line
  LineMemory memory_;
};

}  // namespace pinglog::report
