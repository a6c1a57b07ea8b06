#include "report/live/follow_logs.h"

#include <chrono>
#include <csignal>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "platform/output_file.h"
#include "report/live/follower.h"
#include "report/logs/duplicates.h"
#include "report/logs/entry_list.h"
#include "report/logs/log_patterns.h"
#include "report/model/metrics_counter.h"
#include "report/write/export_file.h"
#include "report/write/say.h"
#include "report/write/textfile.h"

namespace pinglog::report {
namespace {

volatile std::sig_atomic_t stop_requested = 0;
volatile std::sig_atomic_t rescan_requested = 0;

extern "C" void RequestStop(int) { stop_requested = 1; }
extern "C" void RequestRescan(int) { rescan_requested = 1; }

// What the followed logs add up to, per host, and the logs followed now.
class LiveCounts {
 public:
  LiveCounts(const ZoneTime& zone, const std::string& textfile, const HostNames& names)
      : names_(names),
        counter_(zone, &names_),
        own_files_{textfile, FinalPath(textfile), FinalPath(textfile) + ".partial"} {}

  // Looks at every log the patterns name now; true when new entries came. A log that
  // no pattern names any more (rotated away, removed) is let go and forgotten.
  bool Poll(const std::vector<std::string>& patterns) {
    std::set<std::string> named;
    for (const std::string& pattern : patterns) {
      for (const std::string& path : ExpandLogPattern(pattern)) {
        if (own_files_.count(path) != 0 || !named.insert(path).second) continue;
        if (followers_.count(path) != 0) continue;
        followers_[path] = std::make_unique<LogFollower>(path, logs_, file_numbers_);
      }
    }
    std::erase_if(followers_,
                  [&](const auto& follower) { return named.count(follower.first) == 0; });
    counted_ = false;
    for (auto& [path, follower] : followers_) {
      Say(follower->Poll([this] { return CountAndForget(); }));
      if (stop_requested != 0) break;
    }
    return counted_;
  }

  // Says again what keeps a log from being followed (after SIGHUP).
  void Remind() {
    for (auto& [path, follower] : followers_) follower->Remind();
  }

  // Names the hosts anew by these names (read again after SIGHUP).
  void Rename(HostNames names) {
    names_ = std::move(names);
    counter_.Rename(&names_);
  }

  void Write(std::ostream& out) const { WriteTextfile(out, counter_); }

 private:
  // The entries read so far are counted, but for copies that another log holds, and
  // let go: memory stays flat however long it runs and however long a log's backlog.
  bool CountAndForget() {
    for (const Entry& entry : EntryList(logs_.entries)) {
      if (duplicates_.Keep(entry)) counter_.Count(entry, logs_.hosts[entry.host]);
    }
    counted_ = counted_ || !logs_.entries.empty();
    logs_.entries.clear();
    return stop_requested == 0;
  }

  HostNames names_;
  MetricsCounter counter_;
  DuplicateFilter duplicates_;
  LogSet logs_;  // the hosts, and the entries of a block until they are counted
  std::uint32_t file_numbers_ = 0;
  std::set<std::string> own_files_;  // the textfile: never read as a log
  std::map<std::string, std::unique_ptr<LogFollower>> followers_;
  bool counted_ = false;
};

// Rewrites the textfile; a failure is said once when it begins and once when it ends.
class TextfileWriter {
 public:
  explicit TextfileWriter(const std::string& path) : path_(path) {}
  // `first`: a failure ends the run, and is said as it is.
  bool Write(const LiveCounts& counts, bool first) {
    std::string problem;
    const bool written = Export(
        path_, [&](std::ostream& out) { counts.Write(out); }, problem);
    if (!written && !failing_) Say(first ? problem : problem + ": tried again each round");
    if (written && failing_) Say(path_ + ": written again");
    failing_ = !written;
    return written;
  }

 private:
  std::string path_;
  bool failing_ = false;
};

void HandleSignals() {
  (void)std::signal(SIGTERM, RequestStop);
  (void)std::signal(SIGINT, RequestStop);
#ifdef SIGHUP
  (void)std::signal(SIGHUP, RequestRescan);
#endif
}

// A look a second (the loggers write a line a cycle at most three times a second),
// woken early by a signal.
void Nap() {
  for (int slice = 0; slice < 10 && stop_requested == 0 && rescan_requested == 0; ++slice) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace

int FollowLogs(const std::vector<std::string>& patterns, const std::string& file,
               const ZoneTime& zone, const HostNames& names, const NamesGiven& given) {
  HandleSignals();
  const auto warn = [](const std::string& warning) { Say("warning: " + warning); };
  LiveCounts counts(zone, file, names);
  TextfileWriter textfile(file);
  bool first = true;
  // cppcheck-suppress variableScope ; kept from one round to the next
  bool pending = true;
  while (stop_requested == 0) {
    if (rescan_requested != 0) {  // SIGHUP: the logs and the names looked at anew
      rescan_requested = 0;
      counts.Remind();
      HostNames again;
      const std::string problem = ReadHostNames(given.mappings, given.file, again, warn);
      if (problem.empty()) counts.Rename(std::move(again));
      Say(problem.empty() ? "" : problem + ": the names as they were are kept");
      pending = true;
    }
    pending = counts.Poll(patterns) || pending;
    if (pending && stop_requested == 0) {
      pending = !textfile.Write(counts, first);
      if (pending && first) return 1;  // the first write must work
      first = false;
    }
    Nap();
  }
  return 0;
}

}  // namespace pinglog::report
