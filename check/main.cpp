// pinglog-check [DIR] [--no-lookup] [--user NAME]: what pinglog will do with the
// Kep.ini in DIR (the working directory by default), and whether it can work.
// Exit code 0: it will work; 1: it cannot; 2: usage.
#include <iostream>
#include <string>
#include <vector>

#include "app/usage.h"
#include "check/settings_check.h"
#include "platform/platform.h"
#include "support/safe_text.h"

namespace {

constexpr const char* kCheckUsage =
    "Usage: pinglog-check [DIR] [--no-lookup] [--user NAME]\n"
    "Reads DIR/Kep.ini (DIR: the working directory by default) as pinglog reads it, and\n"
    "says what pinglog will do with it and whether that can work.\n"
    "  --no-lookup  do not look the host up now\n"
    "  --user NAME  check for that user (as the service's user; needs root)\n"
    "  --help, --version\n"
    "Exit code 0: the run will work (warnings allowed); 1: it cannot; 2: usage.\n";

int Usage(const std::string& problem) {
  std::cerr << "pinglog-check: " << pinglog::SafeText(problem) << "\n" << kCheckUsage;
  return 2;
}

int Run(const std::vector<std::string>& arguments) {
  pinglog::check::CheckOptions options;
  std::string directory, user;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help") {
      std::cout << kCheckUsage;
      return 0;
    } else if (argument == "--version") {
      std::cout << "pinglog-check " << pinglog::kVersion << "\n";
      return 0;
    } else if (argument == "--no-lookup") {
      options.lookup = false;
    } else if (argument == "--user") {
      if (++i == arguments.size() || arguments[i].empty()) return Usage("--user needs a user name");
      user = arguments[i];
    } else if (!argument.empty() && argument[0] == '-') {
      return Usage("unknown option " + argument);
    } else if (directory.empty()) {
      directory = argument;
    } else {
      return Usage("one directory at most");
    }
  }
  pinglog::Platform& platform = pinglog::ActivePlatform();
  options.logger_program = platform.ProgramBeside(pinglog::kLoggerProgramName);
  if (!directory.empty() && !platform.ChangeDirectory(directory)) {
    return Usage("cannot change to the directory " + directory);
  }
  if (!user.empty()) {
    const std::string problem = platform.BecomeUser(user);
    if (!problem.empty()) return Usage("--user " + user + ": " + problem);
  }
  const pinglog::check::CheckReport report = pinglog::check::CheckSettings(options);
  // What Kep.ini holds is shown byte for byte, never acted on by the terminal.
  for (const std::string& line : report.lines) std::cout << pinglog::SafeText(line, true) << "\n";
  return report.ExitCode();
}

}  // namespace

int main(int argc, char** argv) {
  const int code = Run(std::vector<std::string>(argv + 1, argv + argc));
  std::cout.flush();
  pinglog::EndProcess(code);
}
