#include "report/model/loggers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;

// One logger every `step` seconds from kStart on for `cycles`, and beside it, from its
// cycle `from` on for `both` cycles, another whose entries come `phase` seconds after
// each of its own (and a third, fourth and fifth, unless 0).
struct Writers {
  int step = 60, cycles = 60;
  int phase = 20, from = 20, both = 0, third = 0, fourth = 0, fifth = 0;
};

std::vector<Entry> EntriesOf(const Writers& w) {
  std::vector<Entry> entries;
  for (int i = 0; i < w.cycles; ++i) {
    entries.push_back(testing::MakeEntry(kStart + i * w.step, {5, 5, 5}));
    if (i < w.from || i >= w.from + w.both) continue;
    for (const int phase : {w.phase, w.third, w.fourth, w.fifth}) {
      if (phase > 0) entries.push_back(testing::MakeEntry(kStart + i * w.step + phase, {5, 5, 5}));
    }
  }
  return entries;
}

std::string StretchesOf(const Writers& w, std::int64_t step) {
  const EntryStore store(EntriesOf(w));
  std::string said;
  for (const LoggerStretch& s : FindLoggerStretches(EntryList(store), step)) {
    said += std::to_string(s.from - kStart) + "-" + std::to_string(s.to - kStart) + " by " +
            std::to_string(s.loggers) + ";";
  }
  return said;
}

// A second logger beside one of 60 s: told where its entries come clearly between the
// first one's (at least 5 s from either) for ten entries in a row, the first one's own
// steps within 3 s of 60; never for a step under 30 s. A stretch runs from the first
// logger's entry before the other's first to the other's last.
TEST(FindLoggerStretchesTest, TellsASecondLoggerOnlyWithinTheRulesBounds) {
  const struct {
    const char* situation;
    Writers writers;
    std::int64_t step = 60;
    std::string says;  // each stretch: its first and last entry's second, the loggers
  } rows[] = {
      {"one logger alone", {}, 60, ""},
      {"a second, 20 s after, for 30 cycles", {.both = 30}, 60, "1200-2960 by 2;"},
      {"five cycles of two loggers: nine entries in a row show it", {.both = 5}, 60, ""},
      {"four loggers", {.phase = 15, .both = 5, .third = 30, .fourth = 45}, 60, "1200-1455 by 4;"},
      {"four cycles of three: ten entries in a row",
       {.both = 4, .third = 40},
       60,
       "1200-1400 by 3;"},
      {"55 s after: 5 s before the first's next", {.phase = 55, .both = 30}, 60, "1200-2995 by 2;"},
      {"56 s after: too close to tell", {.phase = 56, .both = 30}, 60, ""},
      {"5 s after", {.phase = 5, .both = 30}, 60, "1200-2945 by 2;"},
      {"the first's steps 63 s where 60 are expected",
       {.step = 63, .both = 30},
       60,
       "1260-3107 by 2;"},
      {"the first's steps 64 s", {.step = 64, .both = 30}, 60, ""},
      {"the first's steps 57 s", {.step = 57, .both = 30}, 60, "1140-2813 by 2;"},
      {"the first's steps 56 s", {.step = 56, .both = 30}, 60, ""},
      {"steps of 30 s, 10 s apart", {.step = 30, .phase = 10, .both = 30}, 30, "600-1480 by 2;"},
      {"steps of 29 s: back to back, no phase to tell",
       {.step = 29, .phase = 10, .both = 30},
       29,
       ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    EXPECT_EQ(StretchesOf(row.writers, row.step), row.says);
  }
}

// How many loggers wrote a whole log: the k whose steps to the k-th entry after are
// steady (and 30 s at least) where the steps to the next are not; at most four.
TEST(CountLoggersTest, FindsUpToFourLoggersByTheirSteadySteps) {
  const struct {
    const char* situation;
    Writers writers;
    std::int64_t loggers, step;
  } rows[] = {
      {"one logger", {}, 1, 60},
      {"two, 17 s apart", {.phase = 17, .from = 0, .both = 60}, 2, 60},
      {"three", {.phase = 10, .from = 0, .both = 60, .third = 25}, 3, 60},
      {"four", {.phase = 10, .from = 0, .both = 60, .third = 25, .fourth = 40}, 4, 60},
      {"five, unevenly apart: more than four are not told apart",
       {.phase = 10, .from = 0, .both = 60, .third = 20, .fourth = 35, .fifth = 45},
       1,
       10},
      {"two of 30 s, 10 s apart", {.step = 30, .phase = 10, .from = 0, .both = 60}, 2, 30},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    const EntryStore store(EntriesOf(row.writers));
    const Loggers loggers = CountLoggers(EntryList(store));
    EXPECT_EQ(loggers.count, row.loggers);
    EXPECT_EQ(loggers.steps.median, row.step);
  }
}

}  // namespace
}  // namespace pinglog::report
