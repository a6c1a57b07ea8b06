// A scripted platform for unit tests: files in memory, a clock that advances only when
// the program pauses, scripted name lookups and echo outcomes. Every call is recorded
// in `events`, in order, so tests can check what happened and when. Constructing one
// installs it; destroying it brings back the operating system's platform.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/calendar_time.h"

namespace pinglog::testing {

class FakePlatform : public Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  // Files.
  std::map<std::string, std::string> files;  // path -> content
  std::set<std::string> locked_by_others;    // opening these for writing fails
  std::set<std::string> unopenable;          // every open of these fails
  int reads = 0;
  std::vector<std::int64_t> write_sizes;  // one per platform write
  int allocations_before_failure = -1;    // -1: allocations never fail
  std::int64_t disk_space = -1;           // bytes all files may hold; -1: no limit
  int blocks_outstanding = 0;

  // Clock: the wall clock stands still except while the program pauses.
  std::int64_t now = 0;
  std::vector<std::uint32_t> sleeps;

  std::vector<std::string> notices;  // "caption: text"

  // Lookup: names not listed are not found.
  std::map<std::string, HostLookup> hosts;

  // Echo: outcomes are taken from the front of the script; when it is empty, each
  // request gets a reply of `default_round_trip_ms` from its destination.
  std::deque<EchoResult> echo_script;
  std::uint32_t default_round_trip_ms = 1;
  EchoHandle echo_open_result = 42;
  struct EchoRequest {
    EchoHandle handle;
    IPv4Bytes destination;
    std::string payload;
    std::uint32_t timeout_ms;
  };
  std::vector<EchoRequest> echo_requests;

  // Paths and privileges: relative paths lie below `working_directory`; a file in
  // `files` appends, any other path creates unless `append_checks` says otherwise.
  std::string working_directory = "/srv/logger";
  std::map<std::string, AppendCheck> append_checks;  // by absolute path
  std::map<std::string, FileKind> path_kinds;        // other than files: a file or nothing
  EchoPermission echo_permission = EchoPermission::kRawSocket;
  std::string user_name = "tester";
  std::string become_user_result;  // "" succeeds
  std::vector<std::string> information;

  // Every call, in order: "open PATH", "read", "write N", "seek", "truncate N", "size", "close",
  // "clock", "sleep MS", "notice", "lookup HOST", "echo-open", "echo", "echo-close", "chdir DIR",
  // "become USER".
  std::vector<std::string> events;
  int CountEvents(const std::string& prefix) const;

  FileHandle FileOpen(const std::string& path, FileAccess access) override;
  std::int64_t FileRead(FileHandle file, char* into, std::int64_t size) override;
  std::int64_t FileWrite(FileHandle file, const char* from, std::int64_t size) override;
  std::int64_t FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) override;
  void FileTruncate(FileHandle file, std::int64_t size) override;
  std::int64_t FileSize(FileHandle file) override;
  void FileClose(FileHandle file) override;
  char* AllocateBlock(std::size_t size) override;
  void ReleaseBlock(char* block) override;
  LocalTimeFields LocalTime() override;
  void SleepMilliseconds(std::uint32_t ms) override;
  void ShowNotice(const std::string& caption, const std::string& text) override;
  HostLookup LookupHost(const std::string& host) override;
  EchoHandle EchoOpen() override;
  EchoResult EchoSend(EchoHandle echo, const IPv4Bytes& destination, const char* payload,
                      std::uint16_t size, std::uint32_t timeout_ms) override;
  void EchoClose(EchoHandle echo) override;
  bool ChangeDirectory(const std::string& path) override;
  std::string AbsolutePath(const std::string& path) override;
  std::string ProgramBeside(const std::string& name) override;
  AppendCheck CheckAppend(const std::string& path) override;
  FileKind PathKind(const std::string& path) override;
  EchoPermission CheckEchoPermission(const std::string& logger_path) override;
  std::string UserName() override;
  std::string BecomeUser(const std::string& name) override;
  void ShowInformation(const std::string& caption, const std::string& text) override;

 private:
  struct OpenFile {
    std::string path;
    std::int64_t position = 0;
  };
  std::map<FileHandle, OpenFile> open_files_;
  FileHandle next_handle_ = 100;
  std::uint32_t pending_ms_ = 0;
};

// Sets the fake clock to a local date and time.
void SetClock(FakePlatform& platform, int year, int month, int day, int hour, int minute,
              int second);

}  // namespace pinglog::testing
