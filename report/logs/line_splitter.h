// Cutting bytes into lines: the one splitter behind reading a whole log and following
// a growing one. A line ends at LF (a CR before it stays, for the parser to allow);
// bytes after the last LF wait for the next block.
#pragma once

#include <string>
#include <string_view>

namespace pinglog::report {

class LineSplitter {
 public:
  // Hands every line that `bytes` completes to `take`, in order.
  template <typename Take>
  void Feed(std::string_view bytes, Take&& take) {
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos;
         end = bytes.find('\n')) {
      if (carried_.empty()) {
        take(bytes.substr(0, end));
      } else {
        carried_.append(bytes.substr(0, end));
        take(std::string_view(carried_));
        carried_.clear();
      }
      bytes.remove_prefix(end + 1);
    }
    carried_.append(bytes);
  }

  // A last line without its line end yet.
  const std::string& pending() const { return carried_; }
  // Forgets the pending bytes: the file they came from was truncated or replaced.
  void Clear() { carried_.clear(); }

 private:
  std::string carried_;
};

}  // namespace pinglog::report
