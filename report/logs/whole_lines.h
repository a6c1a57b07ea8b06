// Cutting the blocks read from a log at their last line end, so that each block handed
// on holds whole lines: the bytes after its last LF open the next block. Lines longer
// than kLongestLine follow the line splitter's rule: never held, handed on as empty.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "report/logs/line_splitter.h"

namespace pinglog::report {

class WholeLines {
 public:
  // The room a block of `block_bytes` needs, with the bytes carried before it.
  static constexpr std::size_t BufferBytes(std::size_t block_bytes) {
    return kLongestLine + block_bytes;
  }

  // Puts the bytes carried from the block before at the start of `buffer`; the next
  // block is read after them, at the offset returned.
  std::size_t Begin(char* buffer) const {
    if (!carried_.empty()) std::memcpy(buffer, carried_.data(), carried_.size());
    return carried_.size();
  }

  // The whole lines among the bytes carried and the `read` bytes after them (none,
  // when no line ends there); the bytes after the last line end are carried.
  std::string_view Cut(char* buffer, std::size_t begin, std::size_t read) {
    std::string_view bytes(buffer, begin + read);
    if (overlong_) {  // its end is an empty line
      const std::size_t end = bytes.find('\n');
      if (end == std::string_view::npos) return {};
      overlong_ = false;
      bytes.remove_prefix(end);
    }
    const std::size_t last = bytes.rfind('\n');
    const std::size_t whole = last == std::string_view::npos ? 0 : last + 1;
    Carry(bytes.substr(whole));
    return bytes.substr(0, whole);
  }

  // At the log's end: its last line, if it has no line end (none: empty).
  std::string_view Finish(char* buffer, std::size_t begin) {
    if (overlong_) {
      overlong_ = false;
      buffer[0] = '\n';
      return {buffer, 1};
    }
    carried_.clear();
    return {buffer, begin};
  }

 private:
  void Carry(std::string_view bytes) {
    overlong_ = bytes.size() > kLongestLine;
    if (overlong_) {
      std::string().swap(carried_);
    } else {
      carried_.assign(bytes);
    }
  }

  std::string carried_;
  bool overlong_ = false;  // the line carried is longer than kLongestLine: not kept
};

}  // namespace pinglog::report
