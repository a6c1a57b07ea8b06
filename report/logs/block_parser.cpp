#include "report/logs/block_parser.h"

#include "report/logs/find_byte.h"
#include "report/logs/line_splitter.h"

namespace pinglog::report {

void ParsedBlock::Parse(std::string_view text) {
  entries_.clear();
  hosts_.clear();
  host_indexes_.clear();
  lines_ = 0;
  unparsed_count_ = 0;
  unparsed_.clear();
  while (!text.empty()) {
    const std::size_t end = FindByte(text, '\n');
    const std::string_view line = text.substr(0, end);
    Take(line.size() > kLongestLine ? std::string_view() : line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void ParsedBlock::Take(std::string_view line) {
  ++lines_;
  Entry entry;
  std::string_view host;
  if (!ParseEntry(line, entry, host, &memory_)) {
    if (unparsed_.size() < LogSet::kUnparsedKept) unparsed_.push_back(lines_);
    ++unparsed_count_;
    return;
  }
  entry.host = HostIndex(host);
  entry.line = static_cast<std::uint32_t>(lines_);
  entries_.push_back(entry);
}

std::uint32_t ParsedBlock::HostIndex(std::string_view host) {
  if (last_host_ < hosts_.size() && hosts_[last_host_] == host) return last_host_;
  const auto [found, added] =
      host_indexes_.emplace(host, static_cast<std::uint32_t>(hosts_.size()));
  if (added) hosts_.push_back(host);
  last_host_ = found->second;
  return last_host_;
}

void ParsedBlock::AddTo(LogSet& logs, std::uint32_t file, std::uint64_t lines_before) const {
  std::vector<std::uint32_t> hosts(hosts_.size());
  for (std::size_t i = 0; i < hosts_.size(); ++i) hosts[i] = FindOrAddHost(logs, hosts_[i]);
  const auto line_base = static_cast<std::uint32_t>(lines_before);
  for (Entry entry : entries_) {
    entry.host = hosts[entry.host];
    entry.file = file;
    entry.line += line_base;
    logs.entries.push_back(entry);
  }
  logs.unparsed_count += unparsed_count_;
  for (const std::uint64_t line : unparsed_) {
    if (logs.unparsed.size() >= LogSet::kUnparsedKept) break;
    logs.unparsed.push_back({file, lines_before + line});
  }
}

}  // namespace pinglog::report
