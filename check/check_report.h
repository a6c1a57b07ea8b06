// What the settings check found: a few plain lines, warnings (the run works, but
// perhaps not as meant) and errors (the run cannot do its job).
#pragma once

#include <string>
#include <vector>

namespace pinglog::check {

struct CheckReport {
  std::vector<std::string> lines;  // in the order they are shown
  int errors = 0;
  int warnings = 0;

  void Say(const std::string& text) { lines.push_back(text); }
  void Warn(const std::string& text) {
    lines.push_back("warning: " + text);
    ++warnings;
  }
  void Fail(const std::string& text) {
    lines.push_back("error: " + text);
    ++errors;
  }
  // 0: the run will work (warnings allowed); 1: it cannot.
  int ExitCode() const { return errors == 0 ? 0 : 1; }
};

// A text in double quotes, as the check quotes what it read.
inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace pinglog::check
