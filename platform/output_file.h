// Where an output the user names is written, whatever the name turns out to be: a
// link is written through to the file it leads to and never replaced by a file of its
// own, a file replaced keeps its mode and owner, and standard output is recognised
// under any of its names (/dev/stdout, /proc/self/fd/1, the file or pipe itself).
#pragma once

#include <string>

namespace pinglog {

// The name an output given as `path` is written at: symbolic links followed, each
// target relative to the directory that holds the link, to the name the last one leads
// to (which need not exist yet). A path that is no link comes back as it is.
std::string FinalPath(const std::string& path);

// Whether `path` names what standard output writes to: the same file, pipe or
// terminal.
bool IsStandardOutput(const std::string& path);

// Makes `made` a new empty file of its own (whatever stood at that name is removed
// first, and a link there is never written through), with the permissions and owner of
// `like` when that exists; "" when done, otherwise the system's words for why not.
std::string CreateEmptyLike(const std::string& made, const std::string& like);

}  // namespace pinglog
