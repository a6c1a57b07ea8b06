// Logs dropped on the program's icon (or opened with it) from the desktop: no console
// to read, so the page is the answer. It is written beside the first log as ping.html
// and opened in the default browser; what goes wrong is shown in a message box.
#pragma once

#include <functional>

namespace pinglog::report {

using ProgramRun = std::function<int(int argc, char** argv)>;

// Whether the program was started from the desktop with logs and nothing else.
bool LogsDroppedOnProgram(int argc, char** argv);

// Runs the program as if `--html DIR/ping.html` had been given too, keeping its text
// from the console, then opens the page or shows what went wrong. Returns the exit code.
int ShowPageOfDroppedLogs(int argc, char** argv, const ProgramRun& run);

}  // namespace pinglog::report
