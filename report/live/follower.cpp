#include "report/live/follower.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pinglog::report {
namespace {

constexpr std::size_t kHeadBytes = 64;
constexpr std::uint64_t kBlockBytes = 1 << 20;

const char* KindOf(std::filesystem::file_type type) {
  switch (type) {
    case std::filesystem::file_type::directory:
      return "a directory";
    case std::filesystem::file_type::fifo:
      return "a named pipe";
    case std::filesystem::file_type::socket:
      return "a socket";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
      return "a device";
    default:
      return "not a regular file";
  }
}

}  // namespace

LogFollower::LogFollower(std::string path, LogSet& logs, std::uint16_t file)
    : path_(std::move(path)), reader_(logs, file) {}

std::string LogFollower::Say(State state, const std::string& what) {
  if (state == said_) return "";
  const bool again = state == State::kFollowed && said_ == State::kUnreadable;
  said_ = state;
  if (state == State::kFollowed) return again ? path_ + ": can be read now" : "";
  return path_ + ": " + what;
}

std::string LogFollower::Poll(const std::function<bool()>& take) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path_, error);
  if (!std::filesystem::exists(status)) return "";  // not there yet: followed once it is
  if (!std::filesystem::is_regular_file(status)) {
    return Say(State::kNotAFile, std::string(KindOf(status.type())) + ", not a log: skipped");
  }
  errno = 0;
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    const int reason = errno;
    return Say(State::kUnreadable,
               (reason != 0 ? std::generic_category().message(reason) : "cannot be opened") +
                   ": tried again each round");
  }
  std::string said = Say(State::kFollowed, "");
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  const std::size_t common = std::min(head.size(), head_.size());
  if (size < offset_ || head.compare(0, common, head_, 0, common) != 0) {
    offset_ = 0;  // truncated or replaced: the counters go on with what it holds now
    lines_.Clear();
    reader_.Restart();
  }
  head_ = head;
  if (size > offset_) Read(in, size, take);
  return said;
}

// From where the last look ended to `size`, a block at a time.
bool LogFollower::Read(std::istream& in, std::uint64_t size, const std::function<bool()>& take) {
  in.seekg(static_cast<std::streamoff>(offset_));
  std::string block(static_cast<std::size_t>(std::min(size - offset_, kBlockBytes)), '\0');
  while (offset_ < size) {
    in.read(block.data(),
            static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), size - offset_)));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    offset_ += got;
    lines_.Feed(std::string_view(block.data(), got),
                [this](std::string_view line) { reader_.Take(line); });
    if (!take()) return false;
  }
  return true;
}

}  // namespace pinglog::report
