#include "report/follower.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pinglog::report {
namespace {

constexpr std::size_t kHeadBytes = 64;

bool Matches(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  return !name.empty() && (pattern[0] == '?' || pattern[0] == name[0]) &&
         Matches(pattern.substr(1), name.substr(1));
}

}  // namespace

LogFollower::LogFollower(std::string path, LogSet& logs, std::uint16_t file)
    : path_(std::move(path)), reader_(logs, file) {}

void LogFollower::Poll() {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  const std::size_t common = std::min(head.size(), head_.size());
  if (size < offset_ || head.compare(0, common, head_, 0, common) != 0) {
    offset_ = 0;  // truncated or replaced: the counters go on with what it holds now
    carried_.clear();
    reader_.Restart();
  }
  head_ = head;
  if (size == offset_) return;
  in.seekg(static_cast<std::streamoff>(offset_));
  std::string gained(size - offset_, '\0');
  in.read(gained.data(), static_cast<std::streamsize>(gained.size()));
  gained.resize(static_cast<std::size_t>(in.gcount()));
  offset_ += gained.size();
  std::string_view rest(gained);
  for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
    carried_.append(rest.substr(0, end));
    reader_.Take(carried_);
    carried_.clear();
    rest.remove_prefix(end + 1);
  }
  carried_.append(rest);
}

std::vector<std::string> ExpandLogPattern(const std::string& pattern) {
  if (pattern.find_first_of("*?") == std::string::npos) return {pattern};
  namespace fs = std::filesystem;
  std::vector<std::string> paths = {pattern[0] == '/' ? "/" : ""};
  std::size_t start = pattern[0] == '/' ? 1 : 0;
  while (start <= pattern.size()) {
    const std::size_t slash = std::min(pattern.find('/', start), pattern.size());
    const std::string part = pattern.substr(start, slash - start);
    std::vector<std::string> next;
    for (const std::string& base : paths) {
      if (part.find_first_of("*?") == std::string::npos) {
        next.push_back(base + part);
        continue;
      }
      std::error_code error;
      for (fs::directory_iterator it(base.empty() ? "." : base, error), end; !error && it != end;
           it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name[0] != '.' && Matches(part, name)) next.push_back(base + name);
      }
    }
    for (std::string& path : next) {
      if (slash < pattern.size()) path += '/';
    }
    paths = std::move(next);
    start = slash + 1;
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace pinglog::report
