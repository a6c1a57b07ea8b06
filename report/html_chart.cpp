// The self-contained page: per host, the summary, an SVG chart over time and the
// per-day (or per-hour) table. The chart draws, per time bucket, the round-trip band
// from minimum to maximum with the median as a line, loss as marks under the axis,
// and shades buckets that fall in an outage (no reply at all) or a gap (no entry).
// Requests that never left the machine are marked apart from loss.
// Each bucket carries its numbers in data attributes and a tooltip.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "report/output.h"

namespace pinglog::report {
namespace {

constexpr std::int64_t kMostBuckets = 1500;
constexpr int kChartHeight = 300;

// The chart's own look, for the page and for a chart standing alone.
constexpr const char* kChartStyle =
    ".chart text{font-family:sans-serif;font-size:11px;fill:#444}\n"
    ".grid{stroke:#ccc;stroke-width:1}\n"
    ".band{fill:#7fb3e6;fill-opacity:.6;stroke:none}\n"
    ".median{fill:none;stroke:#1f4e8c;stroke-width:1.5}\n"
    ".loss{fill:#d62728}\n.outage{fill:#d62728;fill-opacity:.18}\n"
    ".gap{fill:#999;fill-opacity:.25}\n.bucket{fill:transparent}\n"
    ".not-sent{fill:#7b3294;fill-opacity:.6}\n";
constexpr double kLeft = 60, kRight = 980, kTop = 20, kBottom = 240, kLossTop = 252;

struct Bucket {
  CalendarTime start = 0;
  std::vector<int> times;
  Requests requests;
  int answered_cycles = 0, sending_cycles = 0;
  bool in_gap = false;
  RoundTrip round_trip;
};

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

std::string Num(double value) { return FormatFixed(value, 1); }

std::string Point(double x, double y) {
  std::string point = Num(x);
  point += ',';
  point += Num(y);
  return point;
}

std::vector<Bucket> MakeBuckets(const HostSummary& s, const std::vector<const Entry*>& entries,
                                std::int64_t& width) {
  // Buckets of the interval at least: cycles drift by their own time, so a bucket now
  // and then holds two, and the one beside it none (which is no gap).
  const std::int64_t period = std::max<std::int64_t>(1, s.interval_minutes * 60);
  const std::int64_t span = static_cast<std::int64_t>(s.last) - s.first + period;
  width = std::max<std::int64_t>(period, (span + kMostBuckets - 1) / kMostBuckets);
  std::vector<Bucket> buckets(static_cast<std::size_t>((span + width - 1) / width));
  for (std::size_t i = 0; i < buckets.size(); ++i) {
    buckets[i].start = static_cast<CalendarTime>(s.first + static_cast<std::int64_t>(i) * width);
  }
  for (const Entry* entry : entries) {
    if (entry->off_clock) continue;  // a wrong clock's stamps are placed nowhere
    Bucket& bucket = buckets[static_cast<std::size_t>((entry->time - s.first) / width)];
    const CycleCounts counts = CountCycle(*entry, bucket.requests, bucket.times);
    bucket.answered_cycles += counts.replies > 0 ? 1 : 0;
    bucket.sending_cycles += counts.sent > 0 ? 1 : 0;
  }
  // An empty bucket is a gap only within one of the summary's gaps: a cycle may take
  // longer than a bucket.
  for (const Gap& gap : s.gaps) {
    for (auto i = static_cast<std::size_t>((gap.after - s.first) / width + 1);
         i < buckets.size() && buckets[i].start < gap.before; ++i) {
      buckets[i].in_gap = buckets[i].requests.cycles == 0;
    }
  }
  for (Bucket& bucket : buckets) bucket.round_trip = RoundTripOf(bucket.times);
  return buckets;
}

// A scale top that reads well: 1, 2 or 5 times a power of ten.
int NiceTop(int value) {
  int step = 1;
  while (true) {
    for (const int m : {1, 2, 5}) {
      if (value <= m * step) return m * step;
    }
    step *= 10;
  }
}

void WriteChart(std::ostream& out, const HostSummary& s, const std::vector<const Entry*>& entries) {
  std::int64_t width = 1;
  const std::vector<Bucket> buckets = MakeBuckets(s, entries, width);
  int highest = 1;
  for (const Bucket& b : buckets) {
    if (b.round_trip.replies > 0) highest = std::max(highest, b.round_trip.maximum);
  }
  const int top = NiceTop(highest);
  const double step = (kRight - kLeft) / static_cast<double>(buckets.size());
  const auto x = [&](std::size_t i) { return kLeft + step * static_cast<double>(i); };
  const auto y = [&](double ms) { return kBottom - (kBottom - kTop) * ms / top; };

  out << "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 "
      << kChartHeight << "\" width=\"1000\" height=\"" << kChartHeight << "\""
      << " data-bucket-seconds=\"" << width << "\" data-top-ms=\"" << top << "\">\n";
  // Shading: runs of buckets in an outage (cycles, none answered) or a gap (no cycle).
  for (std::size_t i = 0; i < buckets.size();) {
    const auto kind = [&](std::size_t k) {
      if (buckets[k].in_gap) return 1;
      return buckets[k].sending_cycles > 0 && buckets[k].answered_cycles == 0 ? 2 : 0;
    };
    std::size_t j = i + 1;
    while (j < buckets.size() && kind(j) == kind(i)) ++j;
    if (kind(i) != 0) {
      out << "<rect class=\"" << (kind(i) == 1 ? "gap" : "outage") << "\" x=\"" << Num(x(i))
          << "\" y=\"" << kTop << "\" width=\"" << Num(step * static_cast<double>(j - i))
          << "\" height=\"" << kBottom - kTop << "\"/>\n";
    }
    i = j;
  }
  // Axis and scale.
  for (const int ms : {0, top / 2, top}) {
    out << "<line class=\"grid\" x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\"" << Num(y(ms))
        << "\" y2=\"" << Num(y(ms)) << "\"/><text x=\"" << kLeft - 6 << "\" y=\"" << Num(y(ms) + 4)
        << "\" text-anchor=\"end\">" << ms << " ms</text>\n";
  }
  out << "<text x=\"" << kLeft << "\" y=\"292\">" << Html(ReadableTime(s.first))
      << "</text><text x=\"" << kRight << "\" y=\"292\" text-anchor=\"end\">"
      << Html(ReadableTime(s.last)) << "</text><text x=\"" << kLeft - 6 << "\" y=\""
      << kLossTop + 12 << "\" text-anchor=\"end\">loss</text>\n";
  // The band and the median, one path per run of buckets with replies.
  std::string band, median;
  for (std::size_t i = 0; i < buckets.size();) {
    if (buckets[i].round_trip.replies == 0) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < buckets.size() && buckets[j].round_trip.replies > 0) ++j;
    // Along the maxima to the right, back along the minima to the left.
    for (std::size_t k = i; k < j; ++k) {
      const double top_y = y(buckets[k].round_trip.maximum);
      band += k == i ? 'M' : 'L';
      band += Point(x(k), top_y);
      band += 'L';
      band += Point(x(k) + step, top_y);
      median += k == i ? 'M' : 'L';
      median += Point(x(k) + step / 2, y(buckets[k].round_trip.median));
    }
    for (std::size_t k = j; k-- > i;) {
      const double bottom_y = y(buckets[k].round_trip.minimum);
      band += 'L';
      band += Point(x(k) + step, bottom_y);
      band += 'L';
      band += Point(x(k), bottom_y);
    }
    band += 'Z';
    i = j;
  }
  out << "<path class=\"band\" d=\"" << band << "\"/>\n<path class=\"median\" d=\"" << median
      << "\"/>\n";
  // Per bucket: loss marks, and a transparent area with the numbers.
  for (std::size_t i = 0; i < buckets.size(); ++i) {
    const Bucket& b = buckets[i];
    if (b.requests.cycles == 0) continue;
    const double loss = b.requests.LossPercent();
    if (b.requests.lost > 0) {
      out << "<rect class=\"loss\" x=\"" << Num(x(i)) << "\" y=\"" << kLossTop << "\" width=\""
          << Num(std::max(step, 1.0)) << "\" height=\"16\" fill-opacity=\""
          << Num(0.2 + 0.8 * loss / 100) << "\"/>\n";
    } else if (b.requests.not_sent > 0) {
      out << "<rect class=\"not-sent\" x=\"" << Num(x(i)) << "\" y=\"" << kLossTop << "\" width=\""
          << Num(std::max(step, 1.0)) << "\" height=\"16\"/>\n";
    }
    out << "<rect class=\"bucket\" x=\"" << Num(x(i)) << "\" y=\"" << kTop << "\" width=\""
        << Num(step) << "\" height=\"" << kLossTop + 16 - kTop << "\" data-start=\""
        << IsoTime(b.start) << "\" data-cycles=\"" << b.requests.cycles << "\" data-sent=\""
        << b.requests.sent << "\" data-lost=\"" << b.requests.lost << "\" data-not-sent=\""
        << b.requests.not_sent << "\"";
    if (b.round_trip.replies > 0) {
      out << " data-min=\"" << b.round_trip.minimum << "\" data-median=\"" << b.round_trip.median
          << "\" data-max=\"" << b.round_trip.maximum << "\"";
    }
    out << "><title>" << Html(ReadableTime(b.start)) << ": " << b.requests.cycles << " cycles, "
        << Num(loss) << "% loss";
    if (b.requests.not_sent > 0) out << ", " << b.requests.not_sent << " not sent";
    if (b.round_trip.replies > 0) {
      out << ", " << b.round_trip.minimum << "/" << b.round_trip.median << "/"
          << b.round_trip.maximum << " ms";
    }
    out << "</title></rect>\n";
  }
  out << "</svg>\n";
}

}  // namespace

void WriteHtml(std::ostream& out, const std::vector<HostSummary>& summaries,
               const std::vector<std::vector<const Entry*>>& entries_by_host,
               const std::vector<std::string>& files) {
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<title>pinglog report</title>\n<style>\n"
         "body{font-family:sans-serif;margin:2em;color:#222;background:#fff}\n"
         "pre{background:#f6f6f6;padding:1em;overflow:auto}\n"
         ".chart{width:100%;max-width:1000px;height:auto;display:block;margin:1em 0}\n"
      << kChartStyle
      << ".key span{display:inline-block;width:1em;height:1em;margin:0 .3em 0 "
         "1em;vertical-align:middle}\n"
         "</style></head><body>\n<h1>pinglog report</h1>\n"
         "<p>Times are local wall-clock times as the logger wrote them, without a time zone.</p>\n"
         "<p class=\"key\"><span style=\"background:#7fb3e6\"></span>round trip, minimum to "
         "maximum<span style=\"background:#1f4e8c\"></span>median<span "
         "style=\"background:#d62728\">"
         "</span>loss<span style=\"background:#b58fc9\"></span>not sent (never left the "
         "machine)<span style=\"background:#f5caca\"></span>outage<span "
         "style=\"background:#ddd\">"
         "</span>no entries</p>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    out << "<h2>" << Html(summaries[i].host) << "</h2>\n";
    WriteChart(out, summaries[i], entries_by_host[i]);
    std::ostringstream text;
    WriteSummaryText(text, summaries[i], files);
    out << "<pre>" << Html(text.str()) << "</pre>\n";
  }
  out << "</body></html>\n";
}

void WriteSvg(std::ostream& out, const std::vector<HostSummary>& summaries,
              const std::vector<std::vector<const Entry*>>& entries_by_host) {
  constexpr int kPerHost = kChartHeight + 30;
  const auto height = static_cast<int>(summaries.size()) * kPerHost;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 " << height
      << "\" width=\"1000\" height=\"" << height << "\">\n<style>\n"
      << kChartStyle << ".host{font-family:sans-serif;font-size:14px;font-weight:bold}\n"
      << "</style>\n<rect width=\"1000\" height=\"" << height << "\" fill=\"#fff\"/>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const auto top = static_cast<int>(i) * kPerHost;
    out << "<text class=\"host\" x=\"" << kLeft << "\" y=\"" << top + 20 << "\">"
        << Html(summaries[i].host) << " (" << FormatAddress(summaries[i].target) << ")</text>\n"
        << "<g transform=\"translate(0," << top + 26 << ")\">\n";
    WriteChart(out, summaries[i], entries_by_host[i]);
    out << "</g>\n";
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
