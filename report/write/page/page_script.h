// The page's script (the modules of write/page/script, bundled), built into the program.
#pragma once

namespace pinglog::report {

extern const char* const kPageScript;

}  // namespace pinglog::report
