#include "report/output_clash.h"

#include "platform/input_file.h"

namespace pinglog::report {
namespace {

struct Taken {
  std::string what;   // "the log a.log", "--json a.json"
  std::string path;   // an export's path as given ("" for a log)
  FileIdentity file;  // not known for a file that does not exist yet
};

}  // namespace

std::optional<std::string> OutputClash(const Options& options,
                                       const std::vector<std::string>& logs) {
  std::vector<Taken> taken;  // what the run reads, then what it writes
  taken.reserve(logs.size() + options.Exports().size());
  for (const std::string& log : logs) {
    taken.push_back(
        {"the log " + log, "", log == "-" ? IdentityOfStandardInput() : IdentityOfPath(log)});
  }
  for (const auto& [option, path] : options.Exports()) {
    if (path->empty() || *path == "-") continue;
    const FileIdentity file = IdentityOfPath(*path);
    for (const Taken& other : taken) {
      if ((file.Known() && file == other.file) || *path == other.path) {
        return std::string(option) + " " + *path + " is " + other.what +
               ": it would be overwritten. Write the output to another file.";
      }
    }
    taken.push_back({std::string(option) + " " + *path, *path, file});
  }
  return std::nullopt;
}

}  // namespace pinglog::report
