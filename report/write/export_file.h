// Writing an output whole or not at all.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace pinglog::report {

// Writes the output under a temporary name beside its destination and renames it
// there, so that a failed or interrupted write never leaves a half-written file
// under the name asked for (and a reader of the name sees the old or the new one).
// On failure, `problem` says "cannot write PATH: the system's reason".
bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem);

}  // namespace pinglog::report
