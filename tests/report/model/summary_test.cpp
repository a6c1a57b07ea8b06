#include "report/model/summary.h"

#include <gtest/gtest.h>

#include <array>

#include "report/logs/clock_jumps.h"
#include "report/logs/duplicates.h"
#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

using testing::SampleEntries;

TEST(SummarizeTest, WorksOutTheSampleLog) {
  const std::vector<Entry> entries = SampleEntries();
  const EntryStore store(entries);
  const HostSummary s = Summarize("router1", EntryList(store), {});
  const CalendarTime t0 = entries[0].time;

  EXPECT_EQ(s.interval_minutes, 1);  // the median step less a cycle's time
  EXPECT_TRUE(s.interval_inferred);
  EXPECT_EQ(s.first, t0);
  EXPECT_EQ(s.last, t0 + 480);
  EXPECT_EQ(s.expected, 9);
  EXPECT_EQ(s.requests.cycles, 7);
  ASSERT_EQ(s.gaps.size(), 1u);
  EXPECT_EQ(s.gaps[0].after, t0 + 120);
  EXPECT_EQ(s.gaps[0].before, t0 + 300);
  EXPECT_EQ(s.gaps[0].missing, 2);

  EXPECT_EQ(s.requests.sent, 21);
  EXPECT_EQ(s.requests.received, 12);
  EXPECT_EQ(s.requests.lost, 9);
  EXPECT_EQ(s.requests.router, 1);
  EXPECT_NEAR(s.requests.LossPercent(), 42.857, 0.001);

  ASSERT_EQ(s.outages.size(), 1u);
  EXPECT_EQ(s.outages[0].start, t0 + 360);
  EXPECT_EQ(s.outages[0].end, t0 + 480);  // the first answered cycle after it
  EXPECT_EQ(s.outages[0].cycles, 2);

  // Replies in time order: 10 20 30 40 50 5 5 5 100 1 2 3.
  const RoundTrip& rt = s.round_trip;
  EXPECT_EQ(rt.replies, 12);
  EXPECT_EQ(rt.minimum, 1);
  EXPECT_EQ(rt.median, 5);  // rank 6 of 12: 1 2 3 5 5 [5] 10 ...
  EXPECT_EQ(rt.p95, 100);   // rank 12
  EXPECT_EQ(rt.p99, 100);
  EXPECT_EQ(rt.maximum, 100);
  EXPECT_NEAR(rt.mean, 271.0 / 12, 1e-9);
  EXPECT_NEAR(rt.jitter, 281.0 / 11, 1e-9);  // 10+10+10+10+45+0+0+95+99+1+1

  EXPECT_EQ(s.failures, (std::map<std::uint32_t, std::int64_t>{{11003, 1}, {11010, 7}}));
  EXPECT_EQ(s.routers, (std::map<Address, std::int64_t>{{{198, 51, 100, 254}, 1}}));
  ASSERT_EQ(s.periods.size(), 1u);
  EXPECT_EQ(s.periods[0].requests.cycles, 7);
  EXPECT_EQ(s.periods[0].outages, 1);
}

TEST(SummarizeTest, SplitsByHourAndTakesAGivenInterval) {
  const std::vector<Entry> entries = SampleEntries();
  SummaryOptions options;
  options.by_hour = true;
  options.interval_minutes = 2;
  const EntryStore store(entries);
  const HostSummary s = Summarize("router1", EntryList(store), options);
  EXPECT_EQ(s.interval_minutes, 2);
  EXPECT_FALSE(s.interval_inferred);
  EXPECT_EQ(s.expected, 8);      // logged + missing
  EXPECT_EQ(s.gaps.size(), 1u);  // 180 s apart is longer than 2 min and the longest cycle
  ASSERT_EQ(s.periods.size(), 2u);
  EXPECT_EQ(s.periods[0].start, ComposeTime(2021, 3, 21, 10, 0, 0));
  EXPECT_EQ(s.periods[0].requests.cycles, 2);
  EXPECT_EQ(s.periods[0].round_trip.median, 30);  // 10 20 30 40 50: rank 3
  EXPECT_EQ(s.periods[1].requests.cycles, 5);
  EXPECT_EQ(s.periods[1].round_trip.maximum, 100);
  EXPECT_EQ(s.periods[1].outages, 1);
}

// The interval inferred from the usual step between entries less a cycle's own time
// (0.3 s with three quick replies), in whole minutes; a pause under 30 s is none.
TEST(SummarizeTest, InfersTheIntervalAtTheEdgesOfAMinute) {
  const struct {
    int step_seconds;
    std::int64_t minutes;
    std::array<int, 3> ms = {1, 1, 1};  // the replies: 233, 233, 234 make a cycle of 1 s
  } cases[] = {
      {1, 0},  {30, 0}, {31, 1}, {31, 1, {233, 233, 234}}, {30, 0, {233, 233, 235}}, {60, 1},
      {90, 1}, {91, 2}, {300, 5}};
  for (const auto& c : cases) {
    std::vector<Entry> entries;
    for (int n = 0; n < 20; ++n) {
      entries.push_back(testing::MakeEntry(ComposeTime(2021, 3, 1, 0, 0, 0) + n * c.step_seconds,
                                           {c.ms[0], c.ms[1], c.ms[2]}));
    }
    const EntryStore store(entries);
    EXPECT_EQ(Summarize("h", EntryList(store), {}).interval_minutes, c.minutes) << c.step_seconds;
  }
}

// A router's reports no more than two cycles apart are one span; a span counts as
// during an outage when it meets one, from its first cycle to before the answered one.
TEST(SummarizeTest, JoinsARoutersReportsIntoSpans) {
  const struct {
    const char* situation;
    std::vector<int> answered_with_router, down_with_router;  // minutes of a router's report
    std::string spans;  // "from-to replies", minutes; "!": during an outage
  } rows[] = {
      {"every second cycle", {10, 12, 14}, {}, "10-14 3"},
      {"every third cycle", {10, 13}, {}, "10 1, 13 1"},
      {"in the outage's first cycle", {}, {20}, "20 1!"},
      {"in the cycle that answered again", {22}, {}, "22 1"},
      {"in the cycle before the outage", {19}, {}, "19 1"},
  };
  for (const auto& row : rows) {
    const LogTime t0 = ComposeTime(2021, 3, 1, 0, 0, 0);
    std::vector<Entry> entries;
    for (int minute = 0; minute < 40; ++minute) {
      const auto has = [&](const std::vector<int>& minutes) {
        return std::count(minutes.begin(), minutes.end(), minute) > 0;
      };
      const bool down = minute == 20 || minute == 21;  // the outage: 20 to 22
      const int second = has(row.answered_with_router) || has(row.down_with_router)
                             ? testing::kRouter
                         : down ? -11010
                                : 5;
      entries.push_back(
          testing::MakeEntry(t0 + minute * 60, {down ? -11010 : 5, second, down ? -11010 : 5}));
    }
    const EntryStore store(entries);
    const HostSummary s = Summarize("h", EntryList(store), {});
    ASSERT_EQ(s.outages.size(), 1u) << row.situation;
    std::string spans;
    for (const auto& [router, list] : s.router_spans) {
      for (const RouterSpan& span : list) {
        spans += (spans.empty() ? "" : ", ") + std::to_string((span.from - t0) / 60);
        if (span.to != span.from) spans += "-" + std::to_string((span.to - t0) / 60);
        spans += " " + std::to_string(span.replies) + (span.during_outage ? "!" : "");
      }
    }
    EXPECT_EQ(spans, row.spans) << row.situation;
  }
}

// A single entry is no back-to-back log; an interval of 0 given is taken, not
// inferred; the files of a host in the order its entries lie in them; an outage that
// begins at midnight is the new day's.
TEST(SummarizeTest, TakesTheTimingAndTheDaysAtTheirEdges) {
  const LogTime day2 = ComposeTime(2021, 3, 2, 0, 0, 0);
  const EntryStore one({testing::MakeEntry(day2, {5, 5, 5})});
  EXPECT_FALSE(Summarize("h", EntryList(one), {}).back_to_back);

  std::vector<Entry> entries;
  for (int minute = -10; minute < 10; ++minute) {
    const bool down = minute == 0 || minute == 1;
    entries.push_back(testing::MakeEntry(
        day2 + minute * 300, {down ? -11010 : 5, down ? -11010 : 5, down ? -11010 : 5}));
    entries.back().file = minute < 0 ? 0 : 1;
  }
  const EntryStore store(entries);
  const HostSummary inferred = Summarize("h", EntryList(store), {});
  EXPECT_EQ(inferred.interval_minutes, 5);
  EXPECT_EQ(inferred.files, (std::vector<std::uint32_t>{0, 1}));
  ASSERT_EQ(inferred.periods.size(), 2u);
  EXPECT_EQ(inferred.periods[0].outages, 0);
  EXPECT_EQ(inferred.periods[1].outages, 1);
  const HostSummary given = Summarize("h", EntryList(store), {.interval_minutes = 0});
  EXPECT_EQ(given.interval_minutes, 0);
  EXPECT_FALSE(given.interval_inferred);
}

// The worst day is the one with the highest loss; of two alike, the first.
TEST(SummarizeTest, NamesTheFirstOfTwoDaysAsBad) {
  const LogTime day = ComposeTime(2021, 3, 1, 12, 0, 0);
  const std::vector<Entry> entries = {testing::MakeEntry(day, {5, 5, -11010}),
                                      testing::MakeEntry(day + 86400, {5, 5, 5}),
                                      testing::MakeEntry(day + 2 * 86400, {-11010, 5, 5}),
                                      testing::MakeEntry(day + 3 * 86400, {5, 5, 5})};
  SummaryOptions options;
  options.interval_minutes = 1440;
  const EntryStore store(entries);
  const std::optional<WorstDay> worst = WorstDayOf(Summarize("h", EntryList(store), options));
  ASSERT_TRUE(worst);
  EXPECT_EQ(worst->day, day - 12 * 3600);
  EXPECT_NEAR(worst->loss_percent, 100.0 / 3, 1e-9);
}

// Logs as the logger really writes them, each worked out by hand: requests never
// sent, the real period, back-to-back cycles, the same log twice, clock jumps.
TEST(SummarizeTest, TellsTheTruthAboutRealLogs) {
  using testing::MakeEntry;
  const CalendarTime t = ComposeTime(2031, 5, 1, 12, 0, 0);
  constexpr int kDenied = -5, kInvalid = -1214, kTimeout = -11010, kUnreachable = -11003;
  constexpr int kRouter = testing::kRouter;
  const auto in_file = [](Entry e, std::uint16_t file, std::uint32_t line) {
    e.file = file;
    e.line = line;
    return e;
  };
  // A one-minute logger whose cycles take 0.3 s: every third step is 61 s.
  const auto minute_log = [&](int cycles, std::uint16_t file = 0) {
    std::vector<Entry> log;
    for (int i = 0; i < cycles; ++i) {
      log.push_back(in_file(MakeEntry(t + i * 60 + i / 3, {10, 12, 11}), file, i + 1));
    }
    return log;
  };
  // Entries [from, to) of a log stamped `seconds` off.
  const auto shifted = [](std::vector<Entry> log, int from, int to, std::int64_t seconds) {
    for (int i = from; i < to; ++i) log[i].time = static_cast<CalendarTime>(log[i].time + seconds);
    return log;
  };
  struct Expected {
    std::int64_t cycles = 0, sent = 0, not_sent = 0, lost = 0, outages = 0, expected = 0, gaps = 0,
                 missing = 0;
    bool back_to_back = false;
    std::size_t jumps = 0;
    std::int64_t off_clock = 0, duplicates = 0;
    double per_minute = 0;  // back to back: cycles a minute
    std::int64_t loggers = 1;
    std::size_t logger_stretches = 0;  // with one logger: where another wrote beside it
  };
  const struct {
    const char* situation;
    std::vector<Entry> entries;
    std::vector<std::string> files;
    Expected expected;
  } cases[] = {
      {"no ICMP permission: nothing sent, nothing lost, no outage",
       {MakeEntry(t, {kDenied, kDenied, kDenied}), MakeEntry(t + 60, {kDenied, kDenied, kDenied}),
        MakeEntry(t + 120, {kInvalid, kInvalid, kInvalid})},
       {"a.log"},
       {.cycles = 3, .not_sent = 9, .expected = 3}},
      {"a day's drift of a one-minute logger is no gap",
       minute_log(30),
       {"a.log"},
       {.cycles = 30, .sent = 90, .expected = 30}},
      {"100 s between one-minute entries: one missed cycle",
       [&] {
         auto log = minute_log(10);
         for (std::size_t i = 5; i < log.size(); ++i) log[i].time += 40;
         return log;
       }(),
       {"a.log"},
       {.cycles = 10, .sent = 30, .expected = 11, .gaps = 1, .missing = 1}},
      {"back to back: replies three a second, time-outs every 3.3 s, then a real gap",
       {MakeEntry(t, {0, 0, 0}), MakeEntry(t, {0, 0, 0}), MakeEntry(t, {0, 0, 0}),
        MakeEntry(t + 1, {0, 0, 0}), MakeEntry(t + 4, {kTimeout, kTimeout, kTimeout}),
        MakeEntry(t + 7, {kTimeout, kTimeout, kTimeout}),
        MakeEntry(t + 11, {kTimeout, kTimeout, kTimeout}), MakeEntry(t + 40, {0, 0, 0})},
       {"a.log"},
       {.cycles = 8,
        .sent = 24,
        .lost = 9,
        .outages = 1,
        .expected = -1,
        .gaps = 1,
        .back_to_back = true,
        .per_minute = 8 / (41.0 / 60)}},
      {"the same log twice counts once; alike entries within one file stay",
       [&] {
         std::vector<Entry> log = {MakeEntry(t, {1, 1, 1}), MakeEntry(t, {1, 1, 1}),
                                   MakeEntry(t + 1, {2, 2, 2})};
         for (std::uint32_t i = 0; i < 3; ++i) log.push_back(in_file(log[i], 1, i + 1));
         return log;
       }(),
       {"a.log", "a-copy.log"},
       {.cycles = 3, .sent = 9, .expected = -1, .back_to_back = true, .duplicates = 3}},
      {"an outage still going on at the end of the log is listed",
       [&] {
         auto log = minute_log(5);
         for (int i = 5; i < 8; ++i) {
           log.push_back(
               in_file(MakeEntry(t + i * 60 + 1, {kTimeout, kTimeout, kTimeout}), 0, i + 1));
         }
         return log;
       }(),
       {"a.log"},
       {.cycles = 8, .sent = 24, .lost = 9, .outages = 1, .expected = 8}},
      {"an entry from 1999 at the end of a 2031 log is a clock jump, not 32 years missing",
       [&] {
         auto log = minute_log(5);
         log.push_back(in_file(MakeEntry(ComposeTime(1999, 6, 7, 10, 0, 0), {10, 10, 10}), 0, 6));
         return log;
       }(),
       {"a.log"},
       {.cycles = 6, .sent = 18, .expected = 5, .jumps = 1, .off_clock = 1}},
      {"a clock 8 hours ahead for 20 minutes, then corrected: nothing missing",
       shifted(minute_log(300), 120, 140, 8 * 3600),
       {"a.log"},
       {.cycles = 300, .sent = 900, .expected = 300, .jumps = 2}},
      {"a clock 8 hours behind for 20 minutes, then corrected: nothing missing",
       shifted(minute_log(300), 120, 140, -8 * 3600),
       {"a.log"},
       {.cycles = 300, .sent = 900, .expected = 300, .jumps = 2}},
      {"a clock a year ahead for 10 minutes, then corrected: the period stays an hour",
       shifted(minute_log(60), 20, 30, 365 * 86400),
       {"a.log"},
       {.cycles = 60, .sent = 180, .expected = 60, .jumps = 2}},
      {"a router's report inside an outage does not end it",
       [&] {
         auto log = minute_log(3);
         for (int i = 3; i < 12; ++i) {
           Entry entry = MakeEntry(t + i * 60 + 1, {kTimeout, kTimeout, kTimeout});
           if (i == 7) entry = MakeEntry(t + i * 60 + 1, {kRouter, kTimeout, kTimeout});
           log.push_back(in_file(entry, 0, i + 1));
         }
         log.push_back(in_file(MakeEntry(t + 12 * 60 + 4, {10, 12, 11}), 0, 13));
         return log;
       }(),
       {"a.log"},
       {.cycles = 13, .sent = 39, .lost = 27, .outages = 1, .expected = 13}},
      {"instant errors take no time-out: 10 min without entries are 9 missing cycles",
       [&] {
         std::vector<Entry> log;
         for (int i = 0; i < 70; ++i) {
           const int minute = i < 60 ? i : i + 9;
           log.push_back(in_file(
               MakeEntry(t + minute * 60, {kUnreachable, kUnreachable, kUnreachable}), 0, i + 1));
         }
         return log;
       }(),
       {"a.log"},
       {.cycles = 70,
        .sent = 210,
        .lost = 210,
        .outages = 2,
        .expected = 79,
        .gaps = 1,
        .missing = 9}},
      {"two loggers' entries of one second that differ in a round trip are both kept",
       {in_file(MakeEntry(t, {1, 1, 1}), 0, 1), in_file(MakeEntry(t + 1, {2, 2, 2}), 0, 2),
        in_file(MakeEntry(t, {1, 1, 5}), 1, 1), in_file(MakeEntry(t + 1, {2, 2, 2}), 1, 2)},
       {"a.log", "b.log"},
       {.cycles = 3,
        .sent = 9,
        .expected = -1,
        .back_to_back = true,
        .duplicates = 1,
        .per_minute = 3 / (2.0 / 60)}},
      {"two loggers on one log, 17 s apart: each one's cycles, no gaps, not back to back",
       [&] {
         std::vector<Entry> log;
         for (int i = 0; i < 1200; ++i) {
           log.push_back(in_file(MakeEntry(t + i / 2 * 60 + (i % 2) * 17, {10, 12, 11}), 0, i + 1));
         }
         return log;
       }(),
       {"a.log"},
       {.cycles = 1200, .sent = 3600, .expected = 1200, .loggers = 2}},
      {"a second logger for six hours of a day: found there, each one's cycles counted",
       [&] {
         auto log = minute_log(1380);
         for (int i = 0; i < 360; ++i)
           log.push_back(MakeEntry(t + 3600 + i * 60 + i / 3 + 47, {9, 9, 9}));
         std::stable_sort(log.begin(), log.end(),
                          [](const Entry& a, const Entry& b) { return a.time < b.time; });
         for (std::size_t i = 0; i < log.size(); ++i) log[i] = in_file(log[i], 0, i + 1);
         return log;
       }(),
       {"a.log"},
       {.cycles = 1740, .sent = 5220, .expected = 1740, .logger_stretches = 1}},
      {"two logs of one host side by side, their outages overlapping: one outage, not pieces",
       [&] {
         std::vector<Entry> log;
         for (int i = 0; i < 300; ++i) {
           const bool a_down = i >= 100 && i < 120, b_down = i >= 110 && i < 140;
           const auto cycle = [&](bool down, int at, std::uint16_t file) {
             const std::initializer_list<int> items = {10, 12, 11},
                                              lost = {kTimeout, kTimeout, kTimeout};
             return in_file(MakeEntry(at, down ? lost : items), file, i + 1);
           };
           log.push_back(cycle(a_down, t + i * 60, 0));
           log.push_back(cycle(b_down, t + i * 60 + 17, 1));
         }
         return log;
       }(),
       {"a.log", "b.log"},
       {.cycles = 600, .sent = 1800, .lost = 150, .outages = 1, .expected = 600, .loggers = 2}},
      {"one entry stamped 2037 after 100 minutes of 2031: a wrong clock, not six years missing",
       [&] {
         auto log = minute_log(100);
         log.push_back(in_file(MakeEntry(ComposeTime(2037, 6, 1, 12, 0, 0), {10, 10, 10}), 0, 101));
         return log;
       }(),
       {"a.log"},
       {.cycles = 101, .sent = 303, .expected = 100, .jumps = 1, .off_clock = 1}},
      {"a last stretch ten hours after 100 minutes: the logger was off, the hours missing",
       [&] {
         auto log = minute_log(100);
         for (int i = 0; i < 5; ++i) {
           log.push_back(in_file(MakeEntry(t + 36000 + i * 60, {10, 10, 10}), 0, 101 + i));
         }
         return log;
       }(),
       {"a.log"},
       {.cycles = 105, .sent = 315, .expected = 105 + 497, .gaps = 1, .missing = 497}},
  };
  for (const auto& c : cases) {
    LogSet logs;
    logs.files = c.files;
    logs.hosts = {"router1"};
    logs.entries = EntryStore(c.entries);
    FindClockJumps(logs);
    SortByHostAndTime(logs);
    DropDuplicates(logs);
    const HostSummary s = Summarize("router1", EntryList(logs.entries), {}, logs.clock_jumps);
    std::int64_t missing = 0, duplicates = 0;
    for (const Gap& gap : s.gaps) missing += std::max<std::int64_t>(gap.missing, 0);
    for (const auto& [files, count] : logs.duplicates) duplicates += count;
    const Expected& e = c.expected;
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(s.requests.cycles, e.cycles);
    EXPECT_EQ(s.requests.sent, e.sent);
    EXPECT_EQ(s.requests.not_sent, e.not_sent);
    EXPECT_EQ(s.requests.lost, e.lost);
    EXPECT_EQ(static_cast<std::int64_t>(s.outages.size()), e.outages);
    EXPECT_EQ(s.expected, e.expected);
    EXPECT_EQ(static_cast<std::int64_t>(s.gaps.size()), e.gaps);
    EXPECT_EQ(missing, e.missing);
    EXPECT_EQ(s.back_to_back, e.back_to_back);
    EXPECT_EQ(s.clock_jumps.size(), e.jumps);
    EXPECT_EQ(s.off_clock, e.off_clock);
    EXPECT_EQ(duplicates, e.duplicates);
    if (!s.back_to_back) {
      EXPECT_EQ(s.expected, s.requests.cycles - s.off_clock + missing);
    }
    EXPECT_EQ(s.loggers, e.loggers);
    EXPECT_EQ(s.logger_stretches.size(), e.logger_stretches);
    if (e.per_minute > 0) {
      EXPECT_NEAR(s.cycles_per_minute, e.per_minute, 0.01);
    }
    EXPECT_LE(s.last - s.first, 86400);  // the plausible span only
  }
}

TEST(RoundTripOfTest, HandlesFewReplies) {
  EXPECT_EQ(RoundTripOf({}).replies, 0);
  const RoundTrip one = RoundTripOf({7});
  EXPECT_EQ(one.minimum, 7);
  EXPECT_EQ(one.p99, 7);
  EXPECT_EQ(one.jitter, 0);
  const RoundTrip hundred = [] {
    std::vector<int> times;
    for (int i = 100; i >= 1; --i) times.push_back(i);
    return RoundTripOf(times);
  }();
  EXPECT_EQ(hundred.median, 50);
  EXPECT_EQ(hundred.p95, 95);
  EXPECT_EQ(hundred.p99, 99);
  EXPECT_EQ(hundred.jitter, 1);
}

TEST(ErrorNameTest, NamesTheNumbersTheLoggerWrites) {
  EXPECT_STREQ(EchoErrorName(11010), "request timed out");
  EXPECT_STREQ(EchoErrorName(11003), "destination host unreachable");
  EXPECT_STREQ(EchoErrorName(123456), "");
}

}  // namespace
}  // namespace pinglog::report
