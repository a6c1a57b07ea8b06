// The page's script (page_script.js), built into the program.
#pragma once

namespace pinglog::report {

extern const char* const kPageScript;

}  // namespace pinglog::report
