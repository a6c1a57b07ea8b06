#include "report/logs/load_logs.h"

#include "report/logs/clock_jumps.h"
#include "report/logs/duplicates.h"
#include "report/logs/log_patterns.h"
#include "report/logs/read_log.h"

namespace pinglog::report {

LogSet LoadLogs(const LoadRequest& request,
                const std::function<void(const std::string&)>& problem) {
  LogSet logs;
  std::vector<std::string> files;
  for (const std::string& name : request.files) {
    if (name.find_first_of("*?") == std::string::npos) {
      files.push_back(name);
      continue;
    }
    const std::vector<std::string> matches = ExpandLogPattern(name);
    if (matches.empty()) problem(name + ": no file matches");
    files.insert(files.end(), matches.begin(), matches.end());
  }
  for (const std::string& file : files) {
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
