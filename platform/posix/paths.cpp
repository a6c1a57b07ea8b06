// Paths and file access on POSIX, for the settings check.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/input_file.h"
#include "platform/system_platform.h"

namespace pinglog {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The system's words for an error number (the GNU strerror_r, which returns them).
AppendCheck Refused(int error) {
  char words[256];
  return {AppendAccess::kRefused, ::strerror_r(error, words, sizeof words)};
}

}  // namespace

bool SystemPlatform::ChangeDirectory(const std::string& path) { return ::chdir(path.c_str()) == 0; }

std::string SystemPlatform::AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char here[PATH_MAX];
  if (::getcwd(here, sizeof here) == nullptr) return path;
  const std::string directory = here;
  return directory == "/" ? "/" + path : directory + "/" + path;
}

std::string SystemPlatform::ProgramBeside(const std::string& name) {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return name;
  return DirectoryOf(std::string(self, static_cast<std::size_t>(length))) + "/" + name;
}

// The logger opens its log for reading and writing and creates it when missing
// (O_RDWR | O_CREAT): the same open, without O_CREAT, tells whether an existing file
// would open; for a missing one, write and search permission on its directory decide.
// access() checks the real user, which is the running user here, and reports EROFS
// for a read-only mount.
AppendCheck SystemPlatform::CheckAppend(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return {AppendAccess::kIsDirectory, {}, FileKind::kDirectory};
    // O_NONBLOCK: a FIFO must not block the check.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    AppendCheck check = fd < 0 ? Refused(errno) : AppendCheck{AppendAccess::kAppends, {}};
    if (fd >= 0) ::close(fd);
    check.kind = KindOfPath(path);
    return check;
  }
  if (errno != ENOENT) return Refused(errno);
  const std::string directory = DirectoryOf(path);
  if (::stat(directory.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {AppendAccess::kNoDirectory, {}};
    return Refused(errno);
  }
  if (!S_ISDIR(info.st_mode)) return {AppendAccess::kNoDirectory, {}};
  if (::access(directory.c_str(), W_OK | X_OK) != 0) return Refused(errno);
  return {AppendAccess::kCreates, {}};
}

FileKind SystemPlatform::PathKind(const std::string& path) { return KindOfPath(path); }

}  // namespace pinglog
