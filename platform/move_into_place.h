// Putting a finished file in the place of another, for files that readers must only
// ever see whole (a metrics file that an exporter reads while it is rewritten).
#pragma once

#include <string>

namespace pinglog {

// Renames `from` to `to`, replacing a file of that name in one step; "" when done,
// otherwise the system's words for why not.
std::string MoveIntoPlace(const std::string& from, const std::string& to);

}  // namespace pinglog
