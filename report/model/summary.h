// What a host's entries add up to: the period, the cycles expected and missing, the
// requests, outages, round-trip statistics, failures and router replies, overall and
// per day (or hour).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "report/logs/entry_list.h"
#include "report/logs/log_set.h"
#include "report/model/cycle_counts.h"
#include "report/model/loggers.h"
#include "report/model/round_trip.h"

namespace pinglog::report {

// What the other hosts' logs say of a gap (with more than one host): nothing (one
// host), that the line was down meanwhile, that the others kept writing, or that no
// log has entries then.
enum class GapCause : std::uint8_t { kUnknown, kLineDown, kOthersWrote, kNoLog };

// A stretch without entries: between the entry at `after` and the one at `before`.
// Every output shows it from `start`, where the next cycle was due (the entry before
// it plus one period: nothing was missing until then), to `before`.
struct Gap {
  LogTime after = 0, before = 0;
  LogTime start = 0;         // after + the period
  std::int64_t missing = 0;  // cycles expected in between; -1 when back to back
  GapCause cause = GapCause::kUnknown;
  std::int64_t Seconds() const { return before - start; }
};

// How an outage ended: at an answered cycle, where the next cycle was due before a
// stretch without entries, or not at all (still down at the last entry).
enum class OutageEnd : std::uint8_t { kAnswered, kNoEntries, kOpen };

// Consecutive cycles in which requests went out and none was answered. Cycles that
// sent nothing neither begin nor end one.
struct Outage {
  LogTime start = 0;  // the first unanswered cycle
  // The first answered cycle after it; without one, where the next cycle was due
  // (the last unanswered cycle plus one period).
  LogTime end = 0;
  std::int64_t cycles = 0;  // unanswered cycles
  OutageEnd ends = OutageEnd::kAnswered;
  std::int64_t Seconds() const { return std::int64_t{end} - start; }
};

// Time observed (the period logged less the gaps: a stretch without entries says
// nothing) and the part of it that outages took.
struct Uptime {
  std::int64_t observed_seconds = 0;
  std::int64_t down_seconds = 0;
  double AvailablePercent() const {
    return observed_seconds <= 0 ? 100
                                 : 100.0 * static_cast<double>(observed_seconds - down_seconds) /
                                       static_cast<double>(observed_seconds);
  }
};

// Cycles in a row (no more than two periods apart) in which a router answered in place
// of the host: when, how often, and whether during an outage.
struct RouterSpan {
  LogTime from = 0, to = 0;  // the first and the last such cycle
  std::int64_t replies = 0;
  bool during_outage = false;
};

// A stretch in which a host's loss or round trip rose clearly above its own usual
// (DegradationsOf finds them): from the first cycle that showed it to where the cycle
// after the last one that did was due; what its cycles counted, outages of more than
// one cycle left out.
struct Degradation {
  LogTime from = 0, to = 0;
  Requests requests;
  std::int64_t replies = 0;
  int median = 0;                   // of the replies
  bool loss = false, slow = false;  // which of the two rose
  std::int64_t Seconds() const { return std::int64_t{to} - from; }
};

// A host's usual loss and round trip: those of its middle window of cycles.
struct Usual {
  bool known = false;  // false: too few cycles to tell
  double loss_percent = 0;
  int median = 0;
};

struct PeriodRow {
  LogTime start = 0;  // the day's (or hour's) first second
  Requests requests;
  RoundTrip round_trip;
  std::int64_t outages = 0;  // outages that begin in this period
  Uptime uptime;             // within this period
};

// The round trips and requests of some hours.
struct HoursFigures {
  Requests requests;
  std::int64_t replies = 0;
  int median = 0;  // of the replies, when there are any
};

// Hours of the day (from `from` to `to`, 0 to 24, possibly across midnight) whose loss
// stands out, day after day: on which kind of day, with the figures inside those hours
// against all other hours, and on how many days of that kind it held. Outages longer
// than an hour are left out of the comparison and named apart.
struct WorstHours {
  enum class Days : std::uint8_t { kEvery, kWeekdays, kWeekends };
  int from = 0, to = 0;
  Days days = Days::kEvery;
  HoursFigures inside, outside;
  std::int64_t days_shown = 0;     // days of the kind on which those hours stood out
  std::int64_t days_counted = 0;   // days of the kind with entries in those hours
  bool other_days_normal = false;  // the other kind of day did not show it
  std::vector<Outage> left_out;    // outages longer than an hour
};

struct HostSummary {
  std::string host;
  std::string name;                   // what the reader calls it (--name), or ""
  Address target{};                   // the address of the host's last entry
  LogTime first = 0, last = 0;        // of the entries placed in time
  std::int64_t interval_minutes = 0;  // the logger's pause after each cycle
  bool interval_inferred = false;
  bool back_to_back = false;  // interval 0
  std::int64_t loggers = 1;   // loggers that wrote the host's entries at once
  // With one logger: where more wrote beside it for a while (a logger started twice).
  std::vector<LoggerStretch> logger_stretches;
  double cycle_seconds = 0;   // a cycle's own time, on average
  double period_seconds = 0;  // from one cycle's start to the next: interval + cycle
  std::int64_t period = 1;    // the same in whole seconds, at least 1
  double cycles_per_minute = 0;
  std::int64_t expected = 0;  // logged + missing; -1 back to back (no fixed number)
  std::int64_t missing = 0;   // cycles missing in the gaps (back to back: 0)
  Requests requests;
  // The requests of the cycles placed in time that had a reply: the loss outside
  // outages, while the host was up.
  Requests outside_outages;
  RoundTrip round_trip;
  std::vector<Gap> gaps;
  std::vector<Outage> outages;
  std::map<std::uint32_t, std::int64_t> failures;           // error number -> count (sent requests)
  std::map<std::uint32_t, std::int64_t> not_sent;           // error number -> count
  std::map<Address, std::int64_t> routers;                  // router -> replies
  std::map<Address, std::vector<RouterSpan>> router_spans;  // router -> when, in time order
  std::vector<ClockJump> clock_jumps;
  std::vector<std::uint32_t> files;  // the logs that hold the host's entries
  std::int64_t off_clock = 0;        // entries counted, but not placed in time
  bool by_hour = false;
  std::vector<PeriodRow> periods;
  Uptime uptime;
  std::optional<WorstHours> worst_hours;  // when some hours of the day stand out
  Usual usual;                            // its usual loss and round trip
  std::vector<Degradation> degradations;  // where they rose clearly above it, by time
  // With more than one host: how far it is (hops from its replies' TTL, as traceroute
  // counts them; nothing without replies), the host it lies behind (its index among
  // the report's hosts; nothing: behind none), and the time it was not observed during
  // incidents.
  std::optional<int> hops;
  std::optional<std::size_t> behind;
  std::int64_t unobserved_in_incidents = 0;

  // The end of the last entry's cycle: first + this covers the period logged.
  std::int64_t End() const { return std::int64_t{last} + period; }
  // Whether the logger looked the host up (a name, not an address): a cycle whose
  // lookup failed wrote no entry, so a gap may be an outage that took DNS with it.
  bool LookedUp() const { return host.empty() || host[0] < '0' || host[0] > '9'; }
  // Outages of a single cycle.
  std::int64_t OneCycleOutages() const;
};

struct SummaryOptions {
  std::int64_t interval_minutes = -1;  // -1: infer from the time between entries
  bool by_hour = false;
};

// The summary of one host's entries, given in time order, and the clock jumps found
// in its logs.
HostSummary Summarize(const std::string& host, const EntryList& entries,
                      const SummaryOptions& options,
                      const std::vector<ClockJump>& clock_jumps = {});

// The longest time between two entries that is no gap: the interval, the longest
// cycle, and the whole seconds of the time stamps and a slow lookup.
double LongestStepSeconds(std::int64_t interval_minutes);

// The day with the highest loss, if any day lost requests.
struct WorstDay {
  LogTime day = 0;
  double loss_percent = 0;
};
std::optional<WorstDay> WorstDayOf(const HostSummary& summary);

}  // namespace pinglog::report
