// The system's words for a Windows error number, as FormatMessage gives them.
#pragma once

#include <windows.h>

#include <string>

namespace pinglog {

// Without the full stop and line end the system ends them with; "error N" when the
// system has no words for it.
std::string SystemWords(DWORD error);

}  // namespace pinglog
