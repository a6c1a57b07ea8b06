#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "platform/desktop.h"
#include "platform/win32/system_words.h"

namespace pinglog {

// A console program started from Explorer gets a console of its own: the console's
// process list holds it alone. From a command prompt it holds the prompt too; with no
// console at all (its output redirected by a service or Wine) it is empty.
bool StartedFromDesktop() {
  DWORD processes[2] = {0, 0};
  return ::GetConsoleProcessList(processes, 2) == 1;
}

// ShellExecute answers a number above 32 when it started the program.
std::string OpenWithDefaultProgram(const std::string& path) {
  const auto started = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (started > 32) return "";
  const DWORD error = ::GetLastError();
  return SystemWords(error);
}

}  // namespace pinglog
