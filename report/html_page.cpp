// The self-contained page (an overview of all hosts, then per host a heading, the
// chart and the summary tables; the script zooms the charts) and the charts alone as
// an SVG file.
#include <cmath>

#include <nlohmann/json.hpp>

#include "report/chart_svg.h"
#include "report/cycle_pack.h"
#include "report/html_tables.h"
#include "report/output.h"
#include "report/page_script.h"

namespace pinglog::report {
namespace {

constexpr const char* kPageStyle =
    "body{font-family:sans-serif;margin:1em auto;padding:0 1em;max-width:1100px;color:#222;"
    "background:#fff;line-height:1.35}\n"
    "h2{margin-top:1.6em;border-bottom:1px solid #ddd}\n"
    "table{border-collapse:collapse;margin:.6em 0}\n"
    "th,td{padding:.2em .6em;text-align:left;vertical-align:top}\n"
    ".facts th{white-space:nowrap;font-weight:600}\n"
    ".overview th,.periods th{background:#f3f3f3}\n"
    ".overview td,.periods td{border-top:1px solid #eee}\n"
    ".overview td:not(:nth-child(3)),.periods td{white-space:nowrap}\n"
    ".periods td:not(:first-child),.periods th:not(:first-child){text-align:right}\n"
    ".wide{overflow-x:auto}\n"
    ".chart{width:100%;height:auto;display:block;margin:.5em 0;touch-action:pan-y}\n"
    ".selection{fill:#0072b2;fill-opacity:.15}\n"
    ".zoom{position:sticky;top:0;background:#fff;padding:.4em 0;border-bottom:1px solid #eee}\n"
    ".zoom button{margin-left:1em}\n.zoom:not(.zoomed) button{display:none}\n"
    ".key span{display:inline-block;width:1em;height:1em;margin:0 .3em 0 1em;"
    "vertical-align:middle}\n"
    "@media (max-width:600px){.facts th,.facts td{display:block;padding:0 .3em}"
    ".facts td{margin-bottom:.5em}}\n"
    "@media print{.zoom{display:none}body{max-width:none}section{break-inside:avoid-page}}\n";

// What the script needs besides the cycles: how they are packed, the axis, and the
// gaps and outages to shade, each from its first second to the one after its last.
std::string ChartMeta(const HostSummary& s, const ChartOptions& options, std::int64_t step) {
  const auto period = std::max<std::int64_t>(1, std::llround(s.period_seconds));
  nlohmann::json gaps = nlohmann::json::array(), outages = nlohmann::json::array();
  for (const Gap& gap : s.gaps) gaps.push_back({gap.after + period, gap.before});
  for (const Outage& o : s.outages) outages.push_back({o.start, o.end + period});
  const nlohmann::json meta = {{"step", step},
                               {"interval", s.interval_minutes * 60},
                               {"maxMs", options.max_ms},
                               {"start", options.axis_start},
                               {"end", options.axis_end},
                               {"gaps", gaps},
                               {"outages", outages}};
  return meta.dump();
}

}  // namespace

void WriteHtml(std::ostream& out, const std::vector<HostSummary>& summaries,
               const std::vector<std::vector<const Entry*>>& entries_by_host,
               const std::vector<std::string>& files, const ChartOptions& options) {
  const ChartOptions axis = SharedAxis(summaries, options);
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>pinglog report</title>\n<style>\n"
      << kPageStyle << kChartStyle
      << "</style></head><body>\n<h1>pinglog report</h1>\n"
         "<p>Times are local wall-clock times as the logger wrote them, without a time zone.</p>\n";
  WriteOverviewTable(out, summaries);
  out << "<div id=\"zoom\" class=\"zoom\" hidden><span id=\"shown\"></span>"
         "<button id=\"reset\" type=\"button\">Show the whole period</button></div>\n"
         "<p class=\"key\">Round trips:<span style=\"background:#56b4e9;opacity:.4\"></span>"
         "minimum to maximum, 10th to 90th and 25th to 75th percentile; median by loss:"
         "<span style=\"background:#0072b2\"></span>none<span style=\"background:#e69f00\">"
         "</span>up to 10 %<span style=\"background:#d55e00\"></span>more<span "
         "style=\"background:#000\"></span>total<span style=\"background:#cc79a7\"></span>not "
         "sent<span style=\"background:#f7d9c4\"></span>outage<span style=\"background:#ddd\">"
         "</span>no entries</p>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const HostSummary& s = summaries[i];
    const std::int64_t step = s.interval_minutes * 60;  // the usual step between stamps
    out << "<section id=\"host-" << i << "\">\n<h2>" << Html(s.host) << " ("
        << FormatAddress(s.target) << ")</h2>\n<div class=\"chart-box\">\n";
    WriteChart(out, s, entries_by_host[i], axis);
    out << "</div>\n<script type=\"application/json\" id=\"meta-" << i << "\">"
        << ChartMeta(s, axis, step) << "</script>\n<script type=\"text/plain\" id=\"cycles-" << i
        << "\">" << PackCycles(entries_by_host[i], axis.axis_start, step) << "</script>\n";
    WriteSummaryTables(out, s, files);
    out << "</section>\n";
  }
  out << "<script>\n" << kPageScript << "</script>\n</body></html>\n";
}

void WriteSvg(std::ostream& out, const std::vector<HostSummary>& summaries,
              const std::vector<std::vector<const Entry*>>& entries_by_host,
              const ChartOptions& options) {
  const ChartOptions axis = SharedAxis(summaries, options);
  constexpr int kPerHost = 330;
  const auto height = static_cast<int>(summaries.size()) * kPerHost;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 " << height
      << "\" width=\"1000\" height=\"" << height << "\">\n<style>\n"
      << kChartStyle << ".host{font-family:sans-serif;font-size:14px;font-weight:bold}\n"
      << "</style>\n<rect width=\"1000\" height=\"" << height << "\" fill=\"#fff\"/>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const auto top = static_cast<int>(i) * kPerHost;
    out << "<text class=\"host\" x=\"60\" y=\"" << top + 16 << "\">" << Html(summaries[i].host)
        << " (" << FormatAddress(summaries[i].target) << ")</text>\n"
        << "<g transform=\"translate(0," << top + 26 << ")\">\n";
    WriteChart(out, summaries[i], entries_by_host[i], axis);
    out << "</g>\n";
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
