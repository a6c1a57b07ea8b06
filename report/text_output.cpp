#include <algorithm>
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

void WriteSummaryText(std::ostream& out, const HostSummary& s) {
  out << "Host " << s.host << " (" << FormatAddress(s.target) << ")\n";
  out << "  Period       " << ReadableTime(s.first) << " to " << ReadableTime(s.last) << " ("
      << Duration(s.last - s.first) << ")\n";
  out << "  Cycles       " << s.requests.cycles << " logged, " << s.expected
      << " expected (one every " << Duration(s.interval)
      << (s.interval_inferred ? ", inferred" : ", as given") << ")\n";
  std::int64_t missing = 0;
  for (const Gap& gap : s.gaps) missing += gap.missing;
  out << "  Missing      " << missing << " cycles in " << s.gaps.size() << " gaps\n";
  ListLongest(
      out, s.gaps, [](const Gap& gap) { return gap.before - gap.after; },
      [&](const Gap& gap) {
        out << "               " << ReadableTime(gap.after) << " to " << ReadableTime(gap.before)
            << " (" << Duration(gap.before - gap.after) << ", " << gap.missing << " missing)\n";
      });
  out << "  Requests     ";
  WriteRequests(out, s.requests);
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
