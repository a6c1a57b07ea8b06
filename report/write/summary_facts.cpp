#include "report/write/summary_facts.h"

#include <algorithm>
#include <cmath>

#include "report/write/episode_words.h"
#include "report/write/incident_words.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

constexpr std::size_t kListedAtMost = 20;
constexpr std::size_t kRouterSpansListed = 5;
constexpr const char* kIndent = "  ";

// The longest `most` of the spans, in time order; the rest are counted.
template <typename Span, typename Length, typename Line>
void ListLongest(std::vector<std::string>& lines, const std::vector<Span>& spans, Length length,
                 Line line, std::size_t most = kListedAtMost, const char* indent = "") {
  std::vector<const Span*> listed;
  listed.reserve(spans.size());
  for (const Span& span : spans) listed.push_back(&span);
  if (listed.size() > most) {
    std::stable_sort(listed.begin(), listed.end(),
                     [&](const Span* a, const Span* b) { return length(*a) > length(*b); });
    listed.resize(most);
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Span* a, const Span* b) { return a < b; });
  }
  for (const Span* span : listed) lines.push_back(line(*span));
  if (spans.size() > listed.size()) lines.push_back(indent + MoreText(spans.size(), listed.size()));
}

std::string FromTo(LogTime from, LogTime to) {
  return ReadableTime(from) + " to " + ReadableTime(to);
}

void AddCycles(std::vector<Fact>& facts, const HostSummary& s) {
  const std::string how = s.interval_inferred ? "inferred" : "as given";
  std::string cycles = std::to_string(s.requests.cycles - s.off_clock) + " logged, ";
  if (s.back_to_back) {
    cycles += "back to back (about " + FormatFixed(s.cycles_per_minute, 0) +
              " cycles a minute; interval 0, " + how + ")";
  } else {
    cycles += std::to_string(s.expected) + " expected (one every " + PeriodText(s.period_seconds) +
              ": interval " + Duration(s.interval_minutes * 60) + ", " + how + ", + " +
              FormatFixed(s.cycle_seconds, 1) + " s per cycle)";
  }
  facts.push_back({"Cycles", {cycles}});
  const std::string gaps = Plural(static_cast<std::int64_t>(s.gaps.size()), "gap", "gaps");
  Fact fact{"Missing",
            {s.back_to_back ? gaps + " (no entry for longer than a cycle can take)"
                            : Plural(s.missing, "cycle", "cycles") + " in " + gaps}};
  ListLongest(
      fact.lines, s.gaps, [](const Gap& gap) { return gap.Seconds(); },
      [&s](const Gap& gap) {
        return FromTo(gap.start, gap.before) + " (" + Duration(gap.Seconds()) +
               (gap.missing >= 0 ? ", " + std::to_string(gap.missing) + " missing" : "") +
               GapNote(s, gap) + ")";
      });
  facts.push_back(std::move(fact));
}

void AddClockJumps(std::vector<Fact>& facts, const HostSummary& s,
                   const std::vector<std::string>& files) {
  if (s.clock_jumps.empty()) return;
  Fact fact{"Clock jumps",
            {std::to_string(s.clock_jumps.size()) + " (the wall clock stepped; not missing)"}};
  ListLongest(
      fact.lines, s.clock_jumps,
      [](const ClockJump& jump) { return std::llabs(std::int64_t{jump.to} - jump.from); },
      [&](const ClockJump& jump) {
        return files[jump.file] + ':' + std::to_string(jump.line) + ": " + ReadableTime(jump.from) +
               (jump.to < jump.from ? " back to " : " on to ") + ReadableTime(jump.to);
      });
  if (s.off_clock > 0) {
    fact.lines.push_back(Plural(s.off_clock, "entry", "entries") +
                         " stamped by a wrong clock: counted, not placed in time");
  }
  facts.push_back(std::move(fact));
}

// "10:00:00 to 10:20:00 (20 cycles, 20 min)": from the first unanswered cycle to the
// first answered one, or to where the next cycle was due, saying why.
std::string OutageLine(const Outage& o) {
  return FromTo(o.start, o.end) + " (" + Plural(o.cycles, "cycle", "cycles") + ", " +
         Duration(o.Seconds()) + OutageEndNote(o.ends) + ")";
}

// Outages, the longest first: those of one cycle are only counted, unless still open.
void AddOutages(std::vector<Fact>& facts, const HostSummary& s) {
  std::vector<const Outage*> listed;
  for (const Outage& outage : s.outages) {
    if (outage.cycles > 1 || outage.ends == OutageEnd::kOpen) listed.push_back(&outage);
  }
  std::stable_sort(listed.begin(), listed.end(),
                   [](const Outage* a, const Outage* b) { return a->cycles > b->cycles; });
  const std::int64_t single = s.OneCycleOutages();
  std::string first =
      std::to_string(s.outages.size()) + " (cycles in which no request was answered)";
  if (single > 0) {
    first += ": " + std::to_string(single) + (single == 1 ? " of one cycle" : " of one cycle each");
  }
  Fact fact{"Outages", {first}};
  for (std::size_t i = 0; i < listed.size() && i < kListedAtMost; ++i) {
    fact.lines.push_back(OutageLine(*listed[i]));
  }
  if (listed.size() > kListedAtMost) fact.lines.push_back(MoreText(listed.size(), kListedAtMost));
  facts.push_back(std::move(fact));
}

// "down 25 min (in 3 outages); available 99.41 % of the time observed (7 d less the
// gaps: 6 d 23 h)".
std::string DowntimeText(const HostSummary& s) {
  return "down " + Duration(s.uptime.down_seconds) + " (in " +
         Plural(static_cast<std::int64_t>(s.outages.size()), "outage", "outages") +
         "); available " + FormatFixed(s.uptime.AvailablePercent(), 2) +
         " % of the time observed (" + Duration(s.uptime.observed_seconds) +
         ": the period less the gaps)" + UnobservedText(s);
}

// A router's replies, and when they came: how many during outages, and each span.
void AddRouter(Fact& fact, const HostSummary& s, const Address& router, std::int64_t count) {
  const auto found = s.router_spans.find(router);
  const std::vector<RouterSpan> none;
  const std::vector<RouterSpan>& spans = found == s.router_spans.end() ? none : found->second;
  std::int64_t in_outages = 0;
  for (const RouterSpan& span : spans) in_outages += span.during_outage ? span.replies : 0;
  fact.lines.push_back(
      FormatAddress(router) + ", a router on the way, answered " +
      Plural(count, "request", "requests") + " in place of the host (it could not pass " +
      (count == 1 ? "it" : "them") + " on): counted as lost" +
      (in_outages > 0
           ? "; " + std::to_string(in_outages) + " of " + std::to_string(count) + " during outages"
           : ""));
  ListLongest(
      fact.lines, spans, [](const RouterSpan& span) { return span.replies; },
      [](const RouterSpan& span) {
        return kIndent +
               (span.from == span.to ? ReadableTime(span.from) : FromTo(span.from, span.to)) +
               ": " + Plural(span.replies, "reply", "replies") +
               (span.during_outage ? ", during an outage" : "");
      },
      kRouterSpansListed, kIndent);
}

std::string RequestsText(const Requests& r) {
  return std::to_string(r.sent) + " sent, " + std::to_string(r.received) + " received, " +
         std::to_string(r.lost) + " lost (" + FormatFixed(r.LossPercent(), 2) + "% loss)";
}

std::string RoundTripText(const RoundTrip& rt) {
  if (rt.replies == 0) return "no replies";
  return "min " + std::to_string(rt.minimum) + " ms, median " + std::to_string(rt.median) +
         " ms, 95% " + std::to_string(rt.p95) + " ms, 99% " + std::to_string(rt.p99) + " ms, max " +
         std::to_string(rt.maximum) + " ms, mean " + FormatFixed(rt.mean, 2) + " ms, jitter " +
         FormatFixed(rt.jitter, 2) + " ms";
}

}  // namespace

std::string TimesLine(const Report& report) {
  if (report.zone.empty()) {
    return "Times are the logger's own wall-clock times, without a time zone.";
  }
  return "Times are the logger's own wall-clock times, taken in the zone " + report.zone +
         (report.zone_given ? " (--tz)." : " (this machine's; --tz names another).");
}

std::string DuplicatesLine(const Report& report) {
  if (report.duplicates_dropped == 0) return "";
  const LogSet& logs = report.logs;
  std::string line = "Dropped " + Plural(report.duplicates_dropped, "entry", "entries") +
                     " that another log already holds:";
  const char* separator = " ";
  for (const auto& [files, count] : logs.duplicates) {
    line += separator + std::to_string(count) + " of " + logs.files[files.first] + " (in " +
            logs.files[files.second] + ")";
    separator = ", ";
  }
  return line + ".";
}

namespace {

// "loss 11.0 % and median 49 ms"
std::string HoursText(const HoursFigures& f) {
  return "loss " + FormatFixed(f.requests.LossPercent(), 1) + " %" +
         (f.replies > 0 ? " and median " + std::to_string(f.median) + " ms" : ", no replies");
}

}  // namespace

std::string WorstHoursLine(const std::optional<WorstHours>& worst) {
  if (!worst) return "";
  static constexpr struct {
    const char* which;
    const char* days;
    const char* others;
  } kKinds[] = {{"Every day", "days", ""},
                {"Weekdays", "weekdays", "; weekends normal"},
                {"Weekends", "weekend days", "; weekdays normal"}};
  const auto& kind = kKinds[static_cast<int>(worst->days)];
  std::string line =
      std::string(kind.which) + " " + std::to_string(worst->from) + "\u2013" +
      std::to_string(worst->to == 0 ? 24 : worst->to) + " h: " + HoursText(worst->inside) + " on " +
      std::to_string(worst->days_shown) + " of " + std::to_string(worst->days_counted) + " " +
      kind.days + "; other hours " + HoursText(worst->outside).substr(5) +
      (worst->other_days_normal ? kind.others : "") + ".";
  for (std::size_t i = 0; i < worst->left_out.size(); ++i) {
    const Outage& o = worst->left_out[i];
    line += (i == 0 ? " Left out: the outage of " : ", the outage of ") + ReadableTime(o.start) +
            " (" + Duration(o.Seconds()) + ")";
  }
  return line + (worst->left_out.empty() ? "" : ".");
}

const char* GapNote(const HostSummary& summary, const Gap& gap) {
  const bool named = summary.LookedUp();
  switch (gap.cause) {
    case GapCause::kNoLog:
      return "; no entries in any log: this machine was off, asleep or not logging";
    case GapCause::kLineDown:
      return named ? "; its name could not be looked up while the line was down"
                   : "; its logger was not running while the others wrote";
    case GapCause::kOthersWrote:
      return named ? "; the name could not be looked up, or the logger was not running, while "
                     "the others wrote"
                   : "; its logger was not running while the others wrote";
    case GapCause::kUnknown:
      break;
  }
  return named ? "; the logger was not running, or the name could not be looked up" : "";
}

const char* OutageEndNote(OutageEnd ends) {
  switch (ends) {
    case OutageEnd::kOpen:
      return "; still down at the last entry";
    case OutageEnd::kNoEntries:
      return "; then no entries";
    case OutageEnd::kAnswered:
      break;
  }
  return "";
}

std::string PeriodLine(const HostSummary& s) {
  return FromTo(s.first, s.last) + " (" + Duration(s.End() - s.first) + ")";
}

std::vector<std::string> HeadlineLines(const HostSummary& s, std::size_t outages) {
  std::string first = "Loss " + FormatFixed(s.requests.LossPercent(), 2) + " %, available " +
                      FormatFixed(s.uptime.AvailablePercent(), 2) +
                      " % of the time observed (down " + Duration(s.uptime.down_seconds) + " in " +
                      Plural(static_cast<std::int64_t>(s.outages.size()), "outage", "outages") +
                      ")" + UnobservedText(s);
  if (s.round_trip.replies > 0) {
    first += ", median " + std::to_string(s.round_trip.median) + " ms, 95% " +
             std::to_string(s.round_trip.p95) + " ms";
  }
  std::vector<std::string> lines = {first};
  std::vector<const Outage*> longest;
  for (const Outage& o : s.outages) longest.push_back(&o);
  std::stable_sort(longest.begin(), longest.end(),
                   [](const Outage* a, const Outage* b) { return a->Seconds() > b->Seconds(); });
  for (std::size_t i = 0; i < longest.size() && i < outages; ++i) {
    lines.push_back((i == 0 ? "Longest outages: " : "                 ") + OutageLine(*longest[i]));
  }
  return lines;
}

// Stretches of loss or slow replies clearly beyond the host's usual, the longest.
void AddDegradations(std::vector<Fact>& facts, const HostSummary& s) {
  if (s.degradations.empty()) return;
  Fact fact{"Degraded",
            {Plural(static_cast<std::int64_t>(s.degradations.size()), "stretch", "stretches") +
             " of loss or slow replies clearly beyond its usual (" + UsualText(s.usual) + ")"}};
  ListLongest(
      fact.lines, s.degradations, [](const Degradation& d) { return d.Seconds(); },
      [](const Degradation& d) {
        return FromTo(d.from, d.to) + " (" + Duration(d.Seconds()) +
               "): " + FiguresText(d.requests, d.replies, d.median);
      });
  facts.push_back(std::move(fact));
}

// More loggers than one on a host's logs, for all of it or for stretches.
void AddLoggers(std::vector<Fact>& facts, const HostSummary& s,
                const std::vector<std::string>& files) {
  static constexpr const char* kNumbers[] = {"", "one", "two", "three", "four"};
  const auto number = [](std::int64_t loggers) {
    return std::string(kNumbers[std::clamp<std::int64_t>(loggers, 1, 4)]);
  };
  std::string logs;
  for (const std::uint32_t file : s.files) logs += (logs.empty() ? "" : ", ") + files[file];
  if (s.loggers > 1) {
    facts.push_back({"Loggers",
                     {number(s.loggers) + " loggers wrote to " + logs +
                      " at once (their cycles interleave): stop one. The cycles of "
                      "each count."}});
    return;
  }
  if (s.logger_stretches.empty()) return;
  Fact fact{"Loggers", {}};
  const std::int64_t period = std::max<std::int64_t>(1, s.End() - s.first);
  for (const LoggerStretch& stretch : s.logger_stretches) {
    fact.lines.push_back(
        number(stretch.loggers) + " loggers wrote to " + logs + " at once " +
        FromTo(stretch.from, stretch.to) + " (" + Duration(stretch.Seconds()) + ", " +
        FormatFixed(100.0 * static_cast<double>(stretch.Seconds()) / static_cast<double>(period),
                    0) +
        " % of the period): stop one. The cycles of each count.");
  }
  facts.push_back(std::move(fact));
}

std::vector<Fact> SummaryFacts(const HostSummary& s, const std::vector<std::string>& files) {
  std::vector<Fact> facts;
  facts.push_back({"Period", {PeriodLine(s)}});
  AddCycles(facts, s);
  AddClockJumps(facts, s, files);
  AddLoggers(facts, s, files);
  facts.push_back({"Requests",
                   {RequestsText(s.requests) + "; " +
                    FormatFixed(s.outside_outages.LossPercent(), 2) + "% outside outages"}});
  if (s.requests.not_sent > 0) {
    Fact fact{"Not sent",
              {Plural(s.requests.not_sent, "request", "requests") +
               " never left the machine (not counted as sent or lost):"}};
    for (const auto& [error, count] : s.not_sent) {
      fact.lines.push_back(kIndent + std::to_string(count) + " with error " +
                           std::to_string(error) + " (" + EchoErrorName(error) +
                           "): " + NotSentFix(error));
    }
    facts.push_back(std::move(fact));
  }
  AddOutages(facts, s);
  AddDegradations(facts, s);
  facts.push_back({"Downtime", {DowntimeText(s)}});
  if (s.worst_hours) facts.push_back({"Worst hours", {WorstHoursLine(s.worst_hours)}});
  facts.push_back({"Round trip", {RoundTripText(s.round_trip)}});
  Fact failures{"Failures", {}}, routers{"From routers", {}};
  for (const auto& [error, count] : s.failures) {
    const std::string name = EchoErrorName(error);
    failures.lines.push_back(std::to_string(error) + (name.empty() ? "" : " " + name) + ": " +
                             std::to_string(count));
  }
  for (const auto& [router, count] : s.routers) AddRouter(routers, s, router, count);
  facts.push_back(std::move(failures));
  facts.push_back(std::move(routers));
  return facts;
}

std::vector<std::vector<std::string>> PeriodTable(const HostSummary& s) {
  std::vector<std::vector<std::string>> rows = {{s.by_hour ? "Hour" : "Day", "cycles", "sent",
                                                 "recv", "lost", "loss%", "min", "median", "max",
                                                 "outages", "down", "avail%"}};
  for (const PeriodRow& row : s.periods) {
    const Requests& r = row.requests;
    const RoundTrip& rt = row.round_trip;
    const bool none = rt.replies == 0;
    rows.push_back({s.by_hour ? FormatTime("%dd.%mm.%yyyy %hh:00", row.start)
                              : FormatTime("%dd.%mm.%yyyy", row.start),
                    std::to_string(r.cycles), std::to_string(r.sent), std::to_string(r.received),
                    std::to_string(r.lost), FormatFixed(r.LossPercent(), 2),
                    none ? "-" : std::to_string(rt.minimum), none ? "-" : std::to_string(rt.median),
                    none ? "-" : std::to_string(rt.maximum), std::to_string(row.outages),
                    ShortDuration(row.uptime.down_seconds),
                    FormatFixed(row.uptime.AvailablePercent(), 2)});
  }
  return rows;
}

}  // namespace pinglog::report
