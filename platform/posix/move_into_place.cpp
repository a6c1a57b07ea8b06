#include <errno.h>
#include <stdio.h>

#include <system_error>

#include "platform/move_into_place.h"

namespace pinglog {

// rename() replaces the target atomically: a reader has the old file or the new.
std::string MoveIntoPlace(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return "";
  const int error = errno;
  return std::generic_category().message(error);
}

}  // namespace pinglog
