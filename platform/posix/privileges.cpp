// Who the process is, and whether it may send ICMP echo requests (the same order of
// tries as the echo service: a datagram socket, then a raw one).
#include <errno.h>
#include <grp.h>
#include <linux/capability.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <vector>

#include "platform/system_platform.h"

namespace pinglog {
namespace {

bool CanOpenSocket(int type) {
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) return false;  // EACCES: outside ping_group_range; EPERM: no CAP_NET_RAW
  ::close(fd);
  return true;
}

// Whether a program file carries cap_net_raw, permitted and effective, in its
// "security.capability" attribute (struct vfs_cap_data, versions 2 and 3).
bool FileHasNetRaw(const std::string& path) {
  vfs_cap_data data{};
  const ssize_t size = ::getxattr(path.c_str(), "security.capability", &data, sizeof data);
  if (size < static_cast<ssize_t>(XATTR_CAPS_SZ_2)) return false;
  const std::uint32_t magic = data.magic_etc & VFS_CAP_REVISION_MASK;
  if (magic != VFS_CAP_REVISION_2 && magic != VFS_CAP_REVISION_3) return false;
  const bool effective = (data.magic_etc & VFS_CAP_FLAGS_EFFECTIVE) != 0;
  const bool permitted = (data.data[0].permitted & (1u << CAP_NET_RAW)) != 0;
  return effective && permitted;
}

// getpwnam_r with room enough for any entry.
bool FindUser(const std::string& name, passwd& entry, std::vector<char>& scratch) {
  passwd* found = nullptr;
  for (scratch.resize(4096);; scratch.resize(scratch.size() * 2)) {
    const int error = ::getpwnam_r(name.c_str(), &entry, scratch.data(), scratch.size(), &found);
    if (error != ERANGE || scratch.size() >= (1u << 20)) break;
  }
  return found != nullptr;
}

}  // namespace

EchoPermission SystemPlatform::CheckEchoPermission(const std::string& logger_path) {
  if (CanOpenSocket(SOCK_DGRAM)) return EchoPermission::kDatagramSocket;
  if (CanOpenSocket(SOCK_RAW)) return EchoPermission::kRawSocket;
  if (FileHasNetRaw(logger_path)) return EchoPermission::kProgramCapability;
  return EchoPermission::kNone;
}

std::string SystemPlatform::UserName() {
  const uid_t uid = ::geteuid();
  std::vector<char> scratch(4096);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr) {
    return entry.pw_name;
  }
  return "user " + std::to_string(uid);
}

// Groups first, then the group, then the user: once the user is changed, the
// others can no longer be. Leaving root this way drops every capability.
std::string SystemPlatform::BecomeUser(const std::string& name) {
  passwd entry{};
  std::vector<char> scratch;
  if (!FindUser(name, entry, scratch)) return "no user named " + name;
  if (entry.pw_uid == ::geteuid()) return {};
  if (::geteuid() != 0) return "only root can check for another user";
  if (::initgroups(entry.pw_name, entry.pw_gid) != 0 || ::setgid(entry.pw_gid) != 0 ||
      ::setuid(entry.pw_uid) != 0) {
    return "cannot become " + name;
  }
  return {};
}

}  // namespace pinglog
