// What a path names: a file, or something that only looks like one to open.
#pragma once

#include <cstdint>

namespace pinglog {

enum class FileKind : std::uint8_t {
  kMissing,
  kRegular,
  kDirectory,
  kPipe,    // a named pipe, or the pipe of a process substitution: read as a stream
  kDevice,  // a character or block device (/dev/zero, a terminal, a disk)
  kSocket,
  kOther,
};

// "a directory", "a named pipe", "a device", "a socket", "not a regular file".
inline const char* FileKindName(FileKind kind) {
  switch (kind) {
    case FileKind::kDirectory:
      return "a directory";
    case FileKind::kPipe:
      return "a named pipe";
    case FileKind::kDevice:
      return "a device";
    case FileKind::kSocket:
      return "a socket";
    case FileKind::kMissing:
      return "missing";
    case FileKind::kRegular:
    case FileKind::kOther:
      break;
  }
  return "not a regular file";
}

}  // namespace pinglog
