// Files through CreateFileA and friends. A FileHandle is the Win32 HANDLE's value;
// INVALID_HANDLE_VALUE (and a null handle) become "no file".
#include <windows.h>

#include "platform/system_platform.h"

namespace pinglog {
namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file)); }

// Larger transfers are never asked for; DWORD bounds what one call can move.
DWORD Bounded(std::int64_t size) {
  return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
}

}  // namespace

FileHandle SystemPlatform::FileOpen(const std::string& path, FileAccess access) {
  const bool writing = access == FileAccess::kReadWriteOpenAlways;
  // Others may read a file while it is open here, but not write it.
  const HANDLE handle = ::CreateFileA(
      path.c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
      writing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return kNoFile;
  return static_cast<FileHandle>(reinterpret_cast<intptr_t>(handle));
}

std::int64_t SystemPlatform::FileRead(FileHandle file, char* into, std::int64_t size) {
  DWORD got = 0;
  if (!::ReadFile(Handle(file), into, Bounded(size), &got, nullptr)) return 0;
  return got;
}

std::int64_t SystemPlatform::FileWrite(FileHandle file, const char* from, std::int64_t size) {
  DWORD written = 0;
  ::WriteFile(Handle(file), from, Bounded(size), &written, nullptr);
  return written;
}

std::int64_t SystemPlatform::FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) {
  LONG high = static_cast<LONG>(offset >> 32);
  const DWORD low = ::SetFilePointer(Handle(file), static_cast<LONG>(offset & 0xFFFFFFFF), &high,
                                     origin == SeekOrigin::kBegin ? FILE_BEGIN : FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return -1;
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32 |
                                   low);
}

void SystemPlatform::FileTruncate(FileHandle file, std::int64_t size) {
  if (FileSeek(file, size, SeekOrigin::kBegin) >= 0) ::SetEndOfFile(Handle(file));
}

std::int64_t SystemPlatform::FileSize(FileHandle file) {
  DWORD high = 0;
  const DWORD low = ::GetFileSize(Handle(file), &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return -1;
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
}

void SystemPlatform::FileClose(FileHandle file) { ::CloseHandle(Handle(file)); }

}  // namespace pinglog
