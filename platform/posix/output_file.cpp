// Where outputs are written, on POSIX.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>
#include <vector>

#include "platform/output_file.h"

namespace pinglog {
namespace {

// As many links in a row as the kernel follows before it gives up (ELOOP).
constexpr int kMostLinks = 40;

std::string Words(int error) { return std::generic_category().message(error); }

// What the link at `path` holds, or "" when it is no link.
std::string LinkTarget(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return "";
  std::vector<char> target(PATH_MAX);
  const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return "";
  return std::string(target.data(), static_cast<std::size_t>(length));
}

}  // namespace

std::string FinalPath(const std::string& path) {
  std::string at = path;
  for (int links = 0; links < kMostLinks; ++links) {
    const std::string target = LinkTarget(at);
    if (target.empty()) return at;
    const std::size_t slash = at.rfind('/');
    if (target[0] == '/' || slash == std::string::npos) {
      at = target;
    } else {
      at.resize(slash + 1);
      at += target;
    }
  }
  return at;  // a loop of links: opening it says so
}

bool IsStandardOutput(const std::string& path) {
  struct stat named, output;
  if (::stat(path.c_str(), &named) != 0 || ::fstat(STDOUT_FILENO, &output) != 0) return false;
  return named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

std::string CreateEmptyLike(const std::string& made, const std::string& like) {
  struct stat model;
  const bool has_model = ::stat(like.c_str(), &model) == 0 && S_ISREG(model.st_mode);
  if (::unlink(made.c_str()) != 0 && errno != ENOENT) return Words(errno);
  // Private until it has the model's permissions: a file only its owner may read is
  // never readable to others, not even while it is written.
  const mode_t mode = has_model ? S_IRUSR | S_IWUSR : 0666;
  int fd = -1;
  do {
    fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Words(errno);
  int error = 0;
  struct stat made_as;
  if (has_model && ::fstat(fd, &made_as) == 0) {
    // Another user's file keeps its owner only when this user may give it (root); the
    // permissions are kept either way, after the owner (a change of owner clears some).
    // A file of the writer's own needs no change of owner (a service may not make one).
    const bool same_owner = made_as.st_uid == model.st_uid && made_as.st_gid == model.st_gid;
    if (!same_owner && ::fchown(fd, model.st_uid, model.st_gid) != 0) {
      const int group_kept = ::fchown(fd, static_cast<uid_t>(-1), model.st_gid);
      static_cast<void>(group_kept);  // or else the writer's own group
    }
    if (::fchmod(fd, model.st_mode & 07777) != 0) error = errno;
  }
  ::close(fd);
  if (error != 0) {
    (void)::unlink(made.c_str());
    return Words(error);
  }
  return "";
}

}  // namespace pinglog
