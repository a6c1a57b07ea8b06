#include "report/write/lines_in_turns.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace pinglog::report {
namespace {

// About half a megabyte of lines a run.
constexpr std::size_t kLinesPerRun = 8192;
// Runs made ahead and not yet written, at most.
constexpr std::size_t kRunsAhead = 2;

// The runs one thread makes for the other to write, and their buffers, handed back.
class HandOver {
 public:
  // Hands on a run's lines, waiting while kRunsAhead are not yet taken; false once the
  // writer has stopped.
  bool Hand(GatheredLines lines) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || runs_.size() < kRunsAhead; });
    if (stopped_) return false;
    runs_.push_back(std::move(lines));
    changed_.notify_all();
    return true;
  }
  // A buffer written before, if there is one, to gather the next run in.
  std::vector<char> Room() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (spare_.empty()) return {};
    std::vector<char> room = std::move(spare_.back());
    spare_.pop_back();
    return room;
  }
  // The maker is done: it has handed on every run, or failed.
  void End(std::exception_ptr failure) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    failure_ = std::move(failure);
    changed_.notify_all();
  }
  // Writes the next run (waiting for it), or throws what the maker threw.
  void WriteNext(SampleWriter& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return ended_ || !runs_.empty(); });
    if (runs_.empty()) {
      if (failure_) std::rethrow_exception(failure_);
      return;
    }
    GatheredLines run = std::move(runs_.front());
    runs_.pop_front();
    changed_.notify_all();
    lock.unlock();
    out.Lines(run);
    lock.lock();
    spare_.push_back(std::move(run.buffer));
  }
  void Stop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<GatheredLines> runs_;
  std::vector<std::vector<char>> spare_;
  bool ended_ = false, stopped_ = false;
  std::exception_ptr failure_;
};

struct Stopped {};

// The other thread's part: the odd runs, each handed on when made.
void MakeOddRuns(HandOver& hand_over, std::size_t points, std::size_t run, const SampleWalk& walk,
                 const PointLines& lines) {
  try {
    SampleWriter writer(hand_over.Room());
    std::size_t point = 0;
    walk([&](const HostMetrics& counts, std::string_view end) {
      const std::size_t at = point++;
      if (at / run % 2 == 0) return;
      lines(writer, counts, end);
      if (at % run == run - 1 || at + 1 == points) {
        if (!hand_over.Hand(writer.Take(hand_over.Room()))) throw Stopped{};
      }
    });
    hand_over.End(nullptr);
  } catch (const Stopped&) {
    hand_over.End(nullptr);
  } catch (...) {
    hand_over.End(std::current_exception());
  }
}

}  // namespace

void WriteLinesInTurns(SampleWriter& out, std::size_t points, std::size_t lines_per_point,
                       const SampleWalk& walk, const PointLines& lines) {
  const std::size_t run =
      std::max<std::size_t>(1, kLinesPerRun / std::max<std::size_t>(1, lines_per_point));
  const auto alone = [&] {
    walk([&](const HostMetrics& counts, std::string_view end) { lines(out, counts, end); });
  };
  if (points <= run || std::thread::hardware_concurrency() < 2) return alone();
  HandOver hand_over;
  std::thread maker;
  try {
    maker = std::thread([&] { MakeOddRuns(hand_over, points, run, walk, lines); });
  } catch (const std::system_error&) {  // no thread to be had: all here
    return alone();
  }
  struct Joined {
    HandOver& hand_over;
    std::thread& maker;
    ~Joined() {
      hand_over.Stop();
      maker.join();
    }
  } joined{hand_over, maker};
  std::size_t point = 0;
  walk([&](const HostMetrics& counts, std::string_view end) {
    const std::size_t at = point++;
    if (at / run % 2 == 1) return;
    if (at > 0 && at % run == 0) hand_over.WriteNext(out);  // the run before, made beside
    lines(out, counts, end);
  });
  if ((points + run - 1) / run % 2 == 0) hand_over.WriteNext(out);  // the last run
}

}  // namespace pinglog::report
