// What the reader calls the hosts (--name HOST=NAME, --names FILE): each host given as
// the log names it or by its address, found by hash however many hosts and names.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "report/logs/log_set.h"

namespace pinglog::report {

// A name is shown beside its host on every row and sample: a line's worth at most.
inline constexpr std::size_t kLongestName = 200;

class HostNames {
 public:
  struct Mapping {
    std::string host, name;
    std::string where;  // "--name router1=Gateway", "names.txt line 3"
    std::size_t order = 0;
  };

  // Takes "HOST=NAME" given at `where`: "" when taken, else what is wrong with it. A
  // host named before is named anew, and `warning` names both places.
  std::string Add(std::string_view mapping, const std::string& where, std::string& warning);

  // The mapping of a host known by this text or address, if any: the one given later
  // when both have one.
  const Mapping* Find(std::string_view host, std::string_view address) const;
  // The mapping of exactly this HOST, if any.
  const Mapping* Of(std::string_view host) const;

  // Every mapping in force, in the order given.
  std::vector<const Mapping*> All() const;
  bool empty() const { return by_host_.empty(); }

 private:
  std::vector<Mapping> given_;
  // The latest mapping of each HOST, found by a text without a copy of it.
  std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> by_host_;
};

// "HOST is named twice, by FIRST and by SECOND: the later name is used".
std::string NamedTwice(const std::string& host, const HostNames::Mapping& first,
                       const HostNames::Mapping& second);

// The names of --name (each a HOST=NAME) and of --names FILE ("" for none), in that
// order. Returns what is wrong, naming the option or the file's line; each warning
// (a host named twice) goes to `warn`.
std::string ReadHostNames(const std::vector<std::string>& given, const std::string& file,
                          HostNames& names, const std::function<void(const std::string&)>& warn);

}  // namespace pinglog::report
