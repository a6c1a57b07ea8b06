// Who the process is. The Windows echo service needs no permission of its own, and
// the check for another user is not offered here.
#include <windows.h>

#include "platform/system_platform.h"

namespace pinglog {

EchoPermission SystemPlatform::CheckEchoPermission(const std::string&) {
  return EchoPermission::kEchoService;
}

std::string SystemPlatform::UserName() {
  char name[257];
  DWORD size = sizeof name;
  if (!::GetUserNameA(name, &size) || size == 0) return "this user";
  return std::string(name, size - 1);  // size counts the terminating NUL
}

std::string SystemPlatform::BecomeUser(const std::string&) {
  return "checking for another user is not available on Windows";
}

}  // namespace pinglog
