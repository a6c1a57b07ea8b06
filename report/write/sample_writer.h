// The exposition's lines gathered in a large buffer: handed to a stream a megabyte at a
// time (the history of a year is about a gigabyte of them), or kept until they are
// taken, for lines made on another thread.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

namespace pinglog::report {

// Whole milliseconds as seconds, exactly ("97.717"), written at `at`; returns the end.
inline constexpr std::size_t kLongestSeconds = 24;  // "-9223372036854775.808"
char* WriteSeconds(char* at, std::int64_t milliseconds);

// Lines made somewhere and not yet written: the first `used` bytes of `buffer`.
struct GatheredLines {
  std::vector<char> buffer;
  std::size_t used = 0;
};

class SampleWriter {
 public:
  // Hands the lines on to `out`.
  explicit SampleWriter(std::ostream& out) : out_(&out), buffer_(kFlushAt + kSlack) {}
  // Keeps the lines until Take() (in `room`, a buffer written before, when given).
  explicit SampleWriter(std::vector<char> room = {}) : buffer_(std::move(room)) {
    if (buffer_.size() < kFlushAt + kSlack) buffer_.resize(kFlushAt + kSlack);
  }
  ~SampleWriter() { Flush(); }
  SampleWriter(const SampleWriter&) = delete;
  SampleWriter& operator=(const SampleWriter&) = delete;

  void Text(std::string_view text) { Filled(Copy(Room(text.size()), text)); }
  // PREFIX VALUE END, where END holds the time, if any, and the line end.
  void Sample(std::string_view prefix, std::int64_t value, std::string_view end) {
    constexpr std::size_t kLongestNumber = 20;  // "-9223372036854775808"
    char* at = Room(prefix.size() + kLongestNumber + end.size());
    at = Copy(at, prefix);
    at = std::to_chars(at, at + kLongestNumber, value).ptr;
    Filled(Copy(at, end));
  }
  // PREFIX SECONDS END, of whole milliseconds.
  void SampleSeconds(std::string_view prefix, std::int64_t milliseconds, std::string_view end) {
    char* at = Room(prefix.size() + kLongestSeconds + end.size());
    at = Copy(at, prefix);
    at = WriteSeconds(at, milliseconds);
    Filled(Copy(at, end));
  }
  // Lines gathered elsewhere, after those written here.
  void Lines(const GatheredLines& lines) {
    Flush();
    if (out_ != nullptr) out_->write(lines.buffer.data(), static_cast<std::streamsize>(lines.used));
  }
  // The lines kept so far (none are kept when handed to a stream); `room` keeps the next.
  GatheredLines Take(std::vector<char> room) {
    if (room.size() < kFlushAt + kSlack) room.resize(kFlushAt + kSlack);
    GatheredLines taken{std::exchange(buffer_, std::move(room)), used_};
    used_ = 0;
    return taken;
  }
  void Flush() {
    if (out_ == nullptr) return;
    out_->write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  static constexpr std::size_t kSlack = 1 << 16;  // a line's room beyond kFlushAt

  // Where `size` more bytes can be written (what is gathered handed on first if need be).
  char* Room(std::size_t size) {
    if (used_ + size > buffer_.size()) {
      Flush();
      if (used_ + size > buffer_.size()) buffer_.resize(std::max(used_ + size, buffer_.size() * 2));
    }
    return buffer_.data() + used_;
  }
  static char* Copy(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  }
  // The bytes up to `end` are written.
  void Filled(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.data());
    if (used_ >= kFlushAt) Flush();
  }

  std::ostream* out_ = nullptr;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

}  // namespace pinglog::report
