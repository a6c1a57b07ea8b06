#include "report/write/page/html_page.h"
#include "report/write/host_words.h"

#include <future>
#include <nlohmann/json.hpp>
#include <sstream>

#include "report/write/drawing/chart_layout.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/drawing/drawing_words.h"
#include "report/write/drawing/heat_map_svg.h"
#include "report/write/drawing/styles.h"
#include "report/write/drawing/timeline_svg.h"
#include "report/write/page/cycle_pack.h"
#include "report/write/page/detail_levels.h"
#include "report/write/page/html_tables.h"
#include "report/write/page/page_script.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

// What the script draws zoomed charts and strips with, the program's own: the words
// and formats they share, the strips' classes and words by state.
nlohmann::json WordRules() {
  nlohmann::json units = nlohmann::json::array(), strips = nlohmann::json::array();
  for (const DurationUnit& unit : kDurationUnits) units.push_back({unit.length, unit.unit});
  for (const StripState state : {StripState::kNone, StripState::kAnswered, StripState::kLoss,
                                 StripState::kNoEntries, StripState::kDown}) {
    strips.push_back({LookOf(state).css_class, LookOf(state).words});
  }
  const DrawingWords& w = kWords;
  const nlohmann::json words = {{"cycle", w.cycle},
                                {"cycles", w.cycles},
                                {"reply", w.reply},
                                {"replies", w.replies},
                                {"loss", w.loss},
                                {"notSent", w.not_sent},
                                {"down", w.down},
                                {"gap", w.gap},
                                {"outage", w.outage},
                                {"above", w.above},
                                {"lossLabel", w.loss_label},
                                {"hourEmpty", w.hour_empty},
                                {"hourLoss", w.hour_loss},
                                {"median", w.median},
                                {"noReplies", w.no_replies}};
  return {{"readableMask", kReadableTimeMask},
          {"words", words},
          {"durationUnits", units},
          {"strips", strips},
          {"attempts", kAttemptsPerCycle},
          {"day", kSecondsPerDay}};
}

// The numbers the script draws zoomed charts with, the chart's own, and the levels of
// detail the page carries.
std::string ChartRules(const DetailLevels& detail) {
  nlohmann::json ticks = nlohmann::json::array(), bands = nlohmann::json::array();
  for (const TickStep& step : kTickSteps) ticks.push_back({step.seconds, step.months, step.mask});
  for (const SmokeBand& band : kSmokeBands) bands.push_back({band.low, band.high, band.opacity});
  nlohmann::json levels = nlohmann::json::array();
  for (const DetailLevel& level : detail.levels) levels.push_back({level.width, level.start});
  nlohmann::json rules = {{"left", kChartLeft},
                          {"right", kChartRight},
                          {"top", kChartTop},
                          {"bottom", kChartBottom},
                          {"lossTop", kLossTop},
                          {"lossHeight", kLossHeight},
                          {"timeLabels", kTimeLabelsY},
                          {"endLabels", kEndLabelsY},
                          {"mostBuckets", kMostBuckets},
                          {"widths", kBucketWidths},
                          {"bulkInBucket", kBulkInBucket},
                          {"bulkOfBuckets", kBulkOfBuckets},
                          {"littleLoss", kLittleLossPercent},
                          {"lossClasses", kLossClasses},
                          {"ticks", ticks},
                          {"week", kWeekSeconds},
                          {"weekOffset", kFirstMonday},
                          {"mostTicks", kMostTicks},
                          {"monthSeconds", kAverageMonthSeconds},
                          {"mostDayLines", kMostDayLines},
                          {"bands", bands},
                          {"recent", detail.recent},
                          {"levels", levels},
                          {"tops", kRoundTops},
                          {"ranks", kPercentiles}};
  rules.update(WordRules());
  return rules.dump();
}

// What the script needs besides the cycles: how they are packed, the axis, and the
// gaps and outages to shade, each from its first second to the one after its last
// (an outage with why it ended there, where no cycle was answered).
std::string ChartMeta(const HostSummary& s, const ChartOptions& options, std::int64_t step) {
  nlohmann::json gaps = nlohmann::json::array(), outages = nlohmann::json::array();
  for (const Gap& gap : s.gaps) gaps.push_back({gap.start, gap.before, GapNote(s, gap)});
  for (const Outage& o : s.outages) outages.push_back({o.start, o.end, OutageEndNote(o.ends)});
  const nlohmann::json meta = {{"step", step},
                               {"interval", s.interval_minutes * 60},
                               {"maxMs", options.max_ms},
                               {"start", options.axis_start},
                               {"end", options.axis_end},
                               {"gaps", gaps},
                               {"outages", outages}};
  return meta.dump();
}

// What the page was made of: the entries and logs, what was dropped, what was no entry.
void WriteLogFacts(std::ostream& out, const Report& report) {
  const LogSet& logs = report.logs;
  out << "<p>" << Plural(static_cast<std::int64_t>(logs.entries.size()), "entry", "entries")
      << " from " << Plural(static_cast<std::int64_t>(logs.files.size()), "log", "logs");
  if (logs.unparsed_count > 0) {
    out << "; " << Plural(static_cast<std::int64_t>(logs.unparsed_count), "line is", "lines are")
        << " not log entries (not counted: the terminal's report names them)";
  }
  out << ".</p>\n";
  const std::string dropped = DuplicatesLine(report);
  if (!dropped.empty()) out << "<p>" << Html(dropped) << "</p>\n";
}

// A host's section in its parts: what is shown (the chart's box, the heat map of its
// hours, its worst hours if they stand out, its tables) and the data the script reads
// (the chart's, and the hours', whose numbers the script tells on hover).
struct HostParts {
  std::string chart_box, chart_data, heat_map, hours_data, worst, tables;
};

void WriteHeatMapParts(HostParts& parts, const HostReport& host, std::size_t index) {
  const HeatMap map = BuildHeatMap(host);
  const int height = HeatMapHeight(map);
  std::ostringstream out;
  out << "<svg class=\"heat-map\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 "
      << height << "\" width=\"1000\" height=\"" << height << "\" data-rows-top=\""
      << kHeatMapRowsTop << "\" data-row-height=\"" << HeatMapRowHeight(map) << "\" data-host=\""
      << index << "\">\n<title></title>\n";
  WriteHeatMap(out, map, HeatMapHover::kScript);
  out << "</svg>\n";
  parts.heat_map = out.str();
  parts.hours_data = "<script type=\"text/plain\" id=\"hours-" + std::to_string(index) + "\">" +
                     PackHeatMapHours(map) + "</script>\n";
  const std::string worst = WorstHoursLine(host.summary.worst_hours);
  if (!worst.empty()) parts.worst = "<p class=\"worst\">" + Html(worst) + "</p>\n";
}

// A text inside a CSS string: without quotes, backslashes or line ends.
std::string CssText(const std::string& text) {
  std::string safe;
  for (const char c : text) {
    if (c != '"' && c != '\\' && c != '\n' && c != '<') safe += c;
  }
  return safe;
}

// The page's style sheet, its print footer saying when the report was made and by
// which version.
std::string PageStyle(const Report& report) {
  std::string style = kPageStyle;
  const auto put = [&style](std::string_view mark, const std::string& text) {
    for (std::size_t at = style.find(mark); at != std::string::npos; at = style.find(mark, at)) {
      style.replace(at, mark.size(), text);
      at += text.size();
    }
  };
  put("%made%", CssText(report.made));
  put("%version%", PINGLOG_VERSION);
  return style;
}

void WriteHead(std::ostream& out, const Report& report) {
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>pinglog report</title>\n<style>\n"
      << PageStyle(report) << kChartStyle << kHeatMapStyle
      << (report.hosts.size() > 1 ? kTimelineStyle : "")
      << "</style></head><body>\n<h1>pinglog report</h1>\n<p>" << Html(TimesLine(report))
      << "</p>\n";
}

// The usual views, each a link to its period's address (so it can be sent), next to
// the drag zoom: the last 3 hours, 30 hours and 10 days that are shorter than the
// whole period, and the whole period.
void WriteSpanLinks(std::ostream& out, const ChartOptions& axis) {
  static constexpr struct {
    std::int64_t seconds;
    const char* name;
  } kSpans[] = {{3 * kSecondsPerHour, "the last 3 hours"},
                {30 * kSecondsPerHour, "30 hours"},
                {10 * kSecondsPerDay, "10 days"}};
  out << "<span class=\"spans\">Show ";
  for (const auto& span : kSpans) {
    if (span.seconds >= std::int64_t{axis.axis_end} - axis.axis_start) continue;
    out << "<a href=\"" << Html(PeriodAddress(axis.axis_end - span.seconds, axis.axis_end)) << "\">"
        << span.name << "</a>, ";
  }
  out << "<a href=\"" << Html(PeriodAddress(axis.axis_start, axis.axis_end))
      << "\">the whole period</a>; or drag across a chart.</span> ";
}

// What the chart's marks mean, each beside a swatch drawn by the chart's own class.
void WriteKey(std::ostream& out) {
  static constexpr struct {
    const char* before;
    const char* mark;
    const char* words;
  } kKey[] = {
      {"Round trips: ", "smoke", "minimum to maximum, 10th to 90th and 25th to 75th percentile"},
      {"; median by loss: ", "loss-none", "none"},
      {"", "loss-little", "up to 10 %"},
      {"", "loss-much", "more"},
      {"", "loss-total", "total"},
      {"", "not-sent", "not sent"},
      {"", "outage", "outage"},
      {"", "gap", "no entries"}};
  out << "<p class=\"key\">";
  for (const auto& key : kKey) {
    out << key.before
        << "<span class=\"k\"><svg class=\"swatch\" viewBox=\"0 0 10 10\"><rect width=\"10\" "
           "height=\"10\" class=\""
        << key.mark << "\"/></svg>" << key.words << "</span>";
  }
  out << "; the heat map: a cell an hour, coloured by its loss (its key under it)</p>\n";
}

void WriteZoomBarAndKey(std::ostream& out, const ChartOptions& axis) {
  out << "<div id=\"zoom\" class=\"zoom\" hidden>";
  WriteSpanLinks(out, axis);
  out << "<span id=\"shown\"></span>"
         "<button id=\"reset\" type=\"button\">Show the whole period</button></div>\n";
  WriteKey(out);
}

// A host's section: its chart with the cycles and buckets its zooms draw from, its
// heat map and its tables. The old days' buckets are counted on another core while the
// chart and the heat map are drawn.
void WriteHostSection(std::ostream& out, const Report& report, std::size_t i,
                      const ChartOptions& axis, const DetailLevels& levels, int max_ms) {
  const HostReport& host = report.hosts[i];
  const HostSummary& s = host.summary;
  const std::int64_t step = s.interval_minutes * 60;  // the usual step between stamps
  std::future<std::string> packed_levels;
  if (!levels.levels.empty()) {
    packed_levels =
        std::async([&] { return PackLevels(host.entries, levels, axis.axis_end, step, max_ms); });
  }
  const bool fleet = report.hosts.size() > kHostsDrawnAhead;
  HostParts parts;
  std::ostringstream box, data, tables;
  box << "<div class=\"chart-box\">\n";
  if (fleet) {
    WriteChartFrame(box);
  } else {
    WriteChart(box, host, axis);
  }
  box << "</div>\n";
  parts.chart_box = box.str();
  data << "<script type=\"application/json\" id=\"meta-" << i << "\">" << ChartMeta(s, axis, step)
       << "</script>\n<script type=\"text/plain\" id=\"cycles-" << i << "\">"
       << PackCycles(host.entries, levels.recent, step) << "</script>\n";
  WriteHeatMapParts(parts, host, i);
  if (packed_levels.valid()) {
    data << "<script type=\"text/plain\" id=\"levels-" << i << "\">" << packed_levels.get()
         << "</script>\n";
  }
  parts.chart_data = data.str();
  WriteSummaryTables(tables, s, report.logs.files);
  parts.tables = tables.str();
  out << "<section id=\"host-" << i << "\"" << (fleet ? " class=\"later\"" : "") << ">\n<h2>"
      << Html(HostHeading(s)) << "</h2>\n";
  if (fleet) {
    // What is shown, as inert text that the script builds when it comes near the view:
    // a page of thousands of hosts opens as quickly as a page of a few. (It holds no
    // script: every text in it is escaped, so nothing in it can end this one.)
    out << "<script type=\"text/html\" class=\"later-body\">" << parts.chart_box << parts.heat_map
        << parts.worst << parts.tables << "</script>\n"
        << parts.chart_data << parts.hours_data;
  } else {
    out << parts.chart_box << parts.chart_data << parts.heat_map << parts.hours_data << parts.worst
        << parts.tables;
  }
  out << "</section>\n";
}

}  // namespace

void WriteHtml(std::ostream& out, const Report& report, const ChartOptions& options,
               PageDetail detail) {
  const ChartOptions axis = SharedAxis(report, options);
  const DetailLevels levels = PlanDetailLevels(axis, LongestInterval(report), detail);
  WriteHead(out, report);
  WriteLogFacts(out, report);
  WriteOverviewTable(out, report);
  WriteIncidents(out, report, axis);
  WriteZoomBarAndKey(out, axis);
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    WriteHostSection(out, report, i, axis, levels, options.max_ms);
  }
  out << "<script type=\"application/json\" id=\"chart-rules\">" << ChartRules(levels)
      << "</script>\n<script>\n"
      << kPageScript << "</script>\n</body></html>\n";
}

}  // namespace pinglog::report
