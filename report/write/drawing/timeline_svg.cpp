#include "report/write/drawing/timeline_svg.h"
#include "report/write/host_words.h"

#include <algorithm>

#include "report/write/drawing/chart_layout.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/incident_words.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {}  // namespace

StripLook LookOf(StripState state) {
  switch (state) {
    case StripState::kAnswered:
      return {"strip-answered", "answered"};
    case StripState::kLoss:
      return {"strip-loss", "some requests lost"};
    case StripState::kNoEntries:
      return {"strip-no-entries", "no entries"};
    case StripState::kDown:
      return {"strip-down", "down"};
    case StripState::kNone:
      break;
  }
  return {"", ""};
}

namespace {

const char* StripClass(StripState state) { return LookOf(state).css_class; }
const char* StripWords(StripState state) { return LookOf(state).words; }

// A host's row of the strips, and how it is drawn.
struct StripRow {
  const Timeline& t;
  std::size_t host;
  StripDetail detail;
};

// The buckets [b, e) of a row in one state: titled with its words and times, or (compact)
// carrying the buckets for the page's script to title.
void WriteRun(std::ostream& out, const StripRow& row, std::size_t b, std::size_t e,
              StripState state) {
  const Timeline& t = row.t;
  const double scale = (kChartRight - kChartLeft) / static_cast<double>(t.span);
  const LogTime from = t.start + static_cast<std::int64_t>(b) * t.width;
  const LogTime to = std::min(t.start + t.span, t.start + static_cast<std::int64_t>(e) * t.width);
  out << "<rect class=\"" << StripClass(state) << "\" x=\""
      << FormatFixed(kChartLeft + scale * static_cast<double>(from - t.start), 1) << "\" y=\""
      << FormatFixed(kTimelineRow * static_cast<double>(row.host) + 13, 1) << "\" width=\""
      << FormatFixed(std::max(0.5, scale * static_cast<double>(to - from)), 1)
      << "\" height=\"10\"";
  if (row.detail == StripDetail::kCompact) {
    out << " data-b=\"" << b << ' ' << e << "\"/>\n";
    return;
  }
  out << "><title>"
      << Html(std::string(StripWords(state)) + ": " + ReadableTime(from) + " to " +
              ReadableTime(to))
      << "</title></rect>\n";
}

// Compact: each stretch of a row with entries answered, under the runs of other states.
void WriteAnsweredUnder(std::ostream& out, const StripRow& row) {
  const std::vector<StripState>& strip = row.t.strips[row.host];
  for (std::size_t b = 0; b < strip.size();) {
    std::size_t e = b;
    while (e < strip.size() && strip[e] != StripState::kNone) ++e;
    if (e > b) WriteRun(out, row, b, e, StripState::kAnswered);
    b = std::max(e, b + 1);
  }
}

}  // namespace

int TimelineHeight(const Timeline& timeline) {
  return static_cast<int>(kTimelineRow * static_cast<double>(timeline.strips.size()) + 36);
}

namespace {

// Under the strips: what the colours mean.
void WriteKey(std::ostream& out, double y) {
  double x = kChartLeft;
  for (const StripState state :
       {StripState::kAnswered, StripState::kLoss, StripState::kDown, StripState::kNoEntries}) {
    out << "<rect class=\"" << StripClass(state) << "\" x=\"" << FormatFixed(x, 1) << "\" y=\""
        << FormatFixed(y - 9, 1) << "\" width=\"10\" height=\"10\"/><text x=\""
        << FormatFixed(x + 14, 1) << "\" y=\"" << FormatFixed(y, 1) << "\">" << StripWords(state)
        << "</text>\n";
    x += 150;
  }
}

}  // namespace

namespace {

// The strips' runs of one host.
void WriteRow(std::ostream& out, const StripRow& row) {
  if (row.detail == StripDetail::kCompact) WriteAnsweredUnder(out, row);
  const std::vector<StripState>& strip = row.t.strips[row.host];
  for (std::size_t b = 0; b < strip.size();) {
    std::size_t e = b + 1;
    while (e < strip.size() && strip[e] == strip[b]) ++e;
    const bool under = row.detail == StripDetail::kCompact && strip[b] == StripState::kAnswered;
    if (strip[b] != StripState::kNone && !under) WriteRun(out, row, b, e, strip[b]);
    b = e;
  }
}

// Compact: the rows past the first kStripRowsAhead in chunks of as many, each a
// placeholder as tall as its rows, its runs in `later` as inert text for the page's
// script to put in its place when it comes near the view.
void WriteRowsLater(std::ostream& out, std::ostream& later, const Timeline& t) {
  for (std::size_t first = kStripRowsAhead; first < t.strips.size(); first += kStripRowsAhead) {
    const std::size_t end = std::min(t.strips.size(), first + kStripRowsAhead);
    const std::size_t chunk = first / kStripRowsAhead;
    out << "<rect class=\"strip-later\" data-chunk=\"" << chunk << "\" x=\"" << kChartLeft
        << "\" y=\"" << FormatFixed(kTimelineRow * static_cast<double>(first) + 13, 1)
        << "\" width=\"" << kChartRight - kChartLeft << "\" height=\""
        << FormatFixed(kTimelineRow * static_cast<double>(end - first), 1) << "\"/>\n";
    later << "<script type=\"text/html\" class=\"strip-rows\" data-chunk=\"" << chunk << "\">";
    for (std::size_t h = first; h < end; ++h)
      WriteRow(later, StripRow{t, h, StripDetail::kCompact});
    later << "</script>\n";
  }
}

}  // namespace

void WriteTimeline(std::ostream& out, const Report& report, const Timeline& t, StripDetail detail,
                   std::ostream* later) {
  out << "<g class=\"timeline\">\n";
  for (std::size_t h = 0; h < t.strips.size(); ++h) {
    const HostSummary& s = report.hosts[h].summary;
    out << "<text class=\"strip-host\" x=\"" << kChartLeft << "\" y=\""
        << FormatFixed(kTimelineRow * static_cast<double>(h) + 10, 1) << "\">"
        << Html(CalledWithHops(s)) << "</text>\n";
  }
  out << "<g id=\"strips\"";
  if (detail == StripDetail::kCompact) {
    out << " data-start=\"" << t.start << "\" data-width=\"" << t.width << "\" data-end=\""
        << t.start + t.span << "\"";
  }
  out << ">\n";
  const bool chunked = detail == StripDetail::kCompact && later != nullptr;
  const std::size_t drawn = chunked ? std::min(t.strips.size(), kStripRowsAhead) : t.strips.size();
  for (std::size_t h = 0; h < drawn; ++h) WriteRow(out, StripRow{t, h, detail});
  if (chunked) WriteRowsLater(out, *later, t);
  const double bottom = kTimelineRow * static_cast<double>(t.strips.size()) + 8;
  out << "<text x=\"" << kChartLeft << "\" y=\"" << FormatFixed(bottom, 1) << "\">"
      << ReadableTime(t.start) << "</text><text x=\"" << kChartRight << "\" y=\""
      << FormatFixed(bottom, 1) << "\" text-anchor=\"end\">" << ReadableTime(t.start + t.span)
      << "</text>\n</g>\n";
  WriteKey(out, bottom + 22);
  out << "</g>\n";
}

}  // namespace pinglog::report
