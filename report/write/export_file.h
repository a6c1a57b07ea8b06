// Writing an output whole or not at all.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace pinglog::report {

// Whether an output named `path` goes to standard output: "-", or another name of what
// standard output writes to (/dev/stdout, the very file or pipe it is).
bool WritesToStandardOutput(const std::string& path);

// Writes an output. A file is written under a temporary name beside its destination
// and renamed there, so that a failed or interrupted write never leaves a half-written
// file under the name asked for (and a reader of the name sees the old or the new
// one); the new file keeps the old one's permissions and owner. A link is written
// through: the file it leads to is replaced (the temporary file beside that one), the
// link stays. Standard output (WritesToStandardOutput) is written as it is; a device
// (/dev/null, a terminal) is written into, not replaced; anything else that is not a
// file (a directory, a named pipe, a socket) is refused. On failure, `problem` says
// "cannot write PATH: the reason".
bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem);

}  // namespace pinglog::report
