#include "report/logs/load_logs.h"

#include "report/logs/clock_jumps.h"
#include "report/logs/duplicates.h"
#include "report/logs/read_log.h"

namespace pinglog::report {

LogSet LoadLogs(const LoadRequest& request,
                const std::function<void(const std::string&)>& problem) {
  LogSet logs;
  for (const std::string& file : request.files) {
    std::string why;
    if (ReadLog(file, logs, why) == ReadStatus::kRead) continue;
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
  SortByTime(logs);
  DropDuplicates(logs);
  return logs;
}

}  // namespace pinglog::report
