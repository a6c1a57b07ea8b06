// The desktop a program may be started from: Explorer, a shortcut, a file dropped on
// the program's icon. Where there is none of that kind (POSIX), nothing is started
// from it.
#pragma once

#include <string>

namespace pinglog {

// Whether the program has a console made for it alone, as a console program started
// from the desktop has, rather than one it shares with a command prompt or a script.
bool StartedFromDesktop();

// Opens the file in the program the desktop associates with its kind (a page: the
// default browser); "" when started, otherwise the system's words for why not.
std::string OpenWithDefaultProgram(const std::string& path);

}  // namespace pinglog
