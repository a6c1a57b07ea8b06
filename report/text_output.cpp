#include <algorithm>
#include <cmath>
#include <iomanip>

#include "report/output.h"

namespace pinglog::report {
namespace {

constexpr std::size_t kListedAtMost = 20;

// The longest `kListedAtMost` of the spans, in time order; the rest are counted.
template <typename Span, typename Length, typename Line>
void ListLongest(std::ostream& out, const std::vector<Span>& spans, Length length, Line line) {
  std::vector<const Span*> listed;
  listed.reserve(spans.size());
  for (const Span& span : spans) listed.push_back(&span);
  if (listed.size() > kListedAtMost) {
    std::stable_sort(listed.begin(), listed.end(),
                     [&](const Span* a, const Span* b) { return length(*a) > length(*b); });
    listed.resize(kListedAtMost);
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Span* a, const Span* b) { return a < b; });
  }
  for (const Span* span : listed) line(*span);
  if (spans.size() > listed.size()) {
    out << "               ... and " << spans.size() - listed.size()
        << " shorter ones (--json lists them all)\n";
  }
}

// "5 min 0.3 s": a period that need not be whole seconds.
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

// What to do about requests that never left the machine.
const char* NotSentFix(std::uint32_t error) {
  return error == 5 ? "give the logger ICMP permission: pinglog-check says how"
                    : "the host text is no address: write the address, or a name that does not "
                      "begin with a digit";
}

void WriteCycles(std::ostream& out, const HostSummary& s) {
  const char* how = s.interval_inferred ? "inferred" : "as given";
  out << "  Cycles       " << s.requests.cycles - s.off_clock << " logged, ";
  if (s.back_to_back) {
    out << "back to back (about " << FormatFixed(s.cycles_per_minute, 0)
        << " cycles a minute; interval 0, " << how << ")\n";
  } else {
    out << s.expected << " expected (one every " << PeriodText(s.period_seconds) << ": interval "
        << Duration(s.interval_minutes * 60) << ", " << how << ", + "
        << FormatFixed(s.cycle_seconds, 1) << " s per cycle)\n";
  }
  std::int64_t missing = 0;
  for (const Gap& gap : s.gaps) missing += std::max<std::int64_t>(gap.missing, 0);
  if (s.back_to_back) {
    out << "  Missing      " << Plural(static_cast<std::int64_t>(s.gaps.size()), "gap", "gaps")
        << " (no entry for longer than a cycle can take)\n";
  } else {
    out << "  Missing      " << Plural(missing, "cycle", "cycles") << " in "
        << Plural(static_cast<std::int64_t>(s.gaps.size()), "gap", "gaps") << "\n";
  }
  ListLongest(
      out, s.gaps, [](const Gap& gap) { return gap.before - gap.after; },
      [&](const Gap& gap) {
        out << "               " << ReadableTime(gap.after) << " to " << ReadableTime(gap.before)
            << " (" << Duration(gap.before - gap.after);
        if (gap.missing >= 0) out << ", " << gap.missing << " missing";
        out << ")\n";
      });
}

void WriteClockJumps(std::ostream& out, const HostSummary& s,
                     const std::vector<std::string>& files) {
  if (s.clock_jumps.empty()) return;
  out << "  Clock jumps  " << s.clock_jumps.size() << " (the wall clock stepped; not missing)\n";
  ListLongest(
      out, s.clock_jumps,
      [](const ClockJump& jump) { return std::llabs(std::int64_t{jump.to} - jump.from); },
      [&](const ClockJump& jump) {
        out << "               " << files[jump.file] << ':' << jump.line << ": "
            << ReadableTime(jump.from) << (jump.to < jump.from ? " back to " : " on to ")
            << ReadableTime(jump.to) << "\n";
      });
  if (s.off_clock > 0) {
    out << "               " << Plural(s.off_clock, "entry", "entries")
        << " stamped by a wrong clock: counted, not placed in time\n";
  }
}

// A heading with its lines: the first beside it, the others below; "none" for none.
void WriteListed(std::ostream& out, const char* heading, const std::vector<std::string>& lines) {
  out << "  " << std::left << std::setw(13) << heading << std::right;
  if (lines.empty()) out << "none\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out << (i == 0 ? "" : "               ") << lines[i] << '\n';
  }
}

// Outages, the longest first: those of one cycle are only counted. An outage lasts
// from its first cycle's start to the next cycle's: its cycles times the period.
void WriteOutages(std::ostream& out, const HostSummary& s) {
  std::vector<const Outage*> long_ones;
  for (const Outage& outage : s.outages) {
    if (outage.cycles > 1) long_ones.push_back(&outage);
  }
  std::stable_sort(long_ones.begin(), long_ones.end(),
                   [](const Outage* a, const Outage* b) { return a->cycles > b->cycles; });
  const auto single = static_cast<std::int64_t>(s.outages.size() - long_ones.size());
  out << "  Outages      " << s.outages.size() << " (cycles in which no request was answered)";
  if (single > 0) {
    out << ": " << single << (single == 1 ? " of one cycle" : " of one cycle each");
  }
  out << '\n';
  const auto period = std::max<std::int64_t>(1, std::llround(s.period_seconds));
  for (std::size_t i = 0; i < long_ones.size() && i < kListedAtMost; ++i) {
    const Outage& o = *long_ones[i];
    out << "               " << ReadableTime(o.start) << " to " << ReadableTime(o.end) << " ("
        << Plural(o.cycles, "cycle", "cycles") << ", " << Duration(o.end - o.start + period)
        << ")\n";
  }
  if (long_ones.size() > kListedAtMost) {
    out << "               ... and " << long_ones.size() - kListedAtMost
        << " shorter ones (--json lists them all)\n";
  }
}

void WriteRequests(std::ostream& out, const Requests& r) {
  out << r.sent << " sent, " << r.received << " received, " << r.lost << " lost ("
      << FormatFixed(r.LossPercent(), 2) << "% loss)";
}

}  // namespace

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
  // The last cycle lasts its period too: 20 cycles a minute apart cover 20 minutes.
  out << "  Period       " << ReadableTime(s.first) << " to " << ReadableTime(s.last) << " ("
      << Duration(s.last - s.first + std::llround(s.period_seconds)) << ")\n";
  WriteCycles(out, s);
  WriteClockJumps(out, s, files);
  out << "  Requests     ";
  WriteRequests(out, s.requests);
  out << '\n';
  if (s.requests.not_sent > 0) {
    std::vector<std::string> lines = {Plural(s.requests.not_sent, "request", "requests") +
                                      " never left the machine (not counted as sent or lost):"};
    for (const auto& [error, count] : s.not_sent) {
      lines.push_back("  " + std::to_string(count) + " with error " + std::to_string(error) + " (" +
                      ErrorName(error) + "): " + NotSentFix(error));
    }
    WriteListed(out, "Not sent", lines);
  }
  WriteOutages(out, s);
  const RoundTrip& rt = s.round_trip;
  out << "  Round trip   ";
  if (rt.replies == 0) {
    out << "no replies\n";
  } else {
    out << "min " << rt.minimum << " ms, median " << rt.median << " ms, 95% " << rt.p95
        << " ms, 99% " << rt.p99 << " ms, max " << rt.maximum << " ms, mean "
        << FormatFixed(rt.mean, 2) << " ms, jitter " << FormatFixed(rt.jitter, 2) << " ms\n";
  }
  std::vector<std::string> failures, routers;
  for (const auto& [error, count] : s.failures) {
    const std::string name = ErrorName(error);
    failures.push_back(std::to_string(error) + (name.empty() ? "" : " " + name) + ": " +
                       std::to_string(count));
  }
  for (const auto& [router, count] : s.routers) {
    routers.push_back(FormatAddress(router) + ": " + Plural(count, "reply", "replies"));
  }
  WriteListed(out, "Failures", failures);
  WriteListed(out, "From routers", routers);
  out << "\n  " << (s.by_hour ? "Hour            " : "Day         ")
      << "  cycles    sent    recv    lost   loss%   min  median   max  outages\n";
  for (const PeriodRow& row : s.periods) {
    const std::string label = s.by_hour ? FormatTime("%dd.%mm.%yyyy %hh:00", row.start)
                                        : FormatTime("%dd.%mm.%yyyy", row.start);
    out << "  " << std::left << std::setw(s.by_hour ? 16 : 12) << label << std::right
        << std::setw(8) << row.requests.cycles << std::setw(8) << row.requests.sent << std::setw(8)
        << row.requests.received << std::setw(8) << row.requests.lost << std::setw(8)
        << FormatFixed(row.requests.LossPercent(), 2);
    if (row.round_trip.replies == 0) {
      out << std::setw(6) << '-' << std::setw(8) << '-' << std::setw(6) << '-';
    } else {
      out << std::setw(6) << row.round_trip.minimum << std::setw(8) << row.round_trip.median
          << std::setw(6) << row.round_trip.maximum;
    }
    out << std::setw(9) << row.outages << '\n';
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
