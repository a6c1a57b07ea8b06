#include "report/write/say.h"

#include <iostream>

#include "support/safe_text.h"

namespace pinglog::report {

void Say(const std::string& line) {
  if (!line.empty()) std::cerr << "pinglog-report: " << SafeText(line) << '\n';
}

int Fail(int code, const std::string& message) {
  Say(message);
  return code;
}

}  // namespace pinglog::report
