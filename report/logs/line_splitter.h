// Cutting bytes into lines: the one splitter behind reading a whole log and following
// a growing one. A line ends at LF (a CR before it stays, for the parser to allow);
// bytes after the last LF wait for the next block. A line longer than any entry can be
// is never held: its bytes are dropped as they come, and it is handed on empty (no
// entry, counted as such) when it ends, so that memory stays bounded whatever a file
// holds (/dev/zero, a gigabyte without a line end).
#pragma once

#include <string>
#include <string_view>

#include "report/logs/find_byte.h"

namespace pinglog::report {

// Far longer than any entry the logger writes (a few hundred bytes).
inline constexpr std::size_t kLongestLine = std::size_t{64} << 10;

class LineSplitter {
 public:
  // Hands every line that `bytes` completes to `take`, in order.
  template <typename Take>
  void Feed(std::string_view bytes, Take&& take) {
    for (std::size_t end = FindByte(bytes, '\n'); end != std::string_view::npos;
         end = FindByte(bytes, '\n')) {
      const std::string_view line = bytes.substr(0, end);
      if (overlong_ || carried_.size() + line.size() > kLongestLine) {
        take(std::string_view());
      } else if (carried_.empty()) {
        take(line);
      } else {
        carried_.append(line);
        take(std::string_view(carried_));
      }
      Clear();
      bytes.remove_prefix(end + 1);
    }
    Carry(bytes);
  }

  // Hands on a last line that has no line end, if any (the end of a whole file).
  template <typename Take>
  void Finish(Take&& take) {
    if (overlong_) {
      take(std::string_view());
    } else if (!carried_.empty()) {
      take(std::string_view(carried_));
    }
    Clear();
  }

  // Forgets the pending bytes (and lets their memory go): the line was handed on, or
  // the file they came from was truncated or replaced.
  void Clear() {
    if (carried_.capacity() > kKeptCapacity) {
      std::string().swap(carried_);
    } else {
      carried_.clear();
    }
    overlong_ = false;
  }

 private:
  static constexpr std::size_t kKeptCapacity = 4096;

  void Carry(std::string_view bytes) {
    if (overlong_ || carried_.size() + bytes.size() > kLongestLine) {
      Clear();
      overlong_ = true;
    } else {
      carried_.append(bytes);
    }
  }

  std::string carried_;
  bool overlong_ = false;  // the line so far is longer than kLongestLine: not kept
};

}  // namespace pinglog::report
