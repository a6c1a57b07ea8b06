#include "report/write/drawing/chart_svg.h"

#include <algorithm>

#include "report/write/drawing/chart_layout.h"
#include "report/write/drawing/drawing_words.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

std::string Num(double value) { return FormatFixed(value, 1); }

// From time and milliseconds to the SVG's units.
class Scale {
 public:
  explicit Scale(const ChartModel& chart) : chart_(chart) {}
  double X(std::int64_t time) const {
    return kChartLeft + (kChartRight - kChartLeft) * static_cast<double>(time - chart_.start) /
                            static_cast<double>(chart_.span);
  }
  double Y(int ms) const {
    return kChartBottom -
           (kChartBottom - kChartTop) * std::min(ms, chart_.top) / static_cast<double>(chart_.top);
  }
  double Step() const {
    return (kChartRight - kChartLeft) * static_cast<double>(chart_.width) /
           static_cast<double>(chart_.span);
  }

 private:
  const ChartModel& chart_;
};

void Shade(std::ostream& out, const Scale& at, const char* kind, std::int64_t from, std::int64_t to,
           const std::string& title) {
  out << "<rect class=\"" << kind << "\" x=\"" << Num(at.X(from)) << "\" y=\"" << kChartTop
      << "\" width=\"" << Num(std::max(1.0, at.X(to) - at.X(from))) << "\" height=\""
      << kChartBottom - kChartTop << "\"><title>" << Html(title) << "</title></rect>\n";
}

// Gaps and outages from the model, each with its start, end and length; an outage
// shorter than a bucket is marked under the axis instead.
void WriteShading(std::ostream& out, const Scale& at, const ChartModel& chart,
                  const HostSummary& s) {
  for (const Gap& gap : s.gaps) {
    Shade(out, at, "gap", gap.start, gap.before,
          std::string(kWords.gap) + " " + ReadableTime(gap.start) + " to " +
              ReadableTime(gap.before) + " (" + Duration(gap.Seconds()) + GapNote(s, gap) + ")");
  }
  for (const Outage& o : s.outages) {
    if (ShadedAcross(o, chart)) Shade(out, at, "outage", o.start, o.end, OutageTitle(o));
  }
}

// The next tick at or after `time`: a multiple of the step (weeks start on Monday),
// or the first of a month at a multiple of the step's months.
LogTime NextTick(LogTime time, const TickStep& step) {
  if (step.seconds == 0) {
    const CalendarFields f = SplitTime(time);
    const bool month_start = f.day == 1 && f.hour == 0 && f.minute == 0 && f.second == 0;
    std::int64_t month = std::int64_t{f.year} * 12 + f.month - 1 + (month_start ? 0 : 1);
    month = (month + step.months - 1) / step.months * step.months;
    CalendarFields tick;
    tick.year = static_cast<std::int32_t>(month / 12);
    tick.month = static_cast<std::int32_t>(month % 12 + 1);
    tick.day = 1;
    return ComposeWideTime(tick);
  }
  const std::int64_t offset = step.seconds == kWeekSeconds ? kFirstMonday : 0;
  const std::int64_t from = time - offset;
  return (from + step.seconds - 1) / step.seconds * step.seconds + offset;
}

TickStep TickFor(std::int64_t span) {
  for (const TickStep& step : kTickSteps) {
    const std::int64_t length =
        step.seconds != 0 ? step.seconds : step.months * kAverageMonthSeconds;
    if (span / length <= kMostTicks) return step;
  }
  return kTickSteps.back();
}

void WriteTimeAxis(std::ostream& out, const Scale& at, const ChartModel& chart) {
  const std::int64_t end = chart.start + chart.span;
  if (chart.span <= kMostDayLines * kSecondsPerDay) {  // a light line at the start of each day
    const std::int64_t first_day =
        (chart.start + kSecondsPerDay - 1) / kSecondsPerDay * kSecondsPerDay;
    for (std::int64_t day = first_day; day < end; day += kSecondsPerDay) {
      out << "<line class=\"day\" x1=\"" << Num(at.X(day)) << "\" x2=\"" << Num(at.X(day))
          << "\" y1=\"" << kChartTop << "\" y2=\"" << kChartBottom << "\"/>\n";
    }
  }
  const TickStep step = TickFor(chart.span);
  for (LogTime tick = NextTick(chart.start, step); tick >= 0 && tick < end;
       tick = NextTick(tick + 1, step)) {
    const double x = at.X(tick);
    out << "<line class=\"tick\" x1=\"" << Num(x) << "\" x2=\"" << Num(x) << "\" y1=\""
        << kChartBottom << "\" y2=\"" << kChartBottom + 4 << "\"/><text class=\"time\" x=\""
        << Num(x) << "\" y=\"" << kTimeLabelsY << "\" text-anchor=\"middle\">"
        << FormatTime(step.mask, tick) << "</text>\n";
  }
}

void WriteAxes(std::ostream& out, const Scale& at, const ChartModel& chart, const HostSummary& s) {
  for (const int ms : {0, chart.top / 2, chart.top}) {
    out << "<line class=\"grid\" x1=\"" << kChartLeft << "\" x2=\"" << kChartRight << "\" y1=\""
        << Num(at.Y(ms)) << "\" y2=\"" << Num(at.Y(ms)) << "\"/><text x=\"" << kChartLeft - 6
        << "\" y=\"" << Num(at.Y(ms) + 4) << "\" text-anchor=\"end\">" << ms << " ms</text>\n";
  }
  WriteTimeAxis(out, at, chart);
  out << "<text x=\"" << kChartLeft << "\" y=\"" << kEndLabelsY << "\">"
      << Html(ReadableTime(s.first)) << "</text><text x=\"" << kChartRight << "\" y=\""
      << kEndLabelsY << "\" text-anchor=\"end\">" << Html(ReadableTime(s.last))
      << "</text><text x=\"" << kChartLeft - 6 << "\" y=\"" << kLossTop + 12
      << "\" text-anchor=\"end\">" << kWords.loss_label << "</text>\n";
}

double BucketX(const Scale& at, const ChartBucket& b) { return at.X(b.start); }

// The bands, each a rectangle per bucket, and pinned marks for what lies above.
void WriteSmoke(std::ostream& out, const Scale& at, const ChartModel& chart) {
  for (const SmokeBand& band : kSmokeBands) {
    out << "<path class=\"smoke\" fill-opacity=\"" << band.opacity << "\" d=\"";
    for (const ChartBucket& b : chart.buckets) {
      const ReplyTimes& t = b.times;
      if (t.empty()) continue;
      const double y_high = at.Y(band.high == 100 ? t.Highest() : t.Rank(band.high));
      const double y_low = at.Y(band.low == 0 ? t.Lowest() : t.Rank(band.low));
      out << 'M' << Num(BucketX(at, b)) << ',' << Num(y_high) << 'h' << Num(at.Step()) << 'V'
          << Num(std::max(y_low, y_high + 0.5)) << 'h' << Num(-at.Step()) << 'Z';
    }
    out << "\"/>\n";
  }
  std::int64_t above = 0;
  for (const ChartBucket& b : chart.buckets) {
    const std::int64_t count = b.times.CountAbove(chart.top);
    if (count == 0) continue;
    above += count;
    const double x = BucketX(at, b) + at.Step() / 2;
    out << "<path class=\"above\" d=\"M" << Num(x) << ',' << kChartTop << "l3,5h-6Z\"/>\n";
  }
  out << "<text x=\"" << kChartRight << "\" y=\"" << kChartTop - 6 << "\" text-anchor=\"end\">"
      << Plural(above, kWords.reply, kWords.replies) << " " << kWords.above << " " << chart.top
      << " ms</text>\n";
}

// The median as a stepped line, each bucket's step (and the rise to the next) in the
// colour of its loss.
void WriteMedian(std::ostream& out, const Scale& at, const ChartModel& chart) {
  const std::vector<ChartBucket>& buckets = chart.buckets;
  for (const char* loss : kLossClasses) {
    std::string d;
    for (std::size_t i = 0; i < buckets.size(); ++i) {
      const ChartBucket& b = buckets[i];
      if (b.times.empty() || LossClass(b.requests) != std::string_view(loss)) continue;
      d += 'M' + Num(BucketX(at, b)) + ',' + Num(at.Y(b.times.Rank(50))) + 'h' + Num(at.Step());
      if (i + 1 < buckets.size() && !buckets[i + 1].times.empty()) {
        d += 'V' + Num(at.Y(buckets[i + 1].times.Rank(50)));
      }
    }
    if (!d.empty()) out << "<path class=\"median " << loss << "\" d=\"" << d << "\"/>\n";
  }
}

// "21.03.2021 10:00:00: 3 cycles, 11.1% loss, 10/12/30 ms"
std::string BucketTitle(const ChartBucket& b) {
  std::string title = ReadableTime(b.start) + ": " +
                      Plural(b.requests.cycles, kWords.cycle, kWords.cycles) + ", " +
                      Num(b.requests.LossPercent()) + kWords.loss;
  if (b.requests.not_sent > 0) {
    title += ", " + std::to_string(b.requests.not_sent) + " " + kWords.not_sent;
  }
  if (b.short_outage_seconds > 0) {
    title += std::string(", ") + kWords.down + " " + Duration(b.short_outage_seconds);
  }
  if (!b.times.empty()) {
    title += ", " + std::to_string(b.times.Lowest()) + "/" + std::to_string(b.times.Rank(50)) +
             "/" + std::to_string(b.times.Highest()) + " ms";
  }
  return title;
}

// Per bucket: a loss mark under the axis, and a transparent area with the numbers.
void WriteBuckets(std::ostream& out, const Scale& at, const ChartModel& chart) {
  for (const ChartBucket& b : chart.buckets) {
    if (b.requests.cycles == 0) continue;
    const double x = BucketX(at, b), step = std::max(at.Step(), 1.0);
    if (b.requests.lost > 0 || b.requests.not_sent > 0) {
      out << "<rect class=\""
          << (b.requests.lost > 0 ? "loss " + std::string(LossClass(b.requests)) : "not-sent")
          << "\" x=\"" << Num(x) << "\" y=\"" << kLossTop << "\" width=\"" << Num(step)
          << "\" height=\"" << kLossHeight << "\"/>\n";
    }
    if (b.short_outage_seconds > 0) {  // darkened as high as the share of the bucket it took
      const double share = static_cast<double>(b.short_outage_seconds) / chart.width;
      const double height = std::max(1.0, kLossHeight * std::min(1.0, share));
      out << "<rect class=\"outage-share\" x=\"" << Num(x) << "\" y=\""
          << Num(kLossTop + kLossHeight - height) << "\" width=\"" << Num(step) << "\" height=\""
          << Num(height) << "\"/>\n";
    }
    out << "<rect class=\"bucket\" x=\"" << Num(x) << "\" y=\"" << kChartTop << "\" width=\""
        << Num(at.Step()) << "\" height=\"" << kLossTop + kLossHeight - kChartTop
        << "\" data-start=\"" << IsoTime(b.start) << "\" data-cycles=\"" << b.requests.cycles
        << "\" data-sent=\"" << b.requests.sent << "\" data-lost=\"" << b.requests.lost
        << "\" data-not-sent=\"" << b.requests.not_sent << "\"";
    if (!b.times.empty()) {
      out << " data-min=\"" << b.times.Lowest() << "\" data-median=\"" << b.times.Rank(50)
          << "\" data-max=\"" << b.times.Highest() << "\"";
    }
    out << "><title>" << Html(BucketTitle(b)) << "</title></rect>\n";
  }
}

}  // namespace

std::string OutageTitle(const Outage& o) {
  return std::string(kWords.outage) + " " + ReadableTime(o.start) + " to " + ReadableTime(o.end) +
         " (" + Duration(o.Seconds()) + OutageEndNote(o.ends) + ")";
}

namespace {

// The chart's frame, open: its size and, after it, any attributes it carries.
std::ostream& OpenChart(std::ostream& out) {
  return out << "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 "
                "300\" width=\"1000\" height=\"300\"";
}

}  // namespace

void WriteChartFrame(std::ostream& out) { OpenChart(out) << " data-drawn=\"on view\"></svg>\n"; }

void WriteChart(std::ostream& out, const HostReport& host, const ChartOptions& options) {
  const ChartModel chart = BuildChart(host, options);
  const Scale at(chart);
  OpenChart(out) << " data-bucket-seconds=\"" << chart.width << "\" data-top-ms=\"" << chart.top
                 << "\">\n";
  WriteShading(out, at, chart, host.summary);
  WriteAxes(out, at, chart, host.summary);
  WriteSmoke(out, at, chart);
  WriteMedian(out, at, chart);
  WriteBuckets(out, at, chart);
  out << "</svg>\n";
}

}  // namespace pinglog::report
