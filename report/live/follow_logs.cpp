#include "report/live/follow_logs.h"

#include <chrono>
#include <csignal>
#include <iostream>
#include <map>
#include <memory>
#include <thread>

#include "report/live/follower.h"
#include "report/live/log_patterns.h"
#include "report/model/metrics_counter.h"
#include "report/write/export_file.h"
#include "report/write/textfile.h"

namespace pinglog::report {
namespace {

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) { stop_requested = 1; }

// What the followed logs add up to, per host, and the logs followed so far.
class LiveCounts {
 public:
  explicit LiveCounts(const ZoneTime& zone) : counter_(zone) {}

  // Looks at every log the patterns name now; true when new entries came.
  bool Poll(const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns) {
      for (const std::string& path : ExpandLogPattern(pattern)) {
        if (followers_.count(path) != 0) continue;
        logs_.files.push_back(path);
        followers_[path] = std::make_unique<LogFollower>(
            path, logs_, static_cast<std::uint16_t>(logs_.files.size() - 1));
      }
    }
    for (auto& [path, follower] : followers_) follower->Poll();
    if (logs_.entries.empty()) return false;
    for (const Entry& entry : logs_.entries) counter_.Count(entry, logs_.hosts[entry.host]);
    logs_.entries.clear();  // counted: memory stays flat however long it runs
    return true;
  }

  void Write(std::ostream& out) const { WriteTextfile(out, counter_); }

 private:
  MetricsCounter counter_;
  LogSet logs_;
  std::map<std::string, std::unique_ptr<LogFollower>> followers_;
};

}  // namespace

int FollowLogs(const std::vector<std::string>& patterns, const std::string& file,
               const ZoneTime& zone) {
  (void)std::signal(SIGTERM, RequestStop);
  (void)std::signal(SIGINT, RequestStop);
  LiveCounts counts(zone);
  bool first = true;
  // cppcheck-suppress variableScope ; kept from one round to the next
  bool pending = true;
  while (stop_requested == 0) {
    pending = counts.Poll(patterns) || pending;
    if (pending) {
      // The first write must work; a later failure (a full disk) is said and retried.
      std::string problem;
      pending = !Export(
          file, [&](std::ostream& out) { counts.Write(out); }, problem);
      if (pending) {
        std::cerr << "pinglog-report: " << problem << '\n';
        if (first) return 1;
      }
      first = false;
    }
    // A look a second: the loggers write a line a cycle at most three times a second.
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  return 0;
}

}  // namespace pinglog::report
