// Degradation in words: a host's stretches beside its usual, and the episodes across
// hosts with where they point. The terminal, the page, the SVG and the JSON say them
// alike.
#pragma once

#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// "26.00 % loss, median 90 ms": what a stretch or an episode's host counted.
std::string FiguresText(const Requests& requests, std::int64_t replies, int median);

// "0.10 % loss, median 9 ms": a host's usual.
std::string UsualText(const Usual& usual);

// "loss from isp on: router 0 %, isp 26 %, remote1 25 %, remote2 26 %; round trip
// +80 ms from isp on".
std::string EpisodeText(const Episode& episode, const Report& report);

// "30.11.2026 20:10:00 to 30.11.2026 20:12:00 (2 min)".
std::string EpisodeWhen(const Episode& episode);

// A host's part: "26.00 % loss, median 90 ms (usual 0.10 % loss, median 9 ms)".
std::string EpisodeHostText(const EpisodeHost& host, const Report& report);

// Where an episode points, for the JSON: "everything", "beyond", "one_host",
// "no_one_place".
const char* PlaceKind(Place place);

// The episodes the terminal and the page list: all, or the longest 20, by time; and
// "... and 12 shorter ones (--json lists them all)", or "" when all are listed.
std::vector<const Episode*> ListedEpisodes(const Report& report);
std::string MoreEpisodesText(const Report& report, std::size_t listed);

// "Degradation: 2 episodes (loss or slow replies clearly beyond a host's usual).".
std::string EpisodesHeading(const Report& report);

}  // namespace pinglog::report
