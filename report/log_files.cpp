#include "report/log_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace pinglog::report {
namespace {

struct FileCloser {
  // Read only: nothing is lost when closing fails. Standard input stays open.
  void operator()(std::FILE* file) const {
    if (file != stdin) (void)std::fclose(file);
  }
};

}  // namespace

void EntryReader::Take(std::string_view line) {
  ++line_number_;
  const std::optional<LogLine> parsed = ParseLogLine(line);
  if (!parsed) {
    ++logs_.unparsed_count;
    if (logs_.unparsed.size() < LogSet::kUnparsedKept) {
      logs_.unparsed.push_back({file_, line_number_});
    }
    return;
  }
  Entry entry;
  entry.time = parsed->time;
  entry.host = HostIndex(parsed->host);
  entry.file = file_;
  entry.line = static_cast<std::uint32_t>(line_number_);
  entry.target = parsed->target;
  entry.attempts = parsed->attempts;
  logs_.entries.push_back(entry);
  ++entries_;
}

std::uint16_t EntryReader::HostIndex(std::string_view host) {
  if (last_host_ < logs_.hosts.size() && logs_.hosts[last_host_] == host) return last_host_;
  const auto found = std::find(logs_.hosts.begin(), logs_.hosts.end(), host);
  last_host_ = static_cast<std::uint16_t>(found - logs_.hosts.begin());
  if (found == logs_.hosts.end()) logs_.hosts.emplace_back(host);
  return last_host_;
}

ReadStatus ReadLog(const std::string& path, LogSet& logs, std::string& problem) {
  const std::unique_ptr<std::FILE, FileCloser> file(path == "-" ? stdin
                                                                : std::fopen(path.c_str(), "rb"));
  if (!file) {
    problem = std::generic_category().message(errno);
    return ReadStatus::kUnreadable;
  }
  const auto index = static_cast<std::uint16_t>(logs.files.size());
  logs.files.push_back(path);
  const std::size_t entries_before = logs.entries.size();
  EntryReader sink(logs, index);

  // Lines are cut out of 1 MiB blocks; a line that runs past a block is carried over.
  std::vector<char> block(1 << 20);
  std::string carried;
  std::uint64_t bytes = 0;
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    if (got == 0) break;
    bytes += got;
    std::string_view rest(block.data(), got);
    for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
      if (carried.empty()) {
        sink.Take(rest.substr(0, end));
      } else {
        carried.append(rest.substr(0, end));
        sink.Take(carried);
        carried.clear();
      }
      rest.remove_prefix(end + 1);
    }
    carried.append(rest);
  }
  if (std::ferror(file.get())) {
    problem = std::generic_category().message(errno);
    logs.entries.resize(entries_before);
    return ReadStatus::kUnreadable;
  }
  if (!carried.empty()) sink.Take(carried);
  if (bytes == 0) {
    problem = "the log is empty";
    return ReadStatus::kEmpty;
  }
  if (sink.entries() == 0) {
    problem = "no line is a log entry";
    return ReadStatus::kNoEntry;
  }
  return ReadStatus::kRead;
}

bool SameMeasurement(const Entry& a, const Entry& b) {
  if (a.time != b.time || a.host != b.host || a.target != b.target) return false;
  for (std::size_t i = 0; i < a.attempts.size(); ++i) {
    const Attempt& x = a.attempts[i];
    const Attempt& y = b.attempts[i];
    if (x.outcome != y.outcome || x.ttl != y.ttl || x.bytes != y.bytes || x.time_ms != y.time_ms ||
        x.source != y.source || x.error != y.error) {
      return false;
    }
  }
  return true;
}

void SortByTime(LogSet& logs) {
  std::stable_sort(logs.entries.begin(), logs.entries.end(),
                   [](const Entry& a, const Entry& b) { return a.time < b.time; });
}

}  // namespace pinglog::report
