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

void WriteTimeline(std::ostream& out, const Report& report, const Timeline& t, StripDetail detail) {
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
  for (std::size_t h = 0; h < t.strips.size(); ++h) {
    const StripRow row{t, h, detail};
    if (detail == StripDetail::kCompact) WriteAnsweredUnder(out, row);
    const std::vector<StripState>& strip = t.strips[h];
    for (std::size_t b = 0; b < strip.size();) {
      std::size_t e = b + 1;
      while (e < strip.size() && strip[e] == strip[b]) ++e;
      const bool under = detail == StripDetail::kCompact && strip[b] == StripState::kAnswered;
      if (strip[b] != StripState::kNone && !under) WriteRun(out, row, b, e, strip[b]);
      b = e;
    }
  }
  const double bottom = kTimelineRow * static_cast<double>(t.strips.size()) + 8;
  out << "<text x=\"" << kChartLeft << "\" y=\"" << FormatFixed(bottom, 1) << "\">"
      << ReadableTime(t.start) << "</text><text x=\"" << kChartRight << "\" y=\""
      << FormatFixed(bottom, 1) << "\" text-anchor=\"end\">" << ReadableTime(t.start + t.span)
      << "</text>\n</g>\n";
  WriteKey(out, bottom + 22);
  out << "</g>\n";
}

}  // namespace pinglog::report
