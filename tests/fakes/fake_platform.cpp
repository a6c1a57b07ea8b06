#include "fakes/fake_platform.h"

#include <algorithm>

namespace pinglog::testing {

FakePlatform::FakePlatform() { InstallPlatform(this); }

FakePlatform::~FakePlatform() { InstallPlatform(nullptr); }

int FakePlatform::CountEvents(const std::string& prefix) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
    return e.compare(0, prefix.size(), prefix) == 0;
  }));
}

FileHandle FakePlatform::FileOpen(const std::string& path, FileAccess access) {
  events.push_back("open " + path);
  if (unopenable.count(path)) return kNoFile;
  if (access == FileAccess::kReadShared) {
    if (!files.count(path)) return kNoFile;
  } else {
    if (locked_by_others.count(path)) return kNoFile;
    files[path];  // created empty when missing, kept otherwise
  }
  const FileHandle handle = next_handle_++;
  open_files_[handle] = OpenFile{path, 0};
  return handle;
}

std::int64_t FakePlatform::FileRead(FileHandle file, char* into, std::int64_t size) {
  events.push_back("read");
  ++reads;
  OpenFile& open = open_files_.at(file);
  const std::string& content = files[open.path];
  if (open.position >= static_cast<std::int64_t>(content.size())) return 0;
  const std::int64_t got =
      std::min<std::int64_t>(size, static_cast<std::int64_t>(content.size()) - open.position);
  std::copy_n(content.data() + open.position, got, into);
  open.position += got;
  return got;
}

std::int64_t FakePlatform::FileWrite(FileHandle file, const char* from, std::int64_t size) {
  events.push_back("write " + std::to_string(size));
  write_sizes.push_back(size);
  OpenFile& open = open_files_.at(file);
  if (disk_space >= 0) {  // a full disk takes what fits and refuses the rest
    std::int64_t used = 0;
    for (const auto& [path, content] : files) used += static_cast<std::int64_t>(content.size());
    size = std::clamp<std::int64_t>(disk_space - used, 0, size);
  }
  std::string& content = files[open.path];
  if (static_cast<std::int64_t>(content.size()) < open.position + size) {
    content.resize(open.position + size);
  }
  content.replace(open.position, size, from, size);
  open.position += size;
  return size;
}

std::int64_t FakePlatform::FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) {
  events.push_back("seek");
  OpenFile& open = open_files_.at(file);
  open.position = origin == SeekOrigin::kBegin ? offset : open.position + offset;
  return open.position;
}

void FakePlatform::FileTruncate(FileHandle file, std::int64_t size) {
  events.push_back("truncate " + std::to_string(size));
  OpenFile& open = open_files_.at(file);
  files[open.path].resize(size);
  open.position = size;
}

std::int64_t FakePlatform::FileSize(FileHandle file) {
  events.push_back("size");
  return static_cast<std::int64_t>(files[open_files_.at(file).path].size());
}

void FakePlatform::FileClose(FileHandle file) {
  events.push_back("close");
  open_files_.erase(file);
}

char* FakePlatform::AllocateBlock(std::size_t size) {
  if (allocations_before_failure == 0) return nullptr;
  if (allocations_before_failure > 0) --allocations_before_failure;
  ++blocks_outstanding;
  return new char[size];
}

void FakePlatform::ReleaseBlock(char* block) {
  if (block != nullptr) --blocks_outstanding;
  delete[] block;
}

LocalTimeFields FakePlatform::LocalTime() {
  events.push_back("clock");
  const CalendarFields fields =
      SplitTime(static_cast<CalendarTime>(std::clamp<std::int64_t>(now, -1, INT32_MAX)));
  return {fields.year, fields.month, fields.day, fields.hour, fields.minute, fields.second};
}

void FakePlatform::SleepMilliseconds(std::uint32_t ms) {
  events.push_back("sleep " + std::to_string(ms));
  sleeps.push_back(ms);
  const std::uint64_t total = std::uint64_t{pending_ms_} + ms;
  now += static_cast<std::int64_t>(total / 1000);
  pending_ms_ = static_cast<std::uint32_t>(total % 1000);
}

void FakePlatform::ShowNotice(const std::string& caption, const std::string& text) {
  events.push_back("notice");
  notices.push_back(caption + ": " + text);
}

HostLookup FakePlatform::LookupHost(const std::string& host) {
  events.push_back("lookup " + host);
  const auto found = hosts.find(host);
  return found == hosts.end() ? HostLookup{} : found->second;
}

EchoHandle FakePlatform::EchoOpen() {
  events.push_back("echo-open");
  return echo_open_result;
}

EchoResult FakePlatform::EchoSend(EchoHandle echo, const IPv4Bytes& destination,
                                  const char* payload, std::uint16_t size,
                                  std::uint32_t timeout_ms) {
  events.push_back("echo");
  echo_requests.push_back({echo, destination, std::string(payload, size), timeout_ms});
  if (!echo_script.empty()) {
    const EchoResult result = echo_script.front();
    echo_script.pop_front();
    return result;
  }
  EchoResult result;
  result.replies = 1;
  result.reply.source = destination;
  result.reply.round_trip_ms = default_round_trip_ms;
  result.reply.data_size = size;
  result.reply.ttl = 64;
  return result;
}

void FakePlatform::EchoClose(EchoHandle /*echo*/) { events.push_back("echo-close"); }

bool FakePlatform::ChangeDirectory(const std::string& path) {
  events.push_back("chdir " + path);
  if (path.empty() || path == "/missing") return false;
  working_directory = AbsolutePath(path);
  return true;
}

std::string FakePlatform::AbsolutePath(const std::string& path) {
  return !path.empty() && path[0] == '/' ? path : working_directory + "/" + path;
}

std::string FakePlatform::ProgramBeside(const std::string& name) { return "/usr/bin/" + name; }

AppendCheck FakePlatform::CheckAppend(const std::string& path) {
  const auto scripted = append_checks.find(AbsolutePath(path));
  if (scripted != append_checks.end()) return scripted->second;
  const bool exists = files.count(path) != 0;
  return {exists ? AppendAccess::kAppends : AppendAccess::kCreates,
          {},
          exists ? FileKind::kRegular : FileKind::kMissing};
}

FileKind FakePlatform::PathKind(const std::string& path) {
  const auto special = path_kinds.find(path);
  if (special != path_kinds.end()) return special->second;
  return files.count(path) ? FileKind::kRegular : FileKind::kMissing;
}

EchoPermission FakePlatform::CheckEchoPermission(const std::string&) { return echo_permission; }

std::string FakePlatform::UserName() { return user_name; }

std::string FakePlatform::BecomeUser(const std::string& name) {
  events.push_back("become " + name);
  if (become_user_result.empty()) user_name = name;
  return become_user_result;
}

void FakePlatform::ShowInformation(const std::string& caption, const std::string& text) {
  information.push_back(caption + ": " + text);
}

void SetClock(FakePlatform& platform, int year, int month, int day, int hour, int minute,
              int second) {
  platform.now = ComposeTime(year, month, day, hour, minute, second);
}

}  // namespace pinglog::testing
