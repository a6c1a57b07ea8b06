// One way to tell the user something: a line on standard error after the program's
// name, its text made safe to show. The options, the report and the follower say
// their problems and warnings through it.
#pragma once

#include <string>

namespace pinglog::report {

// Says LINE; an empty line says nothing.
void Say(const std::string& line);

// Says MESSAGE and returns CODE, for `return Fail(kUsageProblem, "...")`.
int Fail(int code, const std::string& message);

}  // namespace pinglog::report
