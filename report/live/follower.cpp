#include "report/live/follower.h"

#include <algorithm>
#include <vector>

namespace pinglog::report {
namespace {

constexpr std::size_t kHeadBytes = 64;
constexpr std::uint64_t kBlockBytes = 1 << 20;

}  // namespace

LogFollower::LogFollower(std::string path, LogSet& logs, std::uint32_t& file_numbers)
    : path_(std::move(path)), file_numbers_(file_numbers), reader_(logs, file_numbers++) {}

std::string LogFollower::Say(State state, const std::string& what) {
  if (state == said_) return "";
  const bool again = state == State::kFollowed && said_ == State::kUnreadable;
  said_ = state;
  if (state == State::kFollowed) return again ? path_ + ": can be read now" : "";
  return path_ + ": " + what;
}

std::string LogFollower::Poll(const std::function<bool()>& take) {
  InputFile in(path_);
  if (!in.IsOpen() && in.kind() == FileKind::kMissing) return "";  // followed once it is there
  if (in.kind() != FileKind::kRegular && in.kind() != FileKind::kMissing) {
    return Say(State::kNotAFile, std::string(FileKindName(in.kind())) + ", not a log: skipped");
  }
  if (!in.IsOpen()) return Say(State::kUnreadable, in.problem() + ": tried again each round");
  std::string said = Say(State::kFollowed, "");
  std::string head(kHeadBytes, '\0');
  const std::int64_t got = in.Read(head.data(), head.size());
  head.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
  const std::uint64_t size = in.Size();
  const std::size_t common = std::min(head.size(), head_.size());
  if (size < offset_ || head.compare(0, common, head_, 0, common) != 0) {
    offset_ = 0;  // truncated or replaced: the counters go on with what it holds now
    lines_.Clear();
    reader_.Restart(file_numbers_++);
  }
  head_ = head;
  if (size > offset_) Read(in, size, take);
  return said;
}

// From where the last look ended to `size`, a block at a time.
bool LogFollower::Read(InputFile& in, std::uint64_t size, const std::function<bool()>& take) {
  if (!in.Seek(offset_)) return true;
  std::vector<char> block(static_cast<std::size_t>(std::min(size - offset_, kBlockBytes)));
  while (offset_ < size) {
    const std::int64_t got =
        in.Read(block.data(),
                static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - offset_)));
    if (got <= 0) break;
    offset_ += static_cast<std::uint64_t>(got);
    lines_.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)),
                [this](std::string_view line) { reader_.Take(line); });
    if (!take()) return false;
  }
  return true;
}

}  // namespace pinglog::report
