// The self-contained page (per host a heading, the chart and the summary) and the
// charts alone as an SVG file.
#include <sstream>

#include "report/chart_svg.h"
#include "report/output.h"

namespace pinglog::report {

void WriteHtml(std::ostream& out, const std::vector<HostSummary>& summaries,
               const std::vector<std::vector<const Entry*>>& entries_by_host,
               const std::vector<std::string>& files, const ChartOptions& options) {
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>pinglog report</title>\n<style>\n"
         "body{font-family:sans-serif;margin:2em;color:#222;background:#fff}\n"
         "pre{background:#f6f6f6;padding:1em;overflow:auto}\n"
         ".chart{width:100%;max-width:1000px;height:auto;display:block;margin:1em 0}\n"
      << kChartStyle
      << ".key span{display:inline-block;width:1em;height:1em;margin:0 .3em 0 1em;"
         "vertical-align:middle}\n"
         "</style></head><body>\n<h1>pinglog report</h1>\n"
         "<p>Times are local wall-clock times as the logger wrote them, without a time zone.</p>\n"
         "<p class=\"key\">Round trips:<span style=\"background:#56b4e9;opacity:.4\"></span>"
         "minimum to maximum, 10th to 90th and 25th to 75th percentile; median by loss:"
         "<span style=\"background:#0072b2\"></span>none<span style=\"background:#e69f00\">"
         "</span>up to 10 %<span style=\"background:#d55e00\"></span>more<span "
         "style=\"background:#000\"></span>total<span style=\"background:#cc79a7\"></span>not "
         "sent<span style=\"background:#f7d9c4\"></span>outage<span style=\"background:#ddd\">"
         "</span>no entries</p>\n";
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    out << "<h2>" << Html(summaries[i].host) << "</h2>\n";
    WriteChart(out, summaries[i], entries_by_host[i], options);
    std::ostringstream text;
    WriteSummaryText(text, summaries[i], files);
    out << "<pre>" << Html(text.str()) << "</pre>\n";
  }
  out << "</body></html>\n";
}

void WriteSvg(std::ostream& out, const std::vector<HostSummary>& summaries,
              const std::vector<std::vector<const Entry*>>& entries_by_host,
              const ChartOptions& options) {
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
    WriteChart(out, summaries[i], entries_by_host[i], options);
    out << "</g>\n";
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
