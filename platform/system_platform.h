// The operating system's implementation of the platform seam. One declaration for
// every system; the layer that is built (platform/posix or platform/win32) defines the
// operations, one file per service with the same file names in each: files, clock,
// sleep, notice, lookup, echo, process, paths, privileges.
#pragma once

#include "platform/platform.h"

namespace pinglog {

class SystemPlatform final : public Platform {
 public:
  FileHandle FileOpen(const std::string& path, FileAccess access) override;
  std::int64_t FileRead(FileHandle file, char* into, std::int64_t size) override;
  std::int64_t FileWrite(FileHandle file, const char* from, std::int64_t size) override;
  std::int64_t FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) override;
  void FileTruncate(FileHandle file, std::int64_t size) override;
  std::int64_t FileSize(FileHandle file) override;
  void FileClose(FileHandle file) override;

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
};

}  // namespace pinglog
