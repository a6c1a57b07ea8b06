#include "report/logs/read_log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "report/logs/line_splitter.h"

namespace pinglog::report {
namespace {

struct FileCloser {
  // Read only: nothing is lost when closing fails. Standard input stays open.
  void operator()(std::FILE* file) const {
    if (file != stdin) (void)std::fclose(file);
  }
};

constexpr std::size_t kBlockBytes = 1 << 20;

// Room for the entries a log of this size holds, its lines as long as in its first
// block: a year's log then takes one allocation instead of twenty moves.
void ReserveEntries(const std::string& path, std::string_view first_block, LogSet& logs) {
  std::error_code unknown;
  const std::uintmax_t size = path == "-" ? 0 : std::filesystem::file_size(path, unknown);
  const auto lines =
      static_cast<std::size_t>(std::count(first_block.begin(), first_block.end(), '\n'));
  if (unknown || size <= first_block.size() || lines == 0) return;
  const std::size_t expected = static_cast<std::size_t>(size / (first_block.size() / lines)) + 16;
  logs.entries.reserve(logs.entries.size() + expected + expected / 32);
}

}  // namespace

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
  LineSplitter lines;
  const auto take = [&](std::string_view line) { sink.Take(line); };

  std::vector<char> block(kBlockBytes);
  std::uint64_t bytes = 0;
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    if (got == 0) break;
    if (bytes == 0) ReserveEntries(path, std::string_view(block.data(), got), logs);
    bytes += got;
    lines.Feed(std::string_view(block.data(), got), take);
  }
  if (std::ferror(file.get())) {
    problem = std::generic_category().message(errno);
    logs.entries.resize(entries_before);
    return ReadStatus::kUnreadable;
  }
  if (!lines.pending().empty()) sink.Take(lines.pending());
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

}  // namespace pinglog::report
