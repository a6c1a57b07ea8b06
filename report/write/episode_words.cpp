#include "report/write/episode_words.h"

#include <algorithm>

#include "report/model/degradations.h"
#include "report/write/host_words.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

constexpr std::size_t kFiguresAtMost = 8;  // hosts whose loss a sentence gives one by one

std::string Name(const Report& report, std::size_t host) {
  return Called(report.hosts[host].summary);
}

// "from isp on", "from the nearest host router on", "behind isp (remote1 and remote2)",
// "at remote1 alone", "at isp and remote2 while the others were as usual".
std::string Where(const Episode& e, const Report& report) {
  const std::vector<std::size_t>& first = e.first_degraded;
  switch (e.place) {
    case Place::kEverything:
      return first.size() == 1 ? "from the nearest host " + Name(report, first.front()) + " on"
                               : "from the nearest hosts on (" + HostList(report, first) + ")";
    case Place::kBeyond:
      return first.size() == 1
                 ? "from " + Name(report, first.front()) + " on"
                 : "behind " + Name(report, *e.beyond) + " (" + HostList(report, first) + ")";
    case Place::kOneHost:
      return "at " + Name(report, first.front()) + " alone";
    case Place::kNoOnePlace:
      break;
  }
  std::vector<std::size_t> degraded;
  for (const EpisodeHost& h : e.hosts) {
    if (h.degraded) degraded.push_back(h.host);
  }
  return "at " + HostList(report, degraded) + " (no one place explains it)";
}

// "router 0 %, isp 26 %, remote1 25 %, remote2 26 %", or, with many hosts, "37 hosts
// 20 to 31 %, the other 3 as usual".
std::string LossFigures(const Episode& e, const Report& report) {
  std::vector<const EpisodeHost*> shown;
  for (const EpisodeHost& h : e.hosts) {
    if (h.logging) shown.push_back(&h);
  }
  if (shown.size() <= kFiguresAtMost &&
      e.others + e.degraded == static_cast<std::int64_t>(shown.size())) {
    std::string text;
    for (const EpisodeHost* h : shown) {
      text += (text.empty() ? "" : ", ") + Name(report, h->host) + " " +
              FormatFixed(h->requests.LossPercent(), 0) + " %";
    }
    return text;
  }
  double low = 100, high = 0;
  for (const EpisodeHost* h : shown) {
    if (!h->degraded) continue;
    low = std::min(low, h->requests.LossPercent());
    high = std::max(high, h->requests.LossPercent());
  }
  return Plural(e.degraded, "host", "hosts") + " " + FormatFixed(low, 0) + " to " +
         FormatFixed(high, 0) + " %, the other " + std::to_string(e.others) + " as usual";
}

// How much slower the first degraded host answered than usual: "+80 ms".
std::string Slower(const Episode& e, const Report& report) {
  for (const EpisodeHost& h : e.hosts) {
    if (!h.degraded || h.replies == 0) continue;
    const int usual = report.hosts[h.host].summary.usual.median;
    return "+" + std::to_string(h.median - usual) + " ms";
  }
  return "slower";
}

}  // namespace

std::string FiguresText(const Requests& requests, std::int64_t replies, int median) {
  return FormatFixed(requests.LossPercent(), 2) + " % loss" +
         (replies > 0 ? ", median " + std::to_string(median) + " ms" : ", no replies");
}

std::string UsualText(const Usual& usual) {
  return FormatFixed(usual.loss_percent, 2) + " % loss, median " + std::to_string(usual.median) +
         " ms";
}

std::string EpisodeText(const Episode& e, const Report& report) {
  const std::string where = Where(e, report);
  std::string text;
  if (e.loss) text = "loss " + where + ": " + LossFigures(e, report);
  if (e.slow) text += (e.loss ? "; round trip " : "round trip ") + Slower(e, report) + " " + where;
  return text;
}

std::string EpisodeWhen(const Episode& e) {
  return ReadableTime(e.start) + " to " + ReadableTime(e.end) + " (" + Duration(e.Seconds()) + ")";
}

std::string EpisodeHostText(const EpisodeHost& h, const Report& report) {
  if (!h.logging) return "no entries then";
  return FiguresText(h.requests, h.replies, h.median) + " (usual " +
         UsualText(report.hosts[h.host].summary.usual) + ")";
}

const char* PlaceKind(Place place) {
  switch (place) {
    case Place::kEverything:
      return "everything";
    case Place::kBeyond:
      return "beyond";
    case Place::kOneHost:
      return "one_host";
    case Place::kNoOnePlace:
      break;
  }
  return "no_one_place";
}

std::vector<const Episode*> ListedEpisodes(const Report& report) {
  return LongestInTimeOrder(report.episodes);
}

std::string MoreEpisodesText(const Report& report, std::size_t listed) {
  return MoreText(report.episodes.size(), listed);
}

std::string EpisodesHeading(const Report& report) {
  return "Degradation: " +
         Plural(static_cast<std::int64_t>(report.episodes.size()), "episode", "episodes") +
         " (loss of at least " + FormatFixed(kDegradedLossPercent, 0) +
         " %, or a median round trip at least " + std::to_string(kSlowerByMs) +
         " ms above and twice each host's usual).";
}

}  // namespace pinglog::report
