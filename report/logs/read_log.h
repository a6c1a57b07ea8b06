// Reading a whole log into a set of logs, in blocks, so that memory grows with the
// number of cycles, not with the size of the file.
#pragma once

#include <cstdint>
#include <string>

#include "report/logs/log_set.h"

namespace pinglog::report {

enum class ReadStatus { kRead, kUnreadable, kEmpty, kNoEntry };

// Reads one log into the set ("-": standard input). On any status but kRead,
// `problem` says what is wrong (a file with no entry at all adds none).
// `bytes_after`: the size of the logs still to be read after this one, so that the
// room for all their entries is taken at once (a hint).
ReadStatus ReadLog(const std::string& path, LogSet& logs, std::string& problem,
                   std::uint64_t bytes_after = 0);

}  // namespace pinglog::report
