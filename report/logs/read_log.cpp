#include "report/logs/read_log.h"

#include <algorithm>
#include <new>
#include <thread>

#include "platform/input_file.h"
#include "report/logs/block_pipeline.h"
#include "report/logs/whole_lines.h"

namespace pinglog::report {
namespace {

constexpr std::size_t kBlockBytes = 1 << 20;
// No entry is shorter (a timestamp, three failures and the statistics take more).
constexpr std::uint64_t kShortestEntryBytes = 200;
// Room reserved at once at most: a size hint is only a hint (a sparse file).
constexpr std::uint64_t kMostReservedEntries = (std::uint64_t{1} << 30) / EntryStore::kEntryBytes;

// Room for the entries of this log and of those after it, as densely as this one's
// first block held them: a year's logs then take one allocation instead of a move per
// log (each move holds the old room and the new at once). Room the machine cannot
// give is not taken: the entries then grow as they come.
void ReserveEntries(std::uint64_t bytes, std::uint64_t first_block, std::uint64_t entries,
                    LogSet& logs) {
  if (bytes <= first_block || entries == 0) return;
  // A block ends within a line: the lines it holds whole, and a sixty-fourth more.
  const std::uint64_t dense = bytes / first_block * entries + entries;
  const std::uint64_t expected =
      std::min({dense + dense / 64, bytes / kShortestEntryBytes, kMostReservedEntries});
  if (logs.entries.size() + expected <= logs.entries.capacity()) return;
  try {
    logs.entries.reserve(logs.entries.size() + static_cast<std::size_t>(expected));
  } catch (const std::bad_alloc&) {
  }
}

// Threads that parse while the log is read: one a core, up to four (beyond, reading
// is what takes the time); none on a machine of one core.
unsigned ParsingThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 1 ? std::min(cores, 4u) : 0;
}

// Why a file without entries has none, when its line ends say so.
std::string NoEntryProblem(bool line_feed, bool carriage_return) {
  if (line_feed || !carriage_return) return "no line is a log entry";
  return "no line is a log entry: its lines end in CR alone (an old Mac's line ends), where "
         "the logger writes CR LF; convert them, for example with tr '\\r' '\\n'";
}

}  // namespace

ReadStatus ReadLog(const std::string& path, LogSet& logs, std::string& problem,
                   std::uint64_t bytes_after) {
  InputFile file(path);
  const FileKind kind = file.kind();
  if (!file.IsOpen() && kind != FileKind::kSocket) {  // a socket refuses to open: named
    problem = file.problem();
    return ReadStatus::kUnreadable;
  }
  // Standard input is read whatever it is; a named file only when it is a file or a
  // pipe: a directory, a device (/dev/zero) or a socket is no log.
  if (path != "-" && kind != FileKind::kRegular && kind != FileKind::kPipe) {
    problem = std::string(FileKindName(kind)) + ", not a log: skipped";
    return ReadStatus::kUnreadable;
  }
  const auto index = static_cast<std::uint32_t>(logs.files.size());
  logs.files.push_back(path);
  const std::size_t entries_before = logs.entries.size();
  WholeLines lines;
  BlockPipeline blocks(logs, index, WholeLines::BufferBytes(kBlockBytes), ParsingThreads());
  std::uint64_t bytes = 0;
  bool line_feed = false, carriage_return = false;
  for (;;) {
    char* buffer = blocks.NextBuffer();
    const std::size_t begin = lines.Begin(buffer);
    const std::int64_t got = file.Read(buffer + begin, kBlockBytes);
    if (got <= 0) {
      if (got == 0) {
        blocks.Submit(lines.Finish(buffer, begin));
        break;
      }
      problem = file.problem();
      blocks.Finish();
      logs.entries.Truncate(entries_before);
      return ReadStatus::kUnreadable;
    }
    const std::string_view read(buffer + begin, static_cast<std::size_t>(got));
    if (!line_feed) {
      line_feed = read.find('\n') != std::string_view::npos;
      carriage_return = carriage_return || read.find('\r') != std::string_view::npos;
    }
    blocks.Submit(lines.Cut(buffer, begin, read.size()));
    if (bytes == 0) ReserveEntries(file.Size() + bytes_after, read.size(), blocks.entries(), logs);
    bytes += read.size();
  }
  blocks.Finish();
  if (bytes == 0) {
    problem = "the log is empty";
    return ReadStatus::kEmpty;
  }
  if (blocks.entries() == 0) {
    problem = NoEntryProblem(line_feed, carriage_return);
    return ReadStatus::kNoEntry;
  }
  return ReadStatus::kRead;
}

}  // namespace pinglog::report
