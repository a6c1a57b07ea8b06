#include "report/write/words.h"

#include <cmath>

#include "support/domain.h"

namespace pinglog::report {

std::string PeriodText(double seconds) {
  seconds = std::round(seconds * 10) / 10;  // as shown: 59.96 s is 1 min 0.0 s
  if (seconds < 60) return FormatFixed(seconds, 1) + " s";
  if (seconds >= kSecondsPerHour) return Duration(std::llround(seconds));
  const auto minutes = static_cast<std::int64_t>(seconds / 60);
  return std::to_string(minutes) + " min " +
         FormatFixed(seconds - static_cast<double>(minutes) * 60, 1) + " s";
}

std::string ShortDuration(std::int64_t seconds) {
  if (seconds <= 0) return "0";
  if (seconds < 60) return std::to_string(seconds) + "s";
  const std::int64_t minutes = (seconds + 30) / 60;
  if (minutes < 60) return std::to_string(minutes) + "m";
  return std::to_string(minutes / 60) + "h" +
         (minutes % 60 == 0 ? "" : std::to_string(minutes % 60) + "m");
}

std::string Plural(std::int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

const char* NotSentFix(std::uint32_t error) {
  return error == 5 ? "give the logger ICMP permission: pinglog-check says how"
                    : "the host text is no address: write the address, or a name that does not "
                      "begin with a digit";
}

std::string ReadableTime(LogTime time) { return FormatTime(kReadableTimeMask, time); }

std::string IsoTime(LogTime time) { return FormatTime("%yyyy-%mm-%ddT%hh:%ii:%ss", time); }

std::string Duration(std::int64_t seconds) {
  std::string text;
  for (const DurationUnit& part : kDurationUnits) {
    if (seconds >= part.length) {
      if (!text.empty()) text += ' ';
      text += std::to_string(seconds / part.length) + ' ' + part.unit;
      seconds %= part.length;
    }
  }
  return text.empty() ? "0 s" : text;
}

std::string MoreText(std::size_t all, std::size_t listed) {
  if (all <= listed) return "";
  return "... and " +
         Plural(static_cast<std::int64_t>(all - listed), "shorter one", "shorter ones") +
         " (--json lists them all)";
}

std::string Html(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace pinglog::report
