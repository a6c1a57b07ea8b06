#include "report/dropped_logs.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/platform.h"

namespace pinglog::report {
namespace {

// The page's path: ping.html in the first log's folder.
std::string PageBeside(const std::string& log) {
  const std::size_t separator = log.find_last_of("\\/");
  return (separator == std::string::npos ? "" : log.substr(0, separator + 1)) + "ping.html";
}

// Keeps what is written to a stream for as long as it lives.
class Captured {
 public:
  explicit Captured(std::ostream& stream) : stream_(stream), saved_(stream.rdbuf(text_.rdbuf())) {}
  ~Captured() { stream_.rdbuf(saved_); }
  Captured(const Captured&) = delete;
  Captured& operator=(const Captured&) = delete;
  std::string Text() const { return text_.str(); }

 private:
  std::ostream& stream_;
  std::ostringstream text_;
  std::streambuf* saved_;
};

}  // namespace

bool LogsDroppedOnProgram(int argc, char** argv) {
  if (argc < 2) return false;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') return false;
  }
  return StartedFromDesktop();
}

int ShowPageOfDroppedLogs(int argc, char** argv, const ProgramRun& run) {
  const std::string page = PageBeside(argv[1]);
  std::vector<std::string> texts(argv, argv + argc);
  texts.push_back("--html");
  texts.push_back(page);
  std::vector<char*> arguments;
  arguments.reserve(texts.size() + 1);
  for (std::string& text : texts) arguments.push_back(text.data());
  arguments.push_back(nullptr);

  int status = 0;
  std::string problems;
  {
    const Captured output(std::cout);
    const Captured errors(std::cerr);
    status = run(static_cast<int>(texts.size()), arguments.data());
    problems = errors.Text();
  }
  if (status == 0) {
    const std::string why = OpenWithDefaultProgram(page);
    if (why.empty()) return 0;
    problems += "The page " + page + " was written but could not be opened: " + why + "\n";
  }
  if (problems.empty())
    problems = "pinglog-report ended with code " + std::to_string(status) + "\n";
  ActivePlatform().ShowNotice("pinglog-report", problems);
  return status;
}

}  // namespace pinglog::report
