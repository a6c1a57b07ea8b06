#include "report/model/summary.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ping/cycle.h"
#include "report/model/loggers.h"
#include "report/model/outages.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

// Time stamps are whole seconds, and a lookup and the log append take a moment too.
constexpr double kStampSlackSeconds = 2;

// The logger's interval, from the time between its entries (each logger's own, when
// several wrote): the median step less a cycle's own time, in whole minutes (the
// logger knows no other); 0: back to back.
std::int64_t InferIntervalMinutes(const Loggers& loggers, std::size_t placed,
                                  double cycle_seconds) {
  if (placed <= static_cast<std::size_t>(loggers.count)) return 0;
  const double pause = static_cast<double>(loggers.steps.median) - cycle_seconds;
  return pause < 30 ? 0 : std::llround(pause / 60);
}

LogTime PeriodStart(LogTime time, bool by_hour) {
  const LogTime length = by_hour ? kSecondsPerHour : kSecondsPerDay;
  return time - time % length;
}

// What every entry tells, placed or not: the files it lies in, the entries a wrong
// clock stamped, and the time a cycle takes.
void CountEveryEntry(HostSummary& summary, const EntryList& entries) {
  double cycle_total = 0;
  for (const Entry& entry : entries) {  // a log's entries mostly follow one another
    if (summary.files.empty() || summary.files.back() != entry.file) {
      summary.files.push_back(entry.file);
    }
    summary.off_clock += entry.off_clock ? 1 : 0;
    cycle_total += CycleSeconds(entry);
  }
  std::sort(summary.files.begin(), summary.files.end());
  summary.files.erase(std::unique(summary.files.begin(), summary.files.end()), summary.files.end());
  summary.cycle_seconds = cycle_total / static_cast<double>(entries.size());
}

// The entries a wrong clock stamped are counted, but placed nowhere in time: the
// others, gathered in `kept` when there are such entries (else all of them, uncopied).
const EntryList& PlacedEntries(const EntryList& entries, const HostSummary& summary,
                               EntryList& kept) {
  if (summary.off_clock == 0) return entries;
  kept = entries.Only([](const Entry& entry) { return !entry.off_clock; });
  return kept;
}

// The interval (given or inferred) and the period it makes with a cycle's own time.
void SetTiming(HostSummary& summary, const EntryList& placed, std::int64_t interval_minutes) {
  summary.interval_inferred = interval_minutes < 0;
  const Loggers loggers = CountLoggers(placed);
  summary.loggers = loggers.count;
  if (loggers.count == 1)
    summary.logger_stretches = FindLoggerStretches(placed, loggers.steps.median);
  summary.interval_minutes =
      summary.interval_inferred
          ? InferIntervalMinutes(loggers, placed.size(), summary.cycle_seconds)
          : interval_minutes;
  summary.back_to_back = summary.interval_minutes == 0 && placed.size() > 1;
  summary.period_seconds =
      static_cast<double>(summary.interval_minutes) * 60 + summary.cycle_seconds;
  summary.period = std::max<std::int64_t>(1, std::llround(summary.period_seconds));
}

// A step between two placed entries that is longer than a cycle can take.
void AddGapIfAny(HostSummary& summary, const Entry& before, const Entry& after,
                 double longest_step) {
  const double apart = static_cast<double>(after.time - before.time);
  if (apart <= longest_step) return;
  // Each logger missed the cycles of the stretch.
  const std::int64_t missing =
      summary.back_to_back
          ? -1
          : summary.loggers *
                std::max<std::int64_t>(1, std::llround(apart / summary.period_seconds) - 1);
  summary.gaps.push_back(
      {before.time, after.time, before.time + summary.period, missing, GapCause::kUnknown});
  summary.missing += std::max<std::int64_t>(missing, 0);
}

// The placed entries in time order: gaps, the day (or hour) rows, requests, outages.
void WalkPlaced(HostSummary& summary, const EntryList& placed, RoundTripCounter& all_times) {
  const double longest_step = LongestStepSeconds(summary.interval_minutes);
  RoundTripCounter period_times;
  OutageFinder outages(placed, summary.period, longest_step);
  std::optional<Entry> before;
  for (const Entry& entry : placed) {
    if (before) AddGapIfAny(summary, *before, entry, longest_step);
    const LogTime period = PeriodStart(entry.time, summary.by_hour);
    if (summary.periods.empty() || summary.periods.back().start != period) {
      if (!summary.periods.empty()) summary.periods.back().round_trip = period_times.Result();
      period_times.Clear();
      summary.periods.push_back({period, {}, {}, 0, {}});
    }
    PeriodRow& row = summary.periods.back();
    const CycleCounts counts = CountCycleWith(entry, row.requests, [&](int ms) {
      all_times.Add(ms);
      period_times.Add(ms);
    });
    outages.Take(entry, counts);
    if (counts.replies > 0) {
      Requests& up = summary.outside_outages;
      ++up.cycles;
      up.sent += counts.sent;
      up.received += counts.replies;
      up.lost += counts.sent - counts.replies;
      up.router += counts.routers;
    }
    before = entry;
  }
  for (const PeriodRow& row : summary.periods) summary.requests += row.requests;
  summary.outages = outages.Finish();
  for (const Outage& outage : summary.outages) {  // each counted on the day it begins
    const auto row =
        std::upper_bound(summary.periods.begin(), summary.periods.end(), outage.start,
                         [](LogTime start, const PeriodRow& r) { return start < r.start; });
    if (row != summary.periods.begin()) ++std::prev(row)->outages;
  }
  if (!summary.periods.empty()) summary.periods.back().round_trip = period_times.Result();
}

// The seconds of [from, to) that lie in [start, end).
std::int64_t Overlap(std::int64_t from, std::int64_t to, std::int64_t start, std::int64_t end) {
  return std::max<std::int64_t>(0, std::min(to, end) - std::max(from, start));
}

// Observed and down time within [start, end): the period logged less the gaps (from the
// end of the cycle before one to the entry after it), and the outages.
Uptime UptimeWithin(const HostSummary& s, std::int64_t start, std::int64_t end) {
  Uptime uptime;
  uptime.observed_seconds = Overlap(s.first, s.End(), start, end);
  for (const Gap& gap : s.gaps) {
    uptime.observed_seconds -= Overlap(gap.start, gap.before, start, end);
  }
  for (const Outage& o : s.outages) uptime.down_seconds += Overlap(o.start, o.end, start, end);
  return uptime;
}

// A router's reply at `time` (a placed entry's), joined to its last span when no more
// than two periods lie between.
void AddRouterReply(HostSummary& summary, const Address& router, LogTime time) {
  std::vector<RouterSpan>& spans = summary.router_spans[router];
  if (spans.empty() || time - spans.back().to > 2 * summary.period)
    spans.push_back({time, time, 0});
  spans.back().to = time;
  ++spans.back().replies;
}

// What is counted of every entry after the placed ones: the requests and round trips
// of those placed nowhere, the failures and routers' replies of all.
void CountAfterPlaced(HostSummary& summary, const EntryList& entries, RoundTripCounter& all_times) {
  for (const Entry& entry : entries) {
    if (entry.off_clock) CountCycle(entry, summary.requests, all_times);
    for (const Attempt& attempt : entry.attempts) {
      if (attempt.outcome == Outcome::kRouter) {
        ++summary.routers[attempt.source()];
        if (!entry.off_clock) AddRouterReply(summary, attempt.source(), entry.time);
      }
      if (attempt.outcome != Outcome::kFailure) continue;
      ++(NeverSent(attempt.error()) ? summary.not_sent : summary.failures)[attempt.error()];
    }
  }
  for (auto& [router, spans] : summary.router_spans) {
    for (RouterSpan& span : spans) {
      for (const Outage& o : summary.outages) {
        span.during_outage = span.during_outage || (span.from < o.end && span.to >= o.start);
      }
    }
  }
}

}  // namespace

double LongestStepSeconds(std::int64_t interval_minutes) {
  return static_cast<double>(interval_minutes) * 60 + kLongestCycleMs / 1000.0 + kStampSlackSeconds;
}

HostSummary Summarize(const std::string& host, const EntryList& entries,
                      const SummaryOptions& options, const std::vector<ClockJump>& clock_jumps) {
  HostSummary summary;
  summary.host = host;
  summary.by_hour = options.by_hour;
  if (entries.empty()) return summary;
  summary.target = entries.back().target;
  CountEveryEntry(summary, entries);
  EntryList kept;
  const EntryList& placed = PlacedEntries(entries, summary, kept);
  for (const ClockJump& jump : clock_jumps) {
    if (jump.host == entries.front().host) summary.clock_jumps.push_back(jump);
  }
  SetTiming(summary, placed, options.interval_minutes);

  RoundTripCounter all_times;
  WalkPlaced(summary, placed, all_times);
  CountAfterPlaced(summary, entries, all_times);
  if (!placed.empty()) {
    summary.first = placed.TimeAt(0);
    summary.last = placed.TimeAt(placed.size() - 1);
  }
  const auto logged = static_cast<std::int64_t>(placed.size());
  summary.expected = summary.back_to_back ? -1 : logged + summary.missing;
  if (summary.back_to_back) {
    // Whole-second stamps: the last entry's second is part of the span.
    const double minutes = static_cast<double>(summary.last - summary.first + 1) / 60;
    summary.cycles_per_minute = static_cast<double>(logged) / minutes;
  }
  summary.round_trip = all_times.Result();
  if (!placed.empty()) {
    summary.uptime = UptimeWithin(summary, summary.first, summary.End());
    const std::int64_t length = summary.by_hour ? kSecondsPerHour : kSecondsPerDay;
    for (PeriodRow& row : summary.periods) {
      row.uptime = UptimeWithin(summary, row.start, std::int64_t{row.start} + length);
    }
  }
  return summary;
}

std::int64_t HostSummary::OneCycleOutages() const {
  return std::count_if(outages.begin(), outages.end(),
                       [](const Outage& outage) { return outage.cycles == 1; });
}

std::optional<WorstDay> WorstDayOf(const HostSummary& summary) {
  std::map<std::int64_t, Requests> days;
  for (const PeriodRow& row : summary.periods) {
    Requests& day = days[row.start / kSecondsPerDay];
    day.sent += row.requests.sent;
    day.lost += row.requests.lost;
  }
  std::optional<WorstDay> worst;
  for (const auto& [day, requests] : days) {
    if (requests.lost > 0 && (!worst || requests.LossPercent() > worst->loss_percent)) {
      worst = WorstDay{day * kSecondsPerDay, requests.LossPercent()};
    }
  }
  return worst;
}

}  // namespace pinglog::report
