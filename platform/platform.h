// The seam between the logger and the operating system.
//
// Everything the logic needs from the OS goes through one Platform object, so that
// tests can install a scripted one (clock, pauses, echo outcomes, files in memory).
// No OS type crosses this header: handles are plain integers, addresses are the four
// bytes of an IPv4 address in network order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_kind.h"

namespace pinglog {

// An open file of the platform; 0 means no file.
using FileHandle = std::int64_t;
constexpr FileHandle kNoFile = 0;

// An open echo service; 0 means none could be opened.
using EchoHandle = std::int64_t;
constexpr EchoHandle kNoEcho = 0;

enum class FileAccess {
  kReadShared,           // read access; the file must exist
  kReadWriteOpenAlways,  // read and write access; created when missing, content kept;
                         // while open, other processes may read it but not write it
};

enum class SeekOrigin { kBegin, kCurrent };

// Local wall-clock date and time, whole seconds.
struct LocalTimeFields {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The address family that name lookups report for IPv4.
constexpr int kAddressFamilyIPv4 = 2;

using IPv4Bytes = std::array<std::uint8_t, 4>;

struct HostLookup {
  bool found = false;                // false: the lookup found nothing
  int family = 0;                    // kAddressFamilyIPv4 for IPv4 answers
  std::vector<IPv4Bytes> addresses;  // in the order the resolver lists them
};

// What one echo request produced. `replies` is 0 when the request failed; `error`
// then holds the echo service's error number (the Windows status codes, such as
// 11010 for a time-out). Otherwise `reply` describes the first reply record.
struct EchoReply {
  IPv4Bytes source{};  // who answered: the target, or a router's error
  std::uint32_t round_trip_ms = 0;
  std::uint16_t data_size = 0;  // bytes of payload echoed back; 0 for a router's error
  std::uint8_t ttl = 0;
};

struct EchoResult {
  std::uint32_t replies = 0;
  EchoReply reply;
  std::uint32_t error = 0;
};

// Whether the running user could make the logger's log file (open it for reading and
// writing, creating it when missing).
enum class AppendAccess {
  kAppends,      // the file exists and opens
  kCreates,      // it is missing and its directory lets the user create it
  kNoDirectory,  // its directory does not exist
  kIsDirectory,  // the path names a directory
  kRefused,      // the system refuses (the reason says why)
};
struct AppendCheck {
  AppendAccess access = AppendAccess::kRefused;
  std::string reason;                  // the system's own words, for kRefused
  FileKind kind = FileKind::kMissing;  // what the path names now
};

// How the logger's echo requests could leave this machine for the running user.
enum class EchoPermission {
  kDatagramSocket,     // an ICMP datagram socket (the group is in ping_group_range)
  kRawSocket,          // a raw socket (root, or CAP_NET_RAW in the process)
  kProgramCapability,  // the logger's program file carries cap_net_raw
  kEchoService,        // the system's echo service needs no permission (Windows)
  kNone,               // none: every request would fail with error 5
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Files. A failed read counts as the end of the file (0); a write returns the
  // number of bytes the system took; a seek returns the new position (-1 on failure);
  // FileTruncate cuts the file to the given size and moves the position there.
  virtual FileHandle FileOpen(const std::string& path, FileAccess access) = 0;
  virtual std::int64_t FileRead(FileHandle file, char* into, std::int64_t size) = 0;
  virtual std::int64_t FileWrite(FileHandle file, const char* from, std::int64_t size) = 0;
  virtual std::int64_t FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) = 0;
  virtual void FileTruncate(FileHandle file, std::int64_t size) = 0;
  virtual std::int64_t FileSize(FileHandle file) = 0;
  virtual void FileClose(FileHandle file) = 0;

  // Memory for file buffers; nullptr when none can be had.
  virtual char* AllocateBlock(std::size_t size);
  virtual void ReleaseBlock(char* block);

  // Clock and sleeping. SleepMilliseconds sleeps at least that long.
  virtual LocalTimeFields LocalTime() = 0;
  virtual void SleepMilliseconds(std::uint32_t ms) = 0;

  // A message the user must acknowledge before the program goes on.
  virtual void ShowNotice(const std::string& caption, const std::string& text) = 0;

  // Host-name lookup, IPv4 only.
  virtual HostLookup LookupHost(const std::string& host) = 0;

  // ICMP echo. EchoSend waits at most timeout_ms for the reply to its own request.
  virtual EchoHandle EchoOpen() = 0;
  virtual EchoResult EchoSend(EchoHandle echo, const IPv4Bytes& destination, const char* payload,
                              std::uint16_t size, std::uint32_t timeout_ms) = 0;
  virtual void EchoClose(EchoHandle echo) = 0;

  // For the settings check and the programs' --help.
  // Changes the working directory; false when it cannot.
  virtual bool ChangeDirectory(const std::string& path) = 0;
  // The path made absolute against the working directory.
  virtual std::string AbsolutePath(const std::string& path) = 0;
  // The path of the program NAME beside the running one (with the system's suffix
  // for programs).
  virtual std::string ProgramBeside(const std::string& name) = 0;
  virtual AppendCheck CheckAppend(const std::string& path) = 0;
  // What the path names now (links followed), without opening it.
  virtual FileKind PathKind(const std::string& path) = 0;
  // How the program at `logger_path` would send its echo requests.
  virtual EchoPermission CheckEchoPermission(const std::string& logger_path) = 0;
  // The name of the user the process runs as.
  virtual std::string UserName() = 0;
  // Takes on another user's identity (its groups too) for the rest of the process;
  // "" when done, otherwise why not.
  virtual std::string BecomeUser(const std::string& name) = 0;
  // A text the user asked for: standard output, or a message box where there is none.
  virtual void ShowInformation(const std::string& caption, const std::string& text) = 0;
};

// The platform in use: the operating system's, unless a test installed another.
Platform& ActivePlatform();

// Installs a platform for the logic to use; nullptr brings back the operating system's.
void InstallPlatform(Platform* platform);

// The operating system's platform, defined by the layer that is linked in.
Platform& OsPlatform();

// Ends the process with the given exit code, as the operating system does it.
[[noreturn]] void EndProcess(int code);

}  // namespace pinglog
