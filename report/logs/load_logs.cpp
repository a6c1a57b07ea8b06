#include "report/logs/load_logs.h"

#include "platform/input_file.h"
#include "report/logs/clock_jumps.h"
#include "report/logs/duplicates.h"
#include "report/logs/read_log.h"

namespace pinglog::report {

LogSet LoadLogs(const LoadRequest& request,
                const std::function<void(const std::string&)>& problem) {
  LogSet logs;
  // The sizes of the files still to come, for the room their entries take.
  std::vector<std::uint64_t> sizes;
  std::uint64_t bytes_after = 0;
  for (const std::string& file : request.files) {
    sizes.push_back(file != "-" && KindOfPath(file) == FileKind::kRegular ? InputFile(file).Size()
                                                                          : 0);
    bytes_after += sizes.back();
  }
  for (std::size_t i = 0; i < request.files.size(); ++i) {
    const std::string& file = request.files[i];
    bytes_after -= sizes[i];
    std::string why;
    if (ReadLog(file, logs, why, bytes_after) == ReadStatus::kRead) continue;
    std::string message = file;
    message += ": ";
    message += why;
    problem(message);
  }
  if (logs.entries.empty()) return logs;
  FindClockJumps(logs);
  if ((request.from || request.to) && KeepPeriod(logs, request.from, request.to) == 0) {
    problem("no entry lies in the period asked for");
    return logs;
  }
  SortByHostAndTime(logs);
  DropDuplicates(logs);
  return logs;
}

}  // namespace pinglog::report
