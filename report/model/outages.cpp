#include "report/model/outages.h"

#include <algorithm>

namespace pinglog::report {

// The streams of a host's logs: each log in the stream whose last entry lies before its
// first, else in a stream of its own.
OutageFinder::Streams OutageFinder::StreamsOfFiles(const EntryList& placed) {
  std::map<std::uint32_t, std::pair<LogTime, LogTime>> spans;  // file -> first and last
  for (const Entry& entry : placed) {
    const auto [it, added] = spans.try_emplace(entry.file, entry.time, entry.time);
    it->second.first = std::min(it->second.first, entry.time);
    it->second.second = std::max(it->second.second, entry.time);
  }
  std::vector<std::pair<std::pair<LogTime, LogTime>, std::uint32_t>> by_start;
  by_start.reserve(spans.size());
  for (const auto& [file, span] : spans) by_start.emplace_back(span, file);
  std::sort(by_start.begin(), by_start.end());
  std::vector<LogTime> stream_ends;
  Streams streams;
  for (const auto& [span, file] : by_start) {
    std::size_t stream = 0;
    while (stream < stream_ends.size() && stream_ends[stream] >= span.first) ++stream;
    if (stream == stream_ends.size()) stream_ends.push_back(span.second);
    stream_ends[stream] = span.second;
    streams.of_file[file] = stream;
  }
  streams.count = std::max<std::size_t>(stream_ends.size(), 1);
  return streams;
}

OutageFinder::OutageFinder(const EntryList& placed, std::int64_t period, double longest_step)
    : period_(period),
      longest_step_(longest_step),
      stream_of_file_(StreamsOfFiles(placed)),
      streams_(stream_of_file_.count) {}

void OutageFinder::Close(Stream& stream, LogTime end, OutageEnd why) {
  if (stream.open.cycles > 0) {
    stream.open.end = end;
    stream.open.ends = why;
    found_.push_back(stream.open);
  }
  stream.open = Outage{};
}

void OutageFinder::Take(const Entry& entry, const CycleCounts& counts) {
  const auto found = stream_of_file_.of_file.find(entry.file);
  Stream& stream = streams_[found == stream_of_file_.of_file.end() ? 0 : found->second];
  // A stretch without entries in this stream: its outage ends where the next cycle was due.
  if (stream.started && static_cast<double>(entry.time - stream.last_entry) > longest_step_) {
    Close(stream, stream.last_unanswered + period_, OutageEnd::kNoEntries);
  }
  stream.started = true;
  stream.last_entry = entry.time;
  last_ = entry.time;
  if (counts.sent == 0) return;  // nothing left the machine: no news either way
  if (counts.replies > 0) {
    Close(stream, entry.time, OutageEnd::kAnswered);
    return;
  }
  if (stream.open.cycles == 0) stream.open.start = entry.time;
  stream.last_unanswered = entry.time;
  ++stream.open.cycles;
}

std::vector<Outage> OutageFinder::Finish() {
  for (Stream& stream : streams_) {
    // Still down at the host's last entry, or a stream that ended before the others.
    const bool open = stream.last_entry == last_;
    Close(stream, stream.last_unanswered + period_,
          open ? OutageEnd::kOpen : OutageEnd::kNoEntries);
  }
  std::stable_sort(found_.begin(), found_.end(),
                   [](const Outage& a, const Outage& b) { return a.start < b.start; });
  std::vector<Outage> outages;
  for (const Outage& outage : found_) {
    if (outages.empty() || outage.start >= outages.back().end) {
      outages.push_back(outage);
      continue;
    }
    Outage& joined = outages.back();
    joined.cycles += outage.cycles;
    if (outage.end >= joined.end) {
      joined.end = outage.end;
      joined.ends = outage.ends;
    }
  }
  return outages;
}

}  // namespace pinglog::report
