#include "report/live/follower.h"

#include <algorithm>
#include <fstream>

namespace pinglog::report {
namespace {

constexpr std::size_t kHeadBytes = 64;
constexpr std::uint64_t kBlockBytes = 1 << 20;

}  // namespace

LogFollower::LogFollower(std::string path, LogSet& logs, std::uint16_t file)
    : path_(std::move(path)), reader_(logs, file) {}

void LogFollower::Poll() {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
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
  if (size == offset_) return;
  in.seekg(static_cast<std::streamoff>(offset_));
  // In blocks: a long backlog is not held whole.
  std::string block(static_cast<std::size_t>(std::min<std::uint64_t>(size - offset_, kBlockBytes)),
                    '\0');
  while (offset_ < size) {
    in.read(block.data(),
            static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), size - offset_)));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    offset_ += got;
    lines_.Feed(std::string_view(block.data(), got),
                [this](std::string_view line) { reader_.Take(line); });
  }
}

}  // namespace pinglog::report
