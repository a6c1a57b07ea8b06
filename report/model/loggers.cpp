#include "report/model/loggers.h"

#include "report/logs/step_counts.h"

namespace pinglog::report {
namespace {

constexpr std::size_t kMostLoggers = 4;
// Entries in a row that show another logger before it is one: two cycles of chance
// timing are no second logger.
constexpr std::size_t kLeastStretchEntries = 10;
// How close a step must come to a logger's own to be one, and how much shorter one
// must be to be another logger's: the stamps are whole seconds, a cycle takes up to
// 3.3 s.
constexpr std::int64_t kSameStep = 3;
constexpr std::int64_t kShorterStep = 5;

// How many loggers the steps after entry i show: the k whose k-th step is a logger's
// own while the ones before are clearly shorter; 1 when the next step is a logger's own
// or nothing fits.
std::int64_t LoggersAt(const EntryList& placed, std::size_t i, std::int64_t step) {
  const auto after = [&](std::size_t k) {
    return std::int64_t{placed.TimeAt(i + k)} - placed.TimeAt(i);
  };
  for (std::size_t k = 1; k <= kMostLoggers && i + k < placed.size(); ++k) {
    const std::int64_t apart = after(k);
    if (apart > step + kSameStep) return 1;
    if (apart >= step - kSameStep) return static_cast<std::int64_t>(k);
    if (apart > step - kShorterStep) return 1;  // neither one logger's step nor clearly less
  }
  return 1;
}

}  // namespace

Steps StepsOf(const EntryList& placed, std::size_t k) {
  if (placed.size() <= k) return {};
  const MiddleStep middle = MiddleOfSteps(
      k, placed.size(),
      [&](std::size_t i) { return std::int64_t{placed.TimeAt(i)} - placed.TimeAt(i - k); },
      [](std::int64_t) { return true; }, 2);
  return {middle.median, static_cast<double>(middle.near) / static_cast<double>(middle.count)};
}

Loggers CountLoggers(const EntryList& placed) {
  const Steps one = StepsOf(placed, 1);
  if (one.steady >= 0.75) return {1, one};
  for (std::size_t k = 2; k <= kMostLoggers; ++k) {
    const Steps steps = StepsOf(placed, k);
    if (steps.steady >= 0.9 && steps.median >= 30) return {static_cast<std::int64_t>(k), steps};
  }
  return {1, one};
}

std::vector<LoggerStretch> FindLoggerStretches(const EntryList& placed, std::int64_t step) {
  std::vector<LoggerStretch> stretches;
  if (step < 30) return stretches;
  std::size_t first = 0, count = 0;  // the run of entries that show more loggers
  std::int64_t most = 1;
  const auto close = [&](std::size_t end) {
    if (count >= kLeastStretchEntries) {
      stretches.push_back({placed.TimeAt(first), placed.TimeAt(end - 1), most});
    }
    count = 0;
    most = 1;
  };
  for (std::size_t i = 0; i + 1 < placed.size(); ++i) {
    const std::int64_t loggers = LoggersAt(placed, i, step);
    if (loggers == 1) {
      if (count > 0) close(i + 1);
      continue;
    }
    if (count == 0) first = i;
    ++count;
    most = std::max(most, loggers);
  }
  if (count > 0) close(placed.size());
  return stretches;
}

}  // namespace pinglog::report
