#include "report/logs/clock_jumps.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;
constexpr std::int64_t kDay = 86400;

// A stretch of a one-minute log: its cycles, how far its clock was off, and how long
// the logger was off before it (in seconds).
struct Stretch {
  int cycles = 100;
  std::int64_t clock_off = 0;
  std::int64_t off_before = 0;
};

struct JumpRow {
  const char* situation;
  std::vector<Stretch> stretches;
  const char* kept;  // a stretch each: placed as read, moved back, or off the clock
  std::size_t jumps;
};

// What became of each stretch's entries, and the steps the clock check lists.
std::pair<std::string, std::size_t> JumpsOf(const JumpRow& row) {
  std::vector<Entry> entries;
  std::vector<std::size_t> stretch_of;
  std::int64_t now = kStart;
  for (std::size_t s = 0; s < row.stretches.size(); ++s) {
    now += row.stretches[s].off_before;
    for (int k = 0; k < row.stretches[s].cycles; ++k, now += 60) {
      entries.push_back(testing::MakeEntry(now + row.stretches[s].clock_off, {10, 10, 10}));
      entries.back().line = static_cast<std::uint32_t>(entries.size());
      stretch_of.push_back(s);
    }
  }
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"h"};
  logs.entries = EntryStore(entries);
  FindClockJumps(logs);
  std::string kept(row.stretches.size(), ' ');
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry entry = logs.entries[i];
    const char state = entry.off_clock ? 'o' : entry.time != entries[i].time ? 'm' : 'p';
    char& seen = kept[stretch_of[i]];
    seen = seen == ' ' || seen == state ? state : '?';
  }
  return {kept, logs.clock_jumps.size()};
}

// An excursion (a clock set away and back, the log going on as if only its own time
// had passed) is moved back if the log resumes within three steps and a minute of
// where it would; a stretch far from the rest (a day, or the rest's own length) and
// not so bracketed is off the clock if it is entered backwards or ends the log; a step
// forward the clock never comes back from is a logger that was off.
TEST(FindClockJumpsTest, TellsAClockSetWrongFromALoggerThatWasOff) {
  const std::int64_t ahead = 8 * 3600;
  const JumpRow rows[] = {
      {"a log in order", {{}}, "p", 0},
      {"off ten hours between two runs", {{}, {.off_before = 36000}}, "pp", 0},
      {"off three days, on, off ten hours, on",
       {{}, {.off_before = 3 * kDay}, {.off_before = 36000}},
       "ppp",
       0},
      {"8 h ahead for 20 min, corrected, the log resuming two minutes late",
       {{}, {.cycles = 20, .clock_off = ahead}, {.off_before = 120}},
       "pmp",
       2},
      {"the same, a second later: not an excursion",
       {{}, {.cycles = 20, .clock_off = ahead}, {.off_before = 121}},
       "ppp",
       1},
      {"the same, resuming two minutes early",
       {{}, {.cycles = 20, .clock_off = ahead}, {.off_before = -120}},
       "pmp",
       2},
      {"the same, a second earlier still: not an excursion",
       {{}, {.cycles = 20, .clock_off = ahead}, {.off_before = -121}},
       "ppp",
       1},
      {"two equal runs two days apart: the last one's clock is wrong",
       {{}, {.off_before = 2 * kDay}},
       "po",
       1},
      {"set back to end exactly a day before the log began: placed",
       {{}, {.cycles = 50, .clock_off = -kDay - 8940}},
       "pp",
       1},
      {"a second further back: off the clock",
       {{}, {.cycles = 50, .clock_off = -kDay - 8941}},
       "po",
       1},
      {"the last run beginning exactly a day after the rest ended: placed",
       {{}, {.cycles = 50, .off_before = kDay - 60}},
       "pp",
       0},
      {"a second later: the last run's clock is wrong",
       {{}, {.cycles = 50, .off_before = kDay - 59}},
       "po",
       1},
      {"a step of no time, and later one of 200 s: in order",
       {{}, {.cycles = 10, .off_before = -60}, {.off_before = 140}},
       "ppp",
       0},
      {"set back three days, on again an hour late: off the clock between",
       {{}, {.cycles = 20, .clock_off = -3 * kDay}, {.off_before = 3600}},
       "pop",
       2},
      {"set back three days, on an hour later still set back: both off the clock",
       {{}, {.cycles = 20, .clock_off = -3 * kDay}, {.cycles = 20, .clock_off = -3 * kDay + 3600}},
       "poo",
       2},
      {"an excursion 20 h ahead, and a last run 36 h ahead: off the clock",
       {{}, {.cycles = 20, .clock_off = 20 * 3600}, {}, {.cycles = 20, .clock_off = 36 * 3600}},
       "pmpo",
       3},
      {"a run exactly a day after, left backwards to before the log began: placed",
       {{}, {.cycles = 50, .off_before = kDay - 60}, {.cycles = 50, .clock_off = -kDay - 16140}},
       "ppp",
       1},
      {"a second later: off the clock",
       {{}, {.cycles = 50, .off_before = kDay - 59}, {.cycles = 50, .clock_off = -kDay - 16140}},
       "pop",
       2},
      {"set 2 min ahead and back: a step of three minutes is no jump",
       {{}, {.cycles = 20, .clock_off = 120}, {}},
       "ppp",
       1},
      {"set 2 min and a second ahead and back: moved back",
       {{}, {.cycles = 20, .clock_off = 121}, {}},
       "pmp",
       2},
  };
  for (const JumpRow& row : rows) {
    const auto [kept, jumps] = JumpsOf(row);
    EXPECT_EQ(kept, row.kept) << row.situation;
    EXPECT_EQ(jumps, row.jumps) << row.situation;
  }
}

}  // namespace
}  // namespace pinglog::report
