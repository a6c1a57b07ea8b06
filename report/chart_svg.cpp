#include "report/chart_svg.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "report/output.h"

namespace pinglog::report {

const char* const kChartStyle =
    ".chart text{font-family:sans-serif;font-size:11px;fill:#444}\n"
    ".grid{stroke:#ddd;stroke-width:1}\n.day{stroke:#eee;stroke-width:1}\n"
    ".tick{stroke:#888;stroke-width:1}\n"
    ".smoke{fill:#56b4e9;stroke:none}\n"
    ".median{fill:none;stroke-width:2}\n"
    ".loss-none{stroke:#0072b2;fill:#0072b2}\n.loss-little{stroke:#e69f00;fill:#e69f00}\n"
    ".loss-much{stroke:#d55e00;fill:#d55e00}\n.loss-total{stroke:#000;fill:#000}\n"
    ".above{fill:#444}\n"
    ".outage{fill:#d55e00;fill-opacity:.15}\n.gap{fill:#999;fill-opacity:.25}\n"
    ".bucket{fill:transparent}\n.not-sent{fill:#cc79a7}\n";

namespace {

constexpr std::int64_t kMostBuckets = 800;
constexpr double kLeft = 60, kRight = 980, kTop = 20, kBottom = 240, kLossTop = 252;

struct Bucket {
  CalendarTime start = 0;
  std::vector<int> times;  // sorted once filled
  Requests requests;
};

std::string Num(double value) { return FormatFixed(value, 1); }

// The loss classes of the median's colour: none, a little (up to 10 %), much, total.
const char* LossClass(const Requests& r) {
  if (r.lost == 0) return "loss-none";
  if (r.lost == r.sent) return "loss-total";
  return r.LossPercent() <= 10 ? "loss-little" : "loss-much";
}

// A round value for a scale: 1, 2 or 5 times a power of ten.
int NiceTop(int value) {
  for (int step = 1;; step *= 10) {
    for (const int m : {1, 2, 5}) {
      if (value <= m * step) return m * step;
    }
  }
}

// Bucket widths that read well, the first that keeps the chart at most kMostBuckets.
std::int64_t BucketWidth(std::int64_t span, std::int64_t period) {
  static constexpr std::int64_t kWidths[] = {1,     2,     5,     10,    15,     30,    60,
                                             120,   300,   600,   900,   1800,   3600,  7200,
                                             10800, 21600, 43200, 86400, 172800, 604800};
  for (const std::int64_t width : kWidths) {
    if (width >= period && span / width <= kMostBuckets) return width;
  }
  return std::max<std::int64_t>(period, (span + kMostBuckets - 1) / kMostBuckets);
}

// The step between time ticks and how a tick is labelled.
struct TickStep {
  std::int64_t seconds;  // 0: months
  const char* mask;
};
TickStep TickFor(std::int64_t span) {
  static constexpr TickStep kSteps[] = {
      {60, "%hh:%ii"},     {300, "%hh:%ii"},     {900, "%hh:%ii"},    {1800, "%hh:%ii"},
      {3600, "%hh:%ii"},   {10800, "%hh:%ii"},   {21600, "%hh:%ii"},  {43200, "%hh:%ii"},
      {86400, "%dd.%mm."}, {172800, "%dd.%mm."}, {604800, "%dd.%mm."}};
  for (const TickStep& step : kSteps) {
    if (span / step.seconds <= 8) return step;
  }
  return {0, "%mm.%yyyy"};
}

// The next tick at or after `time`: a multiple of the step (weeks start on Monday),
// or the first of a month.
CalendarTime NextTick(CalendarTime time, const TickStep& step) {
  if (step.seconds == 0) {
    CalendarFields f = SplitTime(time);
    if (f.day == 1 && f.hour == 0 && f.minute == 0 && f.second == 0) return time;
    f.month = f.month % 12 + 1;
    if (f.month == 1) ++f.year;
    return ComposeTime(f.year, f.month, 1, 0, 0, 0);
  }
  const std::int64_t offset = step.seconds == 604800 ? 345600 : 0;  // 1970-01-05: Monday
  const std::int64_t from = std::int64_t{time} - offset;
  const std::int64_t tick = (from + step.seconds - 1) / step.seconds * step.seconds + offset;
  return static_cast<CalendarTime>(tick);
}

class Chart {
 public:
  Chart(const HostSummary& s, const std::vector<const Entry*>& entries, const ChartOptions& options)
      : s_(s) {
    period_ = std::max<std::int64_t>(1, std::llround(s.period_seconds));
    const bool shared_axis = options.axis_end > options.axis_start;
    start_ = shared_axis ? options.axis_start : s.first;
    const std::int64_t own_end = std::int64_t{s.last} + period_;
    span_ = std::max<std::int64_t>(1, (shared_axis ? options.axis_end : own_end) - start_);
    // Buckets of the interval at least: cycles drift by their own time, so a bucket now
    // and then holds two, and the one beside it none (which is no gap).
    width_ = BucketWidth(span_, std::max<std::int64_t>(1, s.interval_minutes * 60));
    buckets_.resize(static_cast<std::size_t>((span_ + width_ - 1) / width_));
    for (std::size_t i = 0; i < buckets_.size(); ++i) {
      buckets_[i].start = static_cast<CalendarTime>(start_ + static_cast<std::int64_t>(i) * width_);
    }
    for (const Entry* entry : entries) {
      // A wrong clock's stamps are placed nowhere.
      if (entry->off_clock || entry->time < start_ || entry->time - start_ >= span_) continue;
      Bucket& b = buckets_[static_cast<std::size_t>((entry->time - start_) / width_)];
      CountCycle(*entry, b.requests, b.times);
    }
    // The bulk's upper values: each bucket's 75th percentile, rare spikes left out;
    // the scale ends a round value above the 95th percentile of those.
    std::vector<int> upper;
    for (Bucket& b : buckets_) {
      std::sort(b.times.begin(), b.times.end());
      if (!b.times.empty()) upper.push_back(NearestRank(b.times, 75));
    }
    std::sort(upper.begin(), upper.end());
    const int bulk = upper.empty() ? 1 : NearestRank(upper, 95);
    top_ = options.max_ms > 0 ? options.max_ms : NiceTop(std::max(1, bulk + bulk / 2));
  }

  void Write(std::ostream& out) const {
    out << "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 300\""
        << " width=\"1000\" height=\"300\" data-bucket-seconds=\"" << width_ << "\" data-top-ms=\""
        << top_ << "\">\n";
    WriteShading(out);
    WriteAxes(out);
    WriteSmoke(out);
    WriteMedian(out);
    WriteBuckets(out);
    out << "</svg>\n";
  }

 private:
  double X(std::int64_t time) const {
    return kLeft +
           (kRight - kLeft) * static_cast<double>(time - start_) / static_cast<double>(span_);
  }
  double Y(int ms) const {
    return kBottom - (kBottom - kTop) * std::min(ms, top_) / static_cast<double>(top_);
  }
  double BucketX(std::size_t i) const { return X(buckets_[i].start); }
  double Step() const { return (kRight - kLeft) * static_cast<double>(width_) / span_; }

  // Gaps and outages from the summary, each with its start, end and length.
  void WriteShading(std::ostream& out) const {
    const auto shade = [&](const char* kind, std::int64_t from, std::int64_t to,
                           const std::string& what) {
      out << "<rect class=\"" << kind << "\" x=\"" << Num(X(from)) << "\" y=\"" << kTop
          << "\" width=\"" << Num(std::max(1.0, X(to) - X(from))) << "\" height=\""
          << kBottom - kTop << "\"><title>" << what << ' ' << ReadableTime(from) << " to "
          << ReadableTime(static_cast<CalendarTime>(to)) << " (" << Duration(to - from)
          << ")</title></rect>\n";
    };
    for (const Gap& gap : s_.gaps) shade("gap", gap.after + period_, gap.before, "No entries:");
    for (const Outage& o : s_.outages) shade("outage", o.start, o.end + period_, "Outage:");
  }

  void WriteAxes(std::ostream& out) const {
    for (const int ms : {0, top_ / 2, top_}) {
      out << "<line class=\"grid\" x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\""
          << Num(Y(ms)) << "\" y2=\"" << Num(Y(ms)) << "\"/><text x=\"" << kLeft - 6 << "\" y=\""
          << Num(Y(ms) + 4) << "\" text-anchor=\"end\">" << ms << " ms</text>\n";
    }
    const std::int64_t end = start_ + span_;
    if (span_ <= std::int64_t{62} * 86400) {  // a light line at the start of each day
      const std::int64_t first_day = (start_ + 86399) / 86400 * 86400;
      for (std::int64_t day = first_day; day < end; day += 86400) {
        out << "<line class=\"day\" x1=\"" << Num(X(day)) << "\" x2=\"" << Num(X(day)) << "\" y1=\""
            << kTop << "\" y2=\"" << kBottom << "\"/>\n";
      }
    }
    const TickStep step = TickFor(span_);
    for (CalendarTime tick = NextTick(static_cast<CalendarTime>(start_), step); tick < end;
         tick = NextTick(static_cast<CalendarTime>(tick + 1), step)) {
      const double x = X(tick);
      out << "<line class=\"tick\" x1=\"" << Num(x) << "\" x2=\"" << Num(x) << "\" y1=\"" << kBottom
          << "\" y2=\"" << kBottom + 4 << "\"/><text class=\"time\" x=\"" << Num(x)
          << "\" y=\"284\" text-anchor=\"middle\">" << FormatTime(step.mask, tick) << "</text>\n";
    }
    out << "<text x=\"" << kLeft << "\" y=\"298\">" << Html(ReadableTime(s_.first))
        << "</text><text x=\"" << kRight << "\" y=\"298\" text-anchor=\"end\">"
        << Html(ReadableTime(s_.last)) << "</text><text x=\"" << kLeft - 6 << "\" y=\""
        << kLossTop + 12 << "\" text-anchor=\"end\">loss</text>\n";
  }

  // The bands, each a rectangle per bucket, lighter for the wider spread.
  void WriteSmoke(std::ostream& out) const {
    static constexpr struct {
      int low, high;
      const char* opacity;
    } kBands[] = {{0, 100, ".2"}, {10, 90, ".35"}, {25, 75, ".55"}};
    std::int64_t above = 0;
    for (const auto& band : kBands) {
      out << "<path class=\"smoke\" fill-opacity=\"" << band.opacity << "\" d=\"";
      for (std::size_t i = 0; i < buckets_.size(); ++i) {
        const std::vector<int>& t = buckets_[i].times;
        if (t.empty()) continue;
        const double y_high = Y(band.high == 100 ? t.back() : NearestRank(t, band.high));
        const double y_low = Y(band.low == 0 ? t.front() : NearestRank(t, band.low));
        out << 'M' << Num(BucketX(i)) << ',' << Num(y_high) << 'h' << Num(Step()) << 'V'
            << Num(std::max(y_low, y_high + 0.5)) << 'h' << Num(-Step()) << 'Z';
      }
      out << "\"/>\n";
    }
    for (std::size_t i = 0; i < buckets_.size(); ++i) {  // pinned marks for what lies above
      const std::vector<int>& t = buckets_[i].times;
      const auto count = t.end() - std::upper_bound(t.begin(), t.end(), top_);
      if (count == 0) continue;
      above += count;
      const double x = BucketX(i) + Step() / 2;
      out << "<path class=\"above\" d=\"M" << Num(x) << ',' << kTop << "l3,5h-6Z\"/>\n";
    }
    out << "<text x=\"" << kRight << "\" y=\"" << kTop - 6 << "\" text-anchor=\"end\">" << above
        << (above == 1 ? " reply" : " replies") << " above " << top_ << " ms</text>\n";
  }

  // The median as a stepped line, each bucket's step (and the rise to the next) in the
  // colour of its loss.
  void WriteMedian(std::ostream& out) const {
    for (const char* loss : {"loss-none", "loss-little", "loss-much", "loss-total"}) {
      std::string d;
      for (std::size_t i = 0; i < buckets_.size(); ++i) {
        const Bucket& b = buckets_[i];
        if (b.times.empty() || LossClass(b.requests) != std::string_view(loss)) continue;
        d += 'M' + Num(BucketX(i)) + ',' + Num(Y(NearestRank(b.times, 50))) + 'h' + Num(Step());
        if (i + 1 < buckets_.size() && !buckets_[i + 1].times.empty()) {
          d += 'V' + Num(Y(NearestRank(buckets_[i + 1].times, 50)));
        }
      }
      if (!d.empty()) out << "<path class=\"median " << loss << "\" d=\"" << d << "\"/>\n";
    }
  }

  // Per bucket: a loss mark under the axis, and a transparent area with the numbers.
  void WriteBuckets(std::ostream& out) const {
    for (std::size_t i = 0; i < buckets_.size(); ++i) {
      const Bucket& b = buckets_[i];
      if (b.requests.cycles == 0) continue;
      const double x = BucketX(i), step = std::max(Step(), 1.0);
      if (b.requests.lost > 0) {
        out << "<rect class=\"loss " << LossClass(b.requests) << "\" x=\"" << Num(x) << "\" y=\""
            << kLossTop << "\" width=\"" << Num(step) << "\" height=\"16\"/>\n";
      } else if (b.requests.not_sent > 0) {
        out << "<rect class=\"not-sent\" x=\"" << Num(x) << "\" y=\"" << kLossTop << "\" width=\""
            << Num(step) << "\" height=\"16\"/>\n";
      }
      out << "<rect class=\"bucket\" x=\"" << Num(x) << "\" y=\"" << kTop << "\" width=\""
          << Num(Step()) << "\" height=\"" << kLossTop + 16 - kTop << "\" data-start=\""
          << IsoTime(b.start) << "\" data-cycles=\"" << b.requests.cycles << "\" data-sent=\""
          << b.requests.sent << "\" data-lost=\"" << b.requests.lost << "\" data-not-sent=\""
          << b.requests.not_sent << "\"";
      if (!b.times.empty()) {
        out << " data-min=\"" << b.times.front() << "\" data-median=\"" << NearestRank(b.times, 50)
            << "\" data-max=\"" << b.times.back() << "\"";
      }
      out << "><title>" << Html(ReadableTime(b.start)) << ": " << b.requests.cycles
          << (b.requests.cycles == 1 ? " cycle, " : " cycles, ") << Num(b.requests.LossPercent())
          << "% loss";
      if (b.requests.not_sent > 0) out << ", " << b.requests.not_sent << " not sent";
      if (!b.times.empty()) {
        out << ", " << b.times.front() << "/" << NearestRank(b.times, 50) << "/" << b.times.back()
            << " ms";
      }
      out << "</title></rect>\n";
    }
  }

  const HostSummary& s_;
  std::int64_t period_ = 1, start_ = 0, span_ = 1, width_ = 1;
  std::vector<Bucket> buckets_;
  int top_ = 1;
};

}  // namespace

std::string Html(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

ChartOptions SharedAxis(const std::vector<HostSummary>& summaries, ChartOptions options) {
  if (summaries.empty() || options.axis_end > options.axis_start) return options;
  std::int64_t start = summaries.front().first, end = start;
  for (const HostSummary& s : summaries) {
    start = std::min<std::int64_t>(start, s.first);
    end = std::max<std::int64_t>(
        end, std::int64_t{s.last} + std::max<std::int64_t>(1, std::llround(s.period_seconds)));
  }
  options.axis_start = static_cast<CalendarTime>(start);
  options.axis_end = static_cast<CalendarTime>(end);
  return options;
}

void WriteChart(std::ostream& out, const HostSummary& summary,
                const std::vector<const Entry*>& entries, const ChartOptions& options) {
  Chart(summary, entries, options).Write(out);
}

}  // namespace pinglog::report
