#include <cmath>
#include <iomanip>

#include "report/output.h"
#include "report/summary_facts.h"

namespace pinglog::report {

std::string PeriodText(double seconds) {
  if (seconds < 60) return FormatFixed(seconds, 1) + " s";
  if (seconds >= 3600) return Duration(std::llround(seconds));
  const auto minutes = static_cast<std::int64_t>(seconds / 60);
  return std::to_string(minutes) + " min " +
         FormatFixed(seconds - static_cast<double>(minutes) * 60, 1) + " s";
}

std::string Plural(std::int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

const char* NotSentFix(std::uint32_t error) {
  return error == 5 ? "give the logger ICMP permission: pinglog-check says how"
                    : "the host text is no address: write the address, or a name that does not "
                      "begin with a digit";
}

std::string ReadableTime(CalendarTime time) {
  return FormatTime("%dd.%mm.%yyyy %hh:%ii:%ss", time);
}

std::string IsoTime(CalendarTime time) { return FormatTime("%yyyy-%mm-%ddT%hh:%ii:%ss", time); }

std::string Duration(std::int64_t seconds) {
  std::string text;
  const struct {
    std::int64_t length;
    const char* unit;
  } parts[] = {{86400, "d"}, {3600, "h"}, {60, "min"}, {1, "s"}};
  for (const auto& part : parts) {
    if (seconds >= part.length) {
      if (!text.empty()) text += ' ';
      text += std::to_string(seconds / part.length) + ' ' + part.unit;
      seconds %= part.length;
    }
  }
  return text.empty() ? "0 s" : text;
}

void WriteSummaryText(std::ostream& out, const HostSummary& s,
                      const std::vector<std::string>& files) {
  out << "Host " << s.host << " (" << FormatAddress(s.target) << ")\n";
  // A heading with its lines: the first beside it, the others below; "none" for none.
  for (const Fact& fact : SummaryFacts(s, files)) {
    out << "  " << std::left << std::setw(13) << fact.heading << std::right;
    if (fact.lines.empty()) out << "none\n";
    for (std::size_t i = 0; i < fact.lines.size(); ++i) {
      out << (i == 0 ? "" : "               ") << fact.lines[i] << '\n';
    }
  }
  static constexpr int kWidths[] = {8, 8, 8, 8, 8, 6, 8, 6, 9};
  out << '\n';
  for (const std::vector<std::string>& row : PeriodTable(s)) {
    out << "  " << std::left << std::setw(s.by_hour ? 16 : 12) << row[0] << std::right;
    for (std::size_t i = 1; i < row.size(); ++i) out << std::setw(kWidths[i - 1]) << row[i];
    out << '\n';
  }
}

void WriteUnparsedText(std::ostream& out, const LogSet& logs) {
  if (logs.unparsed_count == 0) return;
  out << "Lines that are not log entries (not counted): " << logs.unparsed_count << '\n';
  for (const UnparsedLine& line : logs.unparsed) {
    out << "  " << logs.files[line.file] << ':' << line.line << '\n';
  }
  if (logs.unparsed_count > logs.unparsed.size()) {
    out << "  ... and " << logs.unparsed_count - logs.unparsed.size() << " more\n";
  }
}

}  // namespace pinglog::report
