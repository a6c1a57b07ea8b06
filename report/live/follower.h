// Following logs as the loggers append to them: the same reader, fed what each log
// gained since it was last looked at.
#pragma once

#include <functional>
#include <string>

#include "platform/input_file.h"
#include "report/logs/line_splitter.h"
#include "report/logs/log_set.h"

namespace pinglog::report {

class LogFollower {
 public:
  // `file_numbers`: the next number free for a file of the set; the log takes one, and
  // a new one each time it is read from its start again.
  LogFollower(std::string path, LogSet& logs, std::uint32_t& file_numbers);

  // Reads what the log gained: whole lines only (a last line waits for its line end),
  // in blocks; its new entries are appended to the set, and `take` is called after
  // each block (to count them and let them go); it returns false to stop reading.
  // A log that does not exist yet gains nothing; one that shrank or whose beginning
  // changed was truncated or replaced, and is read from its start again, as another
  // file (what it held before counts once). Only
  // regular files are followed, as judged on the file opened (without waiting): a
  // directory, a named pipe, a socket or a device is skipped. Returns what to say
  // about the log, once per change: that it is skipped, cannot be read (with the
  // system's reason) or can be read again; else "".
  std::string Poll(const std::function<bool()>& take);

  // Forgets what was said about the log, so that a lasting problem is said again.
  void Remind() { said_ = State::kFollowed; }

 private:
  enum class State { kFollowed, kNotAFile, kUnreadable };
  std::string Say(State state, const std::string& what);
  bool Read(InputFile& in, std::uint64_t size, const std::function<bool()>& take);

  std::string path_;
  std::uint32_t& file_numbers_;
  EntryReader reader_;
  std::uint64_t offset_ = 0;
  std::string head_;    // the log's first bytes, to notice a replaced log
  LineSplitter lines_;  // holds a last line without its line end yet
  State said_ = State::kFollowed;
};

}  // namespace pinglog::report
