#include "report/model/worst_hours.h"

#include <algorithm>
#include <array>
#include <map>

#include "support/domain.h"

namespace pinglog::report {
namespace {

constexpr std::int64_t kLeastLost = 10;
constexpr int kLongestWindow = 8;

struct HourWindow {
  int from = 0, length = 0;
  bool Holds(int hour) const { return (hour - from + 24) % 24 < length; }
};

// What one day lost in each hour.
using DayHours = std::array<Requests, 24>;

// Whether an entry is counted: all but those placed nowhere and those of outages
// longer than an hour (`left_out`).
bool Counts(const Entry& e, const std::vector<Outage>& left_out) {
  if (e.off_clock) return false;
  return std::none_of(left_out.begin(), left_out.end(),
                      [&](const Outage& o) { return e.time >= o.start && e.time < o.end; });
}

// The counted entries' requests per day and hour.
struct Counted {
  std::map<LogTime, DayHours> days;  // by midnight
};

Counted CountedEntries(const HostReport& host, std::vector<Outage>& left_out) {
  for (const Outage& o : host.summary.outages) {
    if (o.Seconds() > kLongestCounted) left_out.push_back(o);
  }
  Counted counted;
  DayHours* day = nullptr;  // of the entry before: entries come by time
  LogTime midnight = 0;
  for (const Entry& e : host.entries) {
    if (!Counts(e, left_out)) continue;
    if (day == nullptr || e.time - e.time % kSecondsPerDay != midnight) {
      midnight = e.time - e.time % kSecondsPerDay;
      day = &counted.days[midnight];
    }
    CountCycle(e, (*day)[e.time % kSecondsPerDay / kSecondsPerHour]);
  }
  return counted;
}

double Rate(const Requests& r) {
  return r.sent == 0 ? 0 : static_cast<double>(r.lost) / static_cast<double>(r.sent);
}

Requests Sum(const std::array<Requests, 24>& by_hour, const HourWindow& w, bool inside) {
  Requests sum;
  for (int h = 0; h < 24; ++h) {
    if (w.Holds(h) != inside) continue;
    sum.sent += by_hour[h].sent;
    sum.lost += by_hour[h].lost;
  }
  return sum;
}

// The shortest window (across midnight too) that holds half the loss at kStandsOut
// times the other hours' rate, the one that stands out most; then grown by the hours
// beside it that stand out as well.
std::optional<HourWindow> Window(const std::array<Requests, 24>& by_hour) {
  const Requests all = Sum(by_hour, {0, 24}, true);
  if (all.lost < kLeastLost) return std::nullopt;
  const auto stands_out = [&](const HourWindow& w) {
    const Requests in = Sum(by_hour, w, true), out = Sum(by_hour, w, false);
    return in.sent > 0 && Rate(in) >= kStandsOut * Rate(out) && in.lost * 2 >= all.lost;
  };
  std::optional<HourWindow> best;
  for (int length = 1; length <= kLongestWindow && !best; ++length) {
    double best_rate = 0;
    for (int from = 0; from < 24; ++from) {
      const HourWindow w{from, length};
      if (!stands_out(w) || Rate(Sum(by_hour, w, true)) <= best_rate) continue;
      best = w;
      best_rate = Rate(Sum(by_hour, w, true));
    }
  }
  if (!best) return std::nullopt;
  const double rest = Rate(Sum(by_hour, *best, false));
  for (bool grew = true; grew && best->length < kLongestWindow;) {
    const int before = (best->from + 23) % 24, after = (best->from + best->length) % 24;
    // An hour that lost nothing never stands out, not even beside hours without loss.
    const auto stands = [&](int hour) {
      return by_hour[hour].lost > 0 && Rate(by_hour[hour]) >= kStandsOut * rest;
    };
    grew = stands(before) || stands(after);
    if (stands(before)) {
      best = HourWindow{before, best->length + 1};
    } else if (stands(after)) {
      best = HourWindow{best->from, best->length + 1};
    }
  }
  return best;
}

struct DayCounts {
  std::int64_t shown = 0, counted = 0;
};

// On how many days of each kind (weekday, weekend) the window's hours had entries, and
// on how many they lost at kStandsOut times the other hours' rate.
std::array<DayCounts, 2> CountDays(const Counted& counted, const HourWindow& w, double rest) {
  std::array<DayCounts, 2> kinds{};
  for (const auto& [day, hours] : counted.days) {
    const Requests in = Sum(hours, w, true);
    if (in.sent == 0) continue;
    DayCounts& kind = kinds[Weekend(day) ? 1 : 0];
    ++kind.counted;
    if (in.lost > 0 && Rate(in) >= kStandsOut * rest) ++kind.shown;
  }
  return kinds;
}

bool HoldsOn(const DayCounts& days) {
  return days.shown >= kLeastDays && days.shown * 3 >= days.counted;
}

// The figures inside the window on the days of the kind, and of all other hours.
void Figures(const HostReport& host, WorstHours& worst) {
  const HourWindow w{
      worst.from, (worst.to - worst.from + 24) % 24 == 0 ? 24 : (worst.to - worst.from + 24) % 24};
  RoundTripCounter inside, outside;
  for (const Entry& e : host.entries) {
    if (!Counts(e, worst.left_out)) continue;
    const LogTime day = e.time - e.time % kSecondsPerDay;
    const bool kind = worst.days == WorstHours::Days::kEvery ||
                      (worst.days == WorstHours::Days::kWeekends) == Weekend(day);
    const bool in = kind && w.Holds(static_cast<int>(e.time % kSecondsPerDay / kSecondsPerHour));
    CountCycle(e, (in ? worst.inside : worst.outside).requests, in ? inside : outside);
  }
  for (auto [times_of, figures] :
       {std::pair{&inside, &worst.inside}, std::pair{&outside, &worst.outside}}) {
    const RoundTrip round_trip = times_of->Result();
    figures->replies = round_trip.replies;
    if (round_trip.replies > 0) figures->median = round_trip.median;
  }
}

}  // namespace

bool Weekend(LogTime day) { return WeekdayOf(day / kSecondsPerDay) >= 5; }

std::optional<WorstHours> WorstHoursOf(const HostReport& host) {
  WorstHours worst;
  const Counted counted = CountedEntries(host, worst.left_out);
  std::array<Requests, 24> by_hour{};
  for (const auto& [day, hours] : counted.days) {
    for (int h = 0; h < 24; ++h) {
      by_hour[h].sent += hours[h].sent;
      by_hour[h].lost += hours[h].lost;
    }
  }
  const std::optional<HourWindow> window = Window(by_hour);
  if (!window) return std::nullopt;
  const std::array<DayCounts, 2> kinds =
      CountDays(counted, *window, Rate(Sum(by_hour, *window, false)));
  // Weekdays and weekends apart when they differ; a kind of day the log has none of
  // differs from nothing.
  const bool weekdays = HoldsOn(kinds[0]), weekends = HoldsOn(kinds[1]);
  const bool no_weekdays = kinds[0].counted == 0, no_weekends = kinds[1].counted == 0;
  const DayCounts every{kinds[0].shown + kinds[1].shown, kinds[0].counted + kinds[1].counted};
  const bool apart =
      (weekdays && !weekends && !no_weekends) || (weekends && !weekdays && !no_weekdays);
  if (apart) {
    worst.days = weekdays ? WorstHours::Days::kWeekdays : WorstHours::Days::kWeekends;
    worst.other_days_normal = true;
  } else if (weekdays || weekends || HoldsOn(every)) {
    worst.days = WorstHours::Days::kEvery;
  } else {
    return std::nullopt;  // one event, or a few: no pattern
  }
  const DayCounts& shown = worst.days == WorstHours::Days::kEvery      ? every
                           : worst.days == WorstHours::Days::kWeekdays ? kinds[0]
                                                                       : kinds[1];
  worst.days_shown = shown.shown;
  worst.days_counted = shown.counted;
  worst.from = window->from;
  worst.to = (window->from + window->length) % 24;
  Figures(host, worst);
  return worst;
}

}  // namespace pinglog::report
