#include "report/write/csv.h"

#include <queue>
#include <tuple>
#include <vector>

#include "report/write/words.h"

namespace pinglog::report {
namespace {

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kReply:
      return "reply";
    case Outcome::kRouter:
      return "router";
    case Outcome::kFailure:
      break;
  }
  return "failure";
}

// Every host's entries, in time order across hosts as the logs were read (within one
// second, by file, then by line): each host's are in time order already.
template <typename Visit>
void InTimeOrder(const std::vector<HostReport>& hosts, Visit visit) {
  struct Next {
    const EntryList* entries;  // a host's
    std::size_t at;
    Entry entry() const { return (*entries)[at]; }
  };
  const auto later = [](const Next& a, const Next& b) {
    const Entry x = a.entry();
    const Entry y = b.entry();
    return std::tie(x.time, x.file, x.line) > std::tie(y.time, y.file, y.line);
  };
  std::priority_queue<Next, std::vector<Next>, decltype(later)> heads(later);
  for (const HostReport& host : hosts) {
    if (!host.entries.empty()) heads.push({&host.entries, 0});
  }
  while (!heads.empty()) {
    Next next = heads.top();
    heads.pop();
    visit(next.entry());
    if (++next.at < next.entries->size()) heads.push(next);
  }
}

}  // namespace

std::string CsvField(std::string_view text) {
  // Spreadsheets run a cell that begins with one of these as a formula; a leading
  // apostrophe makes them take it as text.
  const bool formula =
      !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
  const bool quote = formula || text.find_first_of(",\"\r\n\t") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string quoted = formula ? "\"'" : "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void WriteCsv(std::ostream& out, const Report& report) {
  const LogSet& logs = report.logs;
  // The names the reader gave (--name), by the logs' host index; a column of its own
  // only when there are any.
  std::vector<std::string> names(logs.hosts.size());
  bool named = false;
  for (const HostReport& host : report.hosts) {
    if (host.summary.name.empty() || host.entries.empty()) continue;
    names[host.entries.front().host] = host.summary.name;
    named = true;
  }
  out << "time,host,resolved_address,attempt,outcome,source,bytes,time_ms,ttl,error"
      << (named ? ",name\r\n" : "\r\n");
  InTimeOrder(report.hosts, [&](const Entry& entry) {
    const std::string prefix = IsoTime(entry.time) + ',' + CsvField(logs.hosts[entry.host]) + ',' +
                               FormatAddress(entry.target) + ',';
    const std::string suffix = named ? "," + CsvField(names[entry.host]) + "\r\n" : "\r\n";
    for (std::size_t i = 0; i < entry.attempts.size(); ++i) {
      const Attempt& a = entry.attempts[i];
      out << prefix << i + 1 << ',' << OutcomeName(a.outcome) << ',';
      if (a.outcome == Outcome::kFailure) {
        out << ",,,," << a.error() << suffix;
      } else {
        out << FormatAddress(a.source()) << ',' << a.bytes << ',' << a.time_ms << ','
            << static_cast<int>(a.ttl) << ',' << suffix;
      }
    }
  });
}

}  // namespace pinglog::report
