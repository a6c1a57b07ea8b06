#include "report/model/host_names.h"

#include <algorithm>

#include "report/logs/names_file.h"

namespace pinglog::report {
namespace {

// A text as a message may quote it: a long one cut short.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 60;
  return text.size() <= kShown ? std::string(text) : std::string(text.substr(0, kShown)) + "...";
}

}  // namespace

std::string NamedTwice(const std::string& host, const HostNames::Mapping& first,
                       const HostNames::Mapping& second) {
  return host + " is named twice, by " + first.where + " and by " + second.where +
         ": the later name is used";
}

std::string HostNames::Add(std::string_view mapping, const std::string& where,
                           std::string& warning) {
  const std::size_t equals = mapping.find('=');
  if (equals == 0 || equals == std::string_view::npos || equals + 1 == mapping.size()) {
    return "not HOST=NAME";
  }
  const std::string_view host = mapping.substr(0, equals), name = mapping.substr(equals + 1);
  if (name.size() > kLongestName) {
    return "a name of " + std::to_string(name.size()) + " bytes: at most " +
           std::to_string(kLongestName);
  }
  const std::size_t order = given_.size();
  given_.push_back({std::string(host), std::string(name), where, order});
  const auto [it, added] = by_host_.try_emplace(std::string(host), order);
  warning.clear();
  if (!added) {
    warning = NamedTwice(Quoted(host), given_[it->second], given_.back());
    it->second = order;
  }
  return "";
}

const HostNames::Mapping* HostNames::Of(std::string_view host) const {
  const auto found = by_host_.find(host);
  return found == by_host_.end() ? nullptr : &given_[found->second];
}

const HostNames::Mapping* HostNames::Find(std::string_view host, std::string_view address) const {
  const Mapping* by_text = Of(host);
  const Mapping* by_address = address == host ? nullptr : Of(address);
  if (by_text == nullptr) return by_address;
  if (by_address == nullptr) return by_text;
  return by_address->order > by_text->order ? by_address : by_text;
}

std::vector<const HostNames::Mapping*> HostNames::All() const {
  std::vector<const Mapping*> all;
  all.reserve(by_host_.size());
  for (const auto& [host, order] : by_host_) all.push_back(&given_[order]);
  std::sort(all.begin(), all.end(),
            [](const Mapping* a, const Mapping* b) { return a->order < b->order; });
  return all;
}

std::string ReadHostNames(const std::vector<std::string>& given, const std::string& file,
                          HostNames& names, const std::function<void(const std::string&)>& warn) {
  std::string warning;
  for (const std::string& mapping : given) {
    const std::string problem = names.Add(mapping, "--name " + Quoted(mapping), warning);
    if (!problem.empty()) return "--name " + Quoted(mapping) + ": " + problem;
    if (!warning.empty()) warn(warning);
  }
  if (file.empty()) return "";
  std::vector<std::string> lines;
  if (const std::string problem = ReadNamesFile(file, lines); !problem.empty()) {
    return "--names " + file + ": " + problem;
  }
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.empty() || line[0] == '#') continue;  // blank lines and comments
    const std::string where = file + " line " + std::to_string(n + 1);
    const std::string problem = names.Add(line, where, warning);
    if (!problem.empty()) return "--names " + where + ": " + std::string(problem);
    if (!warning.empty()) warn(warning);
  }
  return "";
}

}  // namespace pinglog::report
