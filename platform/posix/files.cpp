// Files on POSIX. A FileHandle is the descriptor plus one, so that 0 stays "no file"
// even when the system hands out descriptor 0.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system_platform.h"

namespace pinglog {
namespace {

int Descriptor(FileHandle file) { return static_cast<int>(file - 1); }

}  // namespace

FileHandle SystemPlatform::FileOpen(const std::string& path, FileAccess access) {
  const bool writing = access == FileAccess::kReadWriteOpenAlways;
  const int flags = writing ? (O_RDWR | O_CREAT) : O_RDONLY;
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kNoFile;
  // A directory opens for reading here, but every read of it fails with EISDIR; it is
  // no file to read, as Windows, which refuses to open it, says too.
  struct stat info;
  if (!writing && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(fd);
    return kNoFile;
  }
  // A writer holds an exclusive advisory lock for as long as the file is open, so that
  // two loggers appending to one log never interleave: the second open fails instead.
  // Readers take no lock.
  if (writing) {
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked < 0 && errno == EINTR);
    if (locked < 0) {  // EWOULDBLOCK: another process holds the file open for writing
      ::close(fd);
      return kNoFile;
    }
  }
  return static_cast<FileHandle>(fd) + 1;
}

std::int64_t SystemPlatform::FileRead(FileHandle file, char* into, std::int64_t size) {
  ssize_t got;
  do {
    got = ::read(Descriptor(file), into, static_cast<size_t>(size));
  } while (got < 0 && errno == EINTR);
  return got < 0 ? 0 : got;  // a failed read counts as the end of the file
}

std::int64_t SystemPlatform::FileWrite(FileHandle file, const char* from, std::int64_t size) {
  // write() may take fewer bytes than asked (a signal, a nearly full disk); go on with
  // the rest until all is written or the system refuses.
  std::int64_t written = 0;
  while (written < size) {
    const ssize_t put =
        ::write(Descriptor(file), from + written, static_cast<size_t>(size - written));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    written += put;
  }
  return written;
}

std::int64_t SystemPlatform::FileSeek(FileHandle file, std::int64_t offset, SeekOrigin origin) {
  return ::lseek(Descriptor(file), static_cast<off_t>(offset),
                 origin == SeekOrigin::kBegin ? SEEK_SET : SEEK_CUR);
}

void SystemPlatform::FileTruncate(FileHandle file, std::int64_t size) {
  int cut;
  do {
    cut = ::ftruncate(Descriptor(file), static_cast<off_t>(size));
  } while (cut < 0 && errno == EINTR);
  ::lseek(Descriptor(file), static_cast<off_t>(size), SEEK_SET);
}

std::int64_t SystemPlatform::FileSize(FileHandle file) {
  struct stat info;
  if (::fstat(Descriptor(file), &info) != 0) return -1;
  return info.st_size;
}

void SystemPlatform::FileClose(FileHandle file) {
  // close() is not retried on EINTR: on Linux the descriptor is released either way.
  ::close(Descriptor(file));
}

}  // namespace pinglog
