// The words and numbers every output shares: times, lengths, plurals.
#pragma once

#include <cstdint>
#include <string>

#include "report/logs/log_line.h"
#include "support/text.h"

namespace pinglog::report {

// "31.05.2013 08:05:09", local wall-clock time as the logger wrote it.
std::string ReadableTime(LogTime time);
// "2013-05-31T08:05:09", without a zone: the logger's times have none.
std::string IsoTime(LogTime time);
// "1 d 2 h 3 min 4 s", leaving out the parts that are 0.
std::string Duration(std::int64_t seconds);
// "1h25m", "25m", "40s", "0": a length for a narrow column.
std::string ShortDuration(std::int64_t seconds);
// "5 min 0.3 s": a period that need not be whole seconds.
std::string PeriodText(double seconds);
// "1 cycle", "2 cycles".
std::string Plural(std::int64_t count, const char* one, const char* many);
// What to do about requests with this error that never left the machine.
const char* NotSentFix(std::uint32_t error);

}  // namespace pinglog::report
