// Hand-made entries for the report's tests.
#pragma once

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report::testing {

// An attempt: a reply of `ms` from the target, or with ms < 0 a failure with error
// -ms (kTimedOut: the echo service's time-out), or kRouter for a router's report.
constexpr int kRouter = -1;
constexpr int kTimedOut = -11010;
inline Attempt MakeAttempt(int ms, const Address& target) {
  Attempt a;
  if (ms == kRouter) {
    a.outcome = Outcome::kRouter;
    a.SetSource({198, 51, 100, 254});
  } else if (ms < 0) {
    a.outcome = Outcome::kFailure;
    a.SetError(static_cast<std::uint32_t>(-ms));
  } else {
    a.outcome = Outcome::kReply;
    a.SetSource(target);
    a.bytes = 32;
    a.time_ms = static_cast<std::uint16_t>(ms);
    a.ttl = 64;
  }
  return a;
}

inline Entry MakeEntry(LogTime time, std::initializer_list<int> attempts, std::uint16_t host = 0) {
  Entry entry;
  entry.time = time;
  entry.host = host;
  entry.target = {192, 0, 2, 1};
  int i = 0;
  for (const int ms : attempts) entry.attempts[i++] = MakeAttempt(ms, entry.target);
  return entry;
}

// Minutes from 21.03.2021 10:58:00, a cycle a minute with a gap, a router's report
// and an outage:
//   10:58 10,20,30   10:59 40,50,t/o   11:00 5,5,5   (11:01 and 11:02 missing)
//   11:03 100,router,unreachable   11:04 t/o x3   11:05 t/o x3   11:06 1,2,3
inline std::vector<Entry> SampleEntries() {
  const CalendarTime t0 = ComposeTime(2021, 3, 21, 10, 58, 0);
  constexpr int kUnreachable = -11003;
  return {
      MakeEntry(t0, {10, 20, 30}),
      MakeEntry(t0 + 60, {40, 50, kTimedOut}),
      MakeEntry(t0 + 120, {5, 5, 5}),
      MakeEntry(t0 + 300, {100, kRouter, kUnreachable}),
      MakeEntry(t0 + 360, {kTimedOut, kTimedOut, kTimedOut}),
      MakeEntry(t0 + 420, {kTimedOut, kTimedOut, kTimedOut}),
      MakeEntry(t0 + 480, {1, 2, 3}),
  };
}

// A host of one-minute cycles for the model's tests, at the address 10.0.N>>8.N&255 (N
// its place in the list from 1 where `number` is 0), named "h0", "h1"... by that place
// where `name` is empty:
// an entry each minute from its first to its last but in its gaps, three replies of
// `ms(minute)` (5 ms without it), or three time-outs while down. Spans are [from, to)
// in minutes from the start; a gap's entries are missing from `from` to `to` - 1.
struct MinuteHost {
  std::string name = "";
  int number = 0;
  int hops = 2;
  std::vector<std::array<int, 2>> down = {};
  int first = 0, last = 1439;
  std::vector<std::array<int, 2>> gaps = {};
  std::vector<int> lossy = {};           // minutes that lost one request of three
  std::array<int, 2> degraded = {0, 0};  // its stretch, as FindDegradations gives it
  int (*ms)(int minute) = nullptr;
};

inline bool WithinSpans(const std::vector<std::array<int, 2>>& spans, int minute) {
  return std::any_of(spans.begin(), spans.end(),
                     [&](const auto& s) { return s[0] <= minute && minute < s[1]; });
}

inline HostSummary MinuteHostSummary(const MinuteHost& row, std::size_t index, LogTime start) {
  HostSummary s;
  const int number = row.number ? row.number : static_cast<int>(index + 1);
  s.host = row.name.empty() ? "h" + std::to_string(index) : row.name;
  s.target = {10, 0, static_cast<std::uint8_t>(number >> 8),
              static_cast<std::uint8_t>(number & 255)};
  s.hops = row.hops;
  s.period = 60;
  s.first = start + row.first * 60;
  s.last = start + row.last * 60;
  for (const auto& [from, to] : row.down)
    s.outages.push_back({start + from * 60, start + to * 60, to - from, OutageEnd::kAnswered});
  for (const auto& [from, to] : row.gaps)
    s.gaps.push_back({start + (from - 1) * 60, start + to * 60, start + from * 60, to - from - 1});
  if (row.degraded[1] > row.degraded[0]) {
    Degradation& d = s.degradations.emplace_back();
    d.from = start + row.degraded[0] * 60;
    d.to = start + row.degraded[1] * 60;
    d.slow = true;
  }
  return s;
}

// The hosts of `rows` in `report`, their entries in its store.
inline void AddMinuteHosts(Report& report, const std::vector<MinuteHost>& rows, LogTime start) {
  const std::size_t first_host = report.hosts.size();
  std::vector<std::size_t> starts = {report.logs.entries.size()};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MinuteHost& row = rows[i];
    report.hosts.emplace_back().summary = MinuteHostSummary(row, i, start);
    for (int minute = row.first; minute <= row.last; ++minute) {
      if (WithinSpans(row.gaps, minute)) continue;
      const bool down = WithinSpans(row.down, minute);
      const bool lossy = std::count(row.lossy.begin(), row.lossy.end(), minute) > 0;
      const int ms = row.ms ? row.ms(minute) : 5, first = down || lossy ? kTimedOut : ms,
                others = down ? kTimedOut : ms;
      report.logs.entries.push_back(MakeEntry(start + minute * 60, {first, others, others}));
    }
    starts.push_back(report.logs.entries.size());
  }
  // The lists once the store no longer moves.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    report.hosts[first_host + i].entries =
        EntryList(report.logs.entries, starts[i], starts[i + 1] - starts[i]);
  }
}

// One whole log line as the logger writes it: router1 at 192.0.2.1, three replies of
// `ms`, CR LF.
inline std::string EntryLine(LogTime time, int ms) {
  const std::string reply =
      "Reply from 192.0.2.1:  bytes = 32 time = " + std::to_string(ms) + "ms TTL = 64\t";
  const std::string value = std::to_string(ms);
  return FormatTime("%dd.%mm.%yyyy / %hh:%ii:%ss", time) +
         " -> Pinging router1 [192.0.2.1] with 32 bytes of data:\t" + reply + reply + reply +
         "Ping statistics for router1:   Packets: Sent = 3, Received = 3, Lost = 0 (0% loss)\t"
         "Approximate round trip times in milli-seconds:\tMinimum = " +
         value + "ms,  Maximum = " + value + ",  Average = " + value + ".00ms\r\n";
}

// How often `piece` stands in `text`, overlaps counted.
inline std::size_t CountOf(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

// A file of its own in the system's temporary directory, removed with the object.
class TempFile {
 public:
  explicit TempFile(const std::string& name)
      : path_((std::filesystem::temp_directory_path() /
               ("pinglog-test-" + std::to_string(std::random_device{}()) + "-" + name))
                  .string()) {}
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }
  // Replaces the file's content (`append`: adds to it).
  void Write(const std::string& text, bool append = false) const {
    std::ofstream out(path_, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << text;
  }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  std::string path_;
};

}  // namespace pinglog::report::testing
