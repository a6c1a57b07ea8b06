// POSIX programs are run from a shell or a service manager: never from the desktop in
// the sense of platform/desktop.h.
#include "platform/desktop.h"

namespace pinglog {

bool StartedFromDesktop() { return false; }

std::string OpenWithDefaultProgram(const std::string&) { return "not available on this system"; }

}  // namespace pinglog
