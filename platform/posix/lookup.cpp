#include "platform/posix/posix_platform.h"

namespace pinglog {

HostLookup PosixPlatform::LookupHost(const std::string& /*host*/) { return {}; }

}  // namespace pinglog
