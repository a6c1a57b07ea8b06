// Any bytes as a host's text and a log's name, through every writer of the report,
// beside a plain host: each output must stay well-formed (the SVG parses as XML, the
// JSON as JSON, every metrics line keeps the label rules, the terminal and the page get
// UTF-8 without control bytes), and the plain host must be there in each.
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "report/model/metrics_counter.h"
#include "report/write/csv.h"
#include "report/write/json.h"
#include "report/write/openmetrics.h"
#include "report/write/page/html_page.h"
#include "report/write/svg.h"
#include "report/write/text.h"
#include "report/write/textfile.h"
#include "support/safe_text.h"

namespace {

using namespace pinglog::report;

void Require(bool holds) {
  if (!holds) std::abort();
}

// Valid UTF-8 with no control byte but line ends and tabs: SafeText leaves it as it is.
bool Clean(std::string_view text) {
  std::string without_breaks(text);
  for (char& c : without_breaks) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return pinglog::SafeText(without_breaks, true) == without_breaks;
}

// Every sample line: NAME{LABEL="VALUE",...} ..., each value within its quotes only
// escaping backslash, quote and line end.
bool MetricLinesKeepTheRules(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t at = line.find('{');
    if (at == std::string::npos) continue;
    while (line[at] != '}') {
      const std::size_t quote = line.find("=\"", at);
      if (quote == std::string::npos) return false;
      std::size_t end = quote + 2;
      for (; end < line.size() && line[end] != '"'; ++end) {
        if (line[end] == '\\' &&
            std::string_view("\\\"n").find(line[end + 1]) == std::string_view::npos) {
          return false;
        }
        if (line[end] == '\\') ++end;
      }
      if (end + 1 >= line.size() || (line[end + 1] != ',' && line[end + 1] != '}')) return false;
      at = end + 1;
    }
  }
  return Clean(text);
}

LogSet LogsOf(const std::string& odd) {
  LogSet logs;
  logs.files = {odd, "b.log"};
  logs.hosts = {odd, "router1"};
  logs.unparsed_count = 1;
  logs.unparsed = {{0, 7}};
  logs.duplicates[{1, 0}] = 1;
  for (std::uint32_t host = 0; host < 2; ++host) {
    for (int minute = 0; minute < 3; ++minute) {
      Entry entry;
      entry.time = 1700000000 + minute * 60;
      entry.host = host;
      entry.file = host;
      entry.target = {192, 0, 2, 1};
      for (Attempt& attempt : entry.attempts) {
        attempt.outcome = minute == 1 ? Outcome::kFailure : Outcome::kReply;
        if (minute == 1) {
          attempt.SetError(11010);
        } else {
          attempt.SetSource(entry.target);
        }
        attempt.bytes = 32;
        attempt.time_ms = 12;
      }
      logs.entries.push_back(entry);
    }
  }
  return logs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Report report =
      BuildReport(LogsOf(std::string(reinterpret_cast<const char*>(data), size)), {});
  static const ZoneTime utc("UTC");
  std::ostringstream text, csv, json, svg, html, openmetrics, textfile;
  WriteText(text, report);
  WriteCsv(csv, report);
  WriteJson(json, report);
  WriteSvg(svg, report, {});
  WriteHtml(html, report, {});
  WriteOpenMetrics(openmetrics, report, utc, {});
  WriteTextfile(textfile, CountMetrics(report, utc));

  Require(Clean(text.str()) && text.str().find("Host router1 ") != std::string::npos);
  Require(Clean(csv.str()) && Clean(html.str()));
  const nlohmann::json parsed = nlohmann::json::parse(json.str());  // throws when it is none
  // Hosts alike but for their text come in the order of their texts, not of the logs.
  Require(parsed["hosts"].size() == 2 &&
          (parsed["hosts"][0]["host"] == "router1" || parsed["hosts"][1]["host"] == "router1"));
  xmlDocPtr document = xmlReadMemory(svg.str().data(), static_cast<int>(svg.str().size()),
                                     "chart.svg", nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR);
  Require(document != nullptr);
  xmlFreeDoc(document);
  for (const std::string& metrics : {openmetrics.str(), textfile.str()}) {
    Require(MetricLinesKeepTheRules(metrics));
    Require(metrics.find("pinglog_cycles_total{host=\"router1\"}") != std::string::npos);
  }
  return 0;
}
