#include "report/logs/log_patterns.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pinglog::report {
namespace {

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

}  // namespace pinglog::report
