#include "report/logs/log_patterns.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pinglog::report {
namespace {

// "*" any run of characters, "?" any one. Two pointers: on a mismatch, the last "*"
// takes one character more and matching goes on behind it, so that a pattern of many
// stars never costs more than its length times the name's (a name in the watched
// folder must not stall the follower).
bool Matches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_n = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<std::string> ExpandLogPattern(const std::string& pattern) {
  if (pattern.find_first_of("*?") == std::string::npos) return {pattern};
  namespace fs = std::filesystem;
  const char* separators = fs::path::preferred_separator == '\\' ? "/\\" : "/";
  const bool rooted = std::string_view(separators).find(pattern[0]) != std::string_view::npos;
  std::vector<std::string> paths = {rooted ? std::string(1, pattern[0]) : ""};
  std::size_t start = rooted ? 1 : 0;
  while (start <= pattern.size()) {
    const std::size_t slash = std::min(pattern.find_first_of(separators, start), pattern.size());
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
        // A part before the last names directories only.
        std::error_code unknown_type;
        const bool fits = slash == pattern.size() || it->is_directory(unknown_type);
        if (name[0] != '.' && fits && Matches(part, name)) next.push_back(base + name);
      }
    }
    for (std::string& path : next) {
      if (slash < pattern.size()) path += pattern[slash];
    }
    paths = std::move(next);
    start = slash + 1;
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::string> ExpandLogArguments(
    const std::vector<std::string>& arguments,
    const std::function<void(const std::string&)>& unmatched) {
  std::vector<std::string> files;
  for (const std::string& argument : arguments) {
    const std::vector<std::string> matches = ExpandLogPattern(argument);
    if (matches.empty()) unmatched(argument);
    files.insert(files.end(), matches.begin(), matches.end());
  }
  return files;
}

}  // namespace pinglog::report
