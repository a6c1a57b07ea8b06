// The programs' version, and the logger's --help and --version: the only arguments
// it looks at. Anything else is ignored, as it always was.
#pragma once

#include <string>
#include <vector>

namespace pinglog {

inline constexpr const char* kVersion = PINGLOG_VERSION;
inline constexpr const char* kLoggerProgramName = "pinglog";

// Shows the usage for --help or the version for --version (the first argument) and
// answers true; false for anything else, which the caller then ignores.
bool ShowAskedInformation(const std::vector<std::string>& arguments);

}  // namespace pinglog
