#include "report/logs/duplicates.h"

#include <algorithm>

namespace pinglog::report {
namespace {

// Within entries [first, last) of one second: for each measurement, the file that
// holds it most often keeps its copies; the other files' copies are marked.
void MarkDuplicates(const LogSet& logs, std::size_t first, std::size_t last,
                    std::vector<bool>& drop,
                    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int64_t>& found) {
  std::vector<bool> seen(last - first, false);
  for (std::size_t i = first; i < last; ++i) {
    if (seen[i - first]) continue;
    std::map<std::uint32_t, std::vector<std::size_t>> by_file;
    for (std::size_t j = i; j < last; ++j) {
      if (!seen[j - first] && SameMeasurement(logs.entries[i], logs.entries[j])) {
        seen[j - first] = true;
        by_file[logs.entries[j].file].push_back(j);
      }
    }
    if (by_file.size() < 2) continue;
    std::uint32_t keeper = by_file.begin()->first;
    for (const auto& [file, copies] : by_file) {
      if (copies.size() > by_file[keeper].size()) keeper = file;
    }
    for (const auto& [file, copies] : by_file) {
      if (file == keeper) continue;
      for (const std::size_t j : copies) drop[j] = true;
      found[{file, keeper}] += static_cast<std::int64_t>(copies.size());
    }
  }
}

// A file is told apart from others by the low 24 bits of its number.
constexpr std::uint32_t kFileBits = 0xFFFFFF;

// A 64-bit key of what SameMeasurement compares (FNV-1a over the fields).
std::uint64_t MeasurementKey(const Entry& e) {
  std::uint64_t key = 14695981039346656037ULL;
  const auto mix = [&key](std::uint64_t value) {
    for (int i = 0; i < 8; ++i, value >>= 8) {
      key = (key ^ (value & 0xff)) * 1099511628211ULL;
    }
  };
  mix(static_cast<std::uint64_t>(e.time));
  mix(e.host);
  mix(std::uint64_t{e.target[0]} << 24 | std::uint64_t{e.target[1]} << 16 |
      std::uint64_t{e.target[2]} << 8 | e.target[3]);
  for (const Attempt& a : e.attempts) {
    mix(static_cast<std::uint64_t>(a.outcome) << 56 | std::uint64_t{a.ttl} << 48 |
        std::uint64_t{a.bytes} << 32 | std::uint64_t{a.time_ms} << 16);
    const Address source = a.source();
    mix(std::uint64_t{source[0]} << 56 | std::uint64_t{source[1]} << 48 |
        std::uint64_t{source[2]} << 40 | std::uint64_t{source[3]} << 32 | a.error());
  }
  return key;
}

}  // namespace

DuplicateFilter::Seen& DuplicateFilter::Find(std::uint64_t key, std::uint32_t file, bool& added) {
  const auto by_key = [](const Seen& a, const Seen& b) { return a.key < b.key; };
  constexpr std::size_t kMergeAt = 4096;
  if (recent_.size() >= kMergeAt) {  // one merge for many keys keeps adding cheap
    const auto middle = static_cast<std::ptrdiff_t>(sorted_.size());
    for (const auto& [k, seen] : recent_) sorted_.push_back(seen);
    std::sort(sorted_.begin() + middle, sorted_.end(), by_key);
    std::inplace_merge(sorted_.begin(), sorted_.begin() + middle, sorted_.end(), by_key);
    recent_.clear();
  }
  Seen probe{key, 0, 0, 0, 0};
  const auto at = std::lower_bound(sorted_.begin(), sorted_.end(), probe, by_key);
  added = false;
  if (at != sorted_.end() && at->key == key) return *at;
  probe.file = file & kFileBits;
  const auto [it, inserted] = recent_.try_emplace(key, probe);
  added = inserted;
  return it->second;
}

bool DuplicateFilter::Keep(const Entry& entry) {
  constexpr std::uint32_t kMostCopies = 255;
  bool added = false;
  const std::uint32_t file = entry.file & kFileBits;
  Seen& seen = Find(MeasurementKey(entry), file, added);
  if (added || seen.file == file) {
    if (seen.in_file < kMostCopies) ++seen.in_file;
    return true;
  }
  if (seen.other != file) {
    seen.other = file;
    seen.elsewhere = 0;
  }
  if (seen.elsewhere < kMostCopies) ++seen.elsewhere;
  // Copies beyond what the file that holds it most often holds are measurements of
  // their own; that file is then this one.
  if (seen.elsewhere > seen.in_file) {
    const std::uint32_t holder = seen.file, held = seen.in_file;
    seen.file = file;
    seen.in_file = seen.elsewhere;
    seen.other = holder;
    seen.elsewhere = held;
    return true;
  }
  ++dropped_;
  return false;
}

void DropDuplicates(LogSet& logs) {
  if (logs.files.size() < 2) return;
  std::vector<bool> drop(logs.entries.size(), false);
  for (std::size_t first = 0; first < logs.entries.size();) {
    std::size_t last = first + 1;
    while (last < logs.entries.size() && logs.entries.TimeAt(last) == logs.entries.TimeAt(first)) {
      ++last;
    }
    if (last - first > 1) MarkDuplicates(logs, first, last, drop, logs.duplicates);
    first = last;
  }
  logs.entries.KeepOnly([&](std::size_t i) { return !drop[i]; });
}

}  // namespace pinglog::report
