// Reading the files a user names, on POSIX. The handle is the descriptor.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "platform/input_file.h"

namespace pinglog {
namespace {

FileKind KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(info.st_mode)) return FileKind::kDirectory;
  if (S_ISFIFO(info.st_mode)) return FileKind::kPipe;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return FileKind::kDevice;
  if (S_ISSOCK(info.st_mode)) return FileKind::kSocket;
  return FileKind::kOther;
}

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::string Words(int error) { return std::generic_category().message(error); }

}  // namespace

FileKind KindOfPath(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return FileKind::kMissing;
  return KindOf(info);
}

FileIdentity IdentityOfPath(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return {};
  return IdentityOf(info);
}

FileIdentity IdentityOfStandardInput() {
  struct stat info;
  if (::fstat(STDIN_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return IdentityOf(info);
}

void MakeStandardOutputBinary() {}

InputFile::InputFile(const std::string& path) {
  int fd = STDIN_FILENO;
  standard_input_ = path == "-";
  if (!standard_input_) {
    // O_NONBLOCK: opening a named pipe waits for a writer otherwise, a device may too.
    do {
      fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      const int error = errno;
      problem_ = Words(error);
      kind_ = KindOfPath(path);  // a socket refuses to open: still named as one
      return;
    }
  }
  handle_ = fd;
  open_ = true;
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    problem_ = Words(errno);
    kind_ = FileKind::kOther;
    return;
  }
  kind_ = KindOf(info);
  identity_ = IdentityOf(info);
}

InputFile::~InputFile() {
  if (open_ && !standard_input_) ::close(static_cast<int>(handle_));
}

std::uint64_t InputFile::Size() {
  struct stat info;
  if (!open_ || ::fstat(static_cast<int>(handle_), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

std::int64_t InputFile::Read(char* into, std::size_t size) {
  if (!open_) return -1;
  const int fd = static_cast<int>(handle_);
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0) return got;
    int error = errno;
    if (error == EINTR) continue;
    if (error == EAGAIN || error == EWOULDBLOCK) {  // a pipe whose writer has more to come
      pollfd wanted{fd, POLLIN, 0};
      if (::poll(&wanted, 1, -1) >= 0) continue;
      error = errno;
      if (error == EINTR) continue;
    }
    problem_ = Words(error);
    return -1;
  }
}

bool InputFile::Seek(std::uint64_t offset) {
  return open_ && ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) ==
                      static_cast<off_t>(offset);
}

}  // namespace pinglog
