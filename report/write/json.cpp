#include "report/write/json.h"
#include "report/write/host_words.h"

#include <nlohmann/json.hpp>

#include "report/model/heat_map.h"
#include "report/write/episode_words.h"
#include "report/write/incident_words.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

nlohmann::json RequestsJson(const Requests& r) {
  return {{"cycles", r.cycles},
          {"sent", r.sent},
          {"received", r.received},
          {"lost", r.lost},
          {"router", r.router},
          {"not_sent", r.not_sent},
          {"loss_percent", r.LossPercent()}};
}

nlohmann::json UptimeJson(const Uptime& u) {
  return {{"observed_seconds", u.observed_seconds},
          {"down_seconds", u.down_seconds},
          {"available_percent", u.AvailablePercent()}};
}

nlohmann::json CountOrNull(std::int64_t count) {
  return count < 0 ? nlohmann::json(nullptr) : nlohmann::json(count);
}

nlohmann::json RoundTripJson(const RoundTrip& rt) {
  if (rt.replies == 0) return {{"replies", 0}};
  return {{"replies", rt.replies}, {"minimum_ms", rt.minimum}, {"median_ms", rt.median},
          {"p95_ms", rt.p95},      {"p99_ms", rt.p99},         {"maximum_ms", rt.maximum},
          {"mean_ms", rt.mean},    {"jitter_ms", rt.jitter}};
}

const char* GapCauseName(GapCause cause) {
  switch (cause) {
    case GapCause::kLineDown:
      return "line_down";
    case GapCause::kOthersWrote:
      return "others_wrote";
    case GapCause::kNoLog:
      return "no_log";
    case GapCause::kUnknown:
      break;
  }
  return "";
}

// With more than one host: how far each is, and what the incidents hid of it.
void AddPathFacts(nlohmann::json& host, const HostSummary& s) {
  host["hops"] = s.hops ? nlohmann::json(*s.hops) : nlohmann::json(nullptr);
  host["unobserved_in_incidents_seconds"] = s.unobserved_in_incidents;
  for (std::size_t i = 0; i < s.gaps.size(); ++i) {
    if (s.gaps[i].cause != GapCause::kUnknown)
      host["gaps"][i]["cause"] = GapCauseName(s.gaps[i].cause);
  }
}

nlohmann::json UsualJson(const Usual& usual) {
  if (!usual.known) return nullptr;
  return {{"loss_percent", usual.loss_percent}, {"median_ms", usual.median}};
}

nlohmann::json IncidentsJson(const Report& report) {
  nlohmann::json incidents = nlohmann::json::array();
  for (const Incident& incident : report.incidents) {
    nlohmann::json hosts = nlohmann::json::array();
    for (const IncidentHost& h : incident.hosts) {
      nlohmann::json state = {{"host", report.hosts[h.host].summary.host},
                              {"state", HostStateName(h.state)}};
      if (h.state == HostState::kDown || h.state == HostState::kNoEntries) {
        state["from"] = IsoTime(h.from);
        state["to"] = IsoTime(h.to);
        state["times"] = h.times;
        state["seconds"] = h.seconds;
      }
      if (h.state == HostState::kAnswered) state["requests"] = RequestsJson(h.requests);
      hosts.push_back(state);
    }
    incidents.push_back({{"start", IsoTime(incident.start)},
                         {"end", IsoTime(incident.end)},
                         {"seconds", incident.Seconds()},
                         {"verdict", VerdictKind(incident.verdict)},
                         {"says", VerdictText(incident, report)},
                         {"most_at_once", incident.most_at_once},
                         {"answered", incident.answered},
                         {"answered_requests", RequestsJson(incident.answered_requests)},
                         {"hosts", hosts}});
  }
  return incidents;
}

nlohmann::json EpisodesJson(const Report& report) {
  nlohmann::json episodes = nlohmann::json::array();
  for (const Episode& episode : report.episodes) {
    nlohmann::json hosts = nlohmann::json::array();
    for (const EpisodeHost& h : episode.hosts) {
      const HostSummary& s = report.hosts[h.host].summary;
      hosts.push_back(
          {{"host", s.host},
           {"degraded", h.degraded},
           {"logging", h.logging},
           {"requests", RequestsJson(h.requests)},
           {"median_ms", h.replies > 0 ? nlohmann::json(h.median) : nlohmann::json(nullptr)},
           {"usual", UsualJson(s.usual)}});
    }
    episodes.push_back({{"start", IsoTime(episode.start)},
                        {"end", IsoTime(episode.end)},
                        {"seconds", episode.Seconds()},
                        {"loss", episode.loss},
                        {"slow", episode.slow},
                        {"place", PlaceKind(episode.place)},
                        {"says", EpisodeText(episode, report)},
                        {"degraded", episode.degraded},
                        {"others", episode.others},
                        {"hosts", hosts}});
  }
  return episodes;
}

// When it happens: the worst hours in figures (null when none stand out).
nlohmann::json WorstHoursJson(const std::optional<WorstHours>& worst) {
  if (!worst) return nullptr;
  static constexpr const char* kDays[] = {"every", "weekdays", "weekends"};
  const auto median = [](const HoursFigures& f) {
    return f.replies > 0 ? nlohmann::json(f.median) : nlohmann::json(nullptr);
  };
  nlohmann::json left_out = nlohmann::json::array();
  for (const Outage& o : worst->left_out) {
    left_out.push_back({{"start", IsoTime(o.start)}, {"end", IsoTime(o.end)}});
  }
  return {{"from_hour", worst->from},
          {"to_hour", worst->to == 0 ? 24 : worst->to},
          {"days", kDays[static_cast<int>(worst->days)]},
          {"loss_percent", worst->inside.requests.LossPercent()},
          {"median_ms", median(worst->inside)},
          {"other_loss_percent", worst->outside.requests.LossPercent()},
          {"other_median_ms", median(worst->outside)},
          {"days_shown", worst->days_shown},
          {"days_counted", worst->days_counted},
          {"other_days_normal", worst->other_days_normal},
          {"outages_left_out", left_out},
          {"says", WorstHoursLine(worst)}};
}

// The heat map's hours: per day its hours' loss and median (null: no entries, or no
// replies), and runs of days without entries as one item.
nlohmann::json HeatMapJson(const HeatMap& map) {
  nlohmann::json days = nlohmann::json::array();
  for (const HeatRow& row : map.rows) {
    if (row.empty_days > 0) {
      days.push_back(
          {{"day", IsoTime(row.day).substr(0, 10)}, {"days_without_entries", row.empty_days}});
      continue;
    }
    nlohmann::json loss = nlohmann::json::array(), median = nlohmann::json::array();
    for (const HourCell& cell : row.hours) {
      const bool entries = cell.requests.cycles > 0;
      loss.push_back(entries ? nlohmann::json(cell.requests.LossPercent())
                             : nlohmann::json(nullptr));
      median.push_back(cell.replies ? nlohmann::json(cell.median) : nlohmann::json(nullptr));
    }
    days.push_back(
        {{"day", IsoTime(row.day).substr(0, 10)}, {"loss_percent", loss}, {"median_ms", median}});
  }
  return days;
}

// The host's stretches in time: gaps, stretches written by more loggers, outages.
void AddStretches(nlohmann::json& host, const HostSummary& s) {
  nlohmann::json& gaps = host["gaps"] = nlohmann::json::array();
  for (const Gap& gap : s.gaps) {
    // start and end as every output shows the gap; after and before: the entries
    // around it.
    gaps.push_back({{"start", IsoTime(gap.start)},
                    {"end", IsoTime(gap.before)},
                    {"seconds", gap.Seconds()},
                    {"after", IsoTime(gap.after)},
                    {"before", IsoTime(gap.before)},
                    {"missing", CountOrNull(gap.missing)}});
  }
  nlohmann::json& stretches = host["logger_stretches"] = nlohmann::json::array();
  for (const LoggerStretch& stretch : s.logger_stretches) {
    stretches.push_back({{"start", IsoTime(stretch.from)},
                         {"end", IsoTime(stretch.to)},
                         {"loggers", stretch.loggers},
                         {"seconds", stretch.Seconds()}});
  }
  nlohmann::json& degradations = host["degradations"] = nlohmann::json::array();
  for (const Degradation& d : s.degradations) {
    degradations.push_back(
        {{"start", IsoTime(d.from)},
         {"end", IsoTime(d.to)},
         {"seconds", d.Seconds()},
         {"loss", d.loss},
         {"slow", d.slow},
         {"requests", RequestsJson(d.requests)},
         {"median_ms", d.replies > 0 ? nlohmann::json(d.median) : nlohmann::json(nullptr)}});
  }
  nlohmann::json& outages = host["outages"] = nlohmann::json::array();
  for (const Outage& o : s.outages) {
    outages.push_back({{"start", IsoTime(o.start)},
                       {"end", IsoTime(o.end)},
                       {"open", o.ends == OutageEnd::kOpen},
                       {"then_no_entries", o.ends == OutageEnd::kNoEntries},
                       {"cycles", o.cycles},
                       {"seconds", o.Seconds()}});
  }
}

nlohmann::json HostJson(const HostSummary& s, const std::vector<std::string>& files) {
  nlohmann::json host = {
      {"host", s.host},
      {"address", FormatAddress(s.target)},
      {"first", IsoTime(s.first)},
      {"last", IsoTime(s.last)},
      {"interval_minutes", s.interval_minutes},
      {"interval_inferred", s.interval_inferred},
      {"back_to_back", s.back_to_back},
      {"loggers", s.loggers},
      {"cycle_seconds", s.cycle_seconds},
      {"period_seconds", s.period_seconds},
      {"cycles_expected", CountOrNull(s.expected)},
      {"entries_off_clock", s.off_clock},
      {"requests", RequestsJson(s.requests)},
      {"requests_outside_outages", RequestsJson(s.outside_outages)},
      {"usual", UsualJson(s.usual)},
      {"round_trip", RoundTripJson(s.round_trip)},
      {"uptime", UptimeJson(s.uptime)},
  };
  AddStretches(host, s);
  nlohmann::json& failures = host["failures"] = nlohmann::json::array();
  for (const auto& [error, count] : s.failures) {
    failures.push_back({{"error", error}, {"name", EchoErrorName(error)}, {"count", count}});
  }
  nlohmann::json& not_sent = host["not_sent"] = nlohmann::json::array();
  for (const auto& [error, count] : s.not_sent) {
    not_sent.push_back({{"error", error}, {"name", EchoErrorName(error)}, {"count", count}});
  }
  nlohmann::json& jumps = host["clock_jumps"] = nlohmann::json::array();
  for (const ClockJump& jump : s.clock_jumps) {
    jumps.push_back({{"file", files[jump.file]},
                     {"line", jump.line},
                     {"from", IsoTime(jump.from)},
                     {"to", IsoTime(jump.to)}});
  }
  nlohmann::json& routers = host["router_replies"] = nlohmann::json::array();
  for (const auto& [router, count] : s.routers) {
    nlohmann::json spans = nlohmann::json::array();
    const auto found = s.router_spans.find(router);
    if (found != s.router_spans.end()) {
      for (const RouterSpan& span : found->second) {
        spans.push_back({{"from", IsoTime(span.from)},
                         {"to", IsoTime(span.to)},
                         {"replies", span.replies},
                         {"during_outage", span.during_outage}});
      }
    }
    routers.push_back({{"address", FormatAddress(router)}, {"count", count}, {"spans", spans}});
  }
  nlohmann::json& periods = host[s.by_hour ? "per_hour" : "per_day"] = nlohmann::json::array();
  for (const PeriodRow& row : s.periods) {
    periods.push_back({{"start", IsoTime(row.start)},
                       {"requests", RequestsJson(row.requests)},
                       {"round_trip", RoundTripJson(row.round_trip)},
                       {"outages", row.outages},
                       {"uptime", UptimeJson(row.uptime)}});
  }
  return host;
}

}  // namespace

void WriteJson(std::ostream& out, const Report& report) {
  const LogSet& logs = report.logs;
  nlohmann::json json = {
      {"times", "local wall-clock times as the logger wrote them"},
      {"zone", report.zone.empty() ? nlohmann::json(nullptr) : nlohmann::json(report.zone)},
      {"files", logs.files},
      {"lines_not_parsed", logs.unparsed_count},
  };
  nlohmann::json& duplicates = json["duplicates_dropped"] = nlohmann::json::array();
  for (const auto& [files, count] : logs.duplicates) {
    duplicates.push_back({{"file", logs.files[files.first]},
                          {"same_as", logs.files[files.second]},
                          {"entries", count}});
  }
  nlohmann::json& hosts = json["hosts"] = nlohmann::json::array();
  for (const HostReport& host : report.hosts) {
    hosts.push_back(HostJson(host.summary, logs.files));
    hosts.back()["worst_hours"] = WorstHoursJson(host.summary.worst_hours);
    hosts.back()["heat_map"] = HeatMapJson(BuildHeatMap(host));
    if (!host.summary.name.empty()) hosts.back()["name"] = host.summary.name;
    if (report.hosts.size() > 1) AddPathFacts(hosts.back(), host.summary);
  }
  if (report.incidents_sought) {
    json["incidents"] = IncidentsJson(report);
    json["episodes"] = EpisodesJson(report);
  }
  // Host texts are bytes as configured; anything that is not UTF-8 is replaced.
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace pinglog::report
