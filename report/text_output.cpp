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
  out << "  Period       " << ReadableTime(s.first) << " to " << ReadableTime(s.last) << " ("
      << Duration(s.last - s.first) << ")\n";
  WriteCycles(out, s);
  WriteClockJumps(out, s, files);
  out << "  Requests     ";
  WriteRequests(out, s.requests);
  if (s.requests.not_sent > 0) {
    out << "\n  Not sent     " << s.requests.not_sent
        << " requests never left the machine (not counted as sent or lost)";
    for (const auto& [error, count] : s.not_sent) {
      out << "\n    " << std::setw(6) << error << ' ' << ErrorName(error) << ": " << count << " ("
          << NotSentFix(error) << ')';
    }
  }
  out << "\n  Outages      " << s.outages.size() << " (cycles without any reply)\n";
  ListLongest(
      out, s.outages, [](const Outage& outage) { return outage.cycles; },
      [&](const Outage& outage) {
        out << "               " << ReadableTime(outage.start) << " to " << ReadableTime(outage.end)
            << " (" << outage.cycles << " cycles, " << Duration(outage.end - outage.start) << ")\n";
      });
  const RoundTrip& rt = s.round_trip;
  out << "  Round trip   ";
  if (rt.replies == 0) {
    out << "no replies\n";
  } else {
    out << "min " << rt.minimum << " ms, median " << rt.median << " ms, 95% " << rt.p95
        << " ms, 99% " << rt.p99 << " ms, max " << rt.maximum << " ms, mean "
        << FormatFixed(rt.mean, 2) << " ms, jitter " << FormatFixed(rt.jitter, 2) << " ms\n";
  }
  out << "  Failures     " << (s.failures.empty() ? "none\n" : "\n");
  for (const auto& [error, count] : s.failures) {
    const std::string name = ErrorName(error);
    out << "    " << std::setw(6) << error << (name.empty() ? "" : " " + name) << ": " << count
        << '\n';
  }
  out << "  From routers " << (s.routers.empty() ? "none\n" : "\n");
  for (const auto& [router, count] : s.routers) {
    out << "    " << FormatAddress(router) << ": " << count << " replies\n";
  }
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
