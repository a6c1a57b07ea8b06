// Following logs as the loggers append to them: the same reader, fed what each log
// gained since it was last looked at.
#pragma once

#include <string>

#include "report/logs/line_splitter.h"
#include "report/logs/log_set.h"

namespace pinglog::report {

class LogFollower {
 public:
  LogFollower(std::string path, LogSet& logs, std::uint16_t file);

  // Reads what the log gained: whole lines only (a last line waits for its line end);
  // its new entries are appended to the set. A log that does not exist yet gains
  // nothing; one that shrank or whose beginning changed was truncated or replaced,
  // and is read from its start again.
  void Poll();

 private:
  std::string path_;
  EntryReader reader_;
  std::uint64_t offset_ = 0;
  std::string head_;    // the log's first bytes, to notice a replaced log
  LineSplitter lines_;  // holds a last line without its line end yet
};

}  // namespace pinglog::report
