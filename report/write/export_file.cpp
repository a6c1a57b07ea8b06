#include "report/write/export_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <system_error>

#include "platform/input_file.h"
#include "platform/move_into_place.h"
#include "platform/output_file.h"

namespace pinglog::report {
namespace {

// Writes into the file at `path` as it is opened; the reason of a failure, or "".
std::string WriteInto(const std::string& path, std::ios::openmode mode,
                      const std::function<void(std::ostream&)>& write) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | mode);
  int error = errno;
  if (out) {
    // The reason of a failed write (a full disk) is the errno the stream's last write
    // left: taken at once, before another call can change it.
    errno = 0;
    write(out);
    out.close();
    error = out ? 0 : errno;
    if (!out && error == 0) error = EIO;
  } else if (error == 0) {
    error = EIO;
  }
  return error == 0 ? "" : std::generic_category().message(error);
}

std::string WriteToStandardOutput(const std::function<void(std::ostream&)>& write) {
  MakeStandardOutputBinary();
  write(std::cout);
  std::cout.flush();
  return std::cout ? "" : "standard output refused the text";
}

}  // namespace

bool WritesToStandardOutput(const std::string& path) {
  return path == "-" || (!path.empty() && IsStandardOutput(path));
}

bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem) {
  std::string reason;
  const bool standard_output = WritesToStandardOutput(path);
  // A link is written through: the file it leads to is replaced, the link stays.
  const std::string target = standard_output ? path : FinalPath(path);
  const FileKind kind = standard_output ? FileKind::kOther : KindOfPath(target);
  if (standard_output) {
    reason = WriteToStandardOutput(write);
  } else if (kind == FileKind::kDevice) {
    reason = WriteInto(target, std::ios::out, write);
  } else if (kind != FileKind::kMissing && kind != FileKind::kRegular) {
    reason = std::string("it is ") + FileKindName(kind) + ", not a file: not replaced";
  } else {
    const std::string partial = target + ".partial";
    reason = CreateEmptyLike(partial, target);
    if (reason.empty()) reason = WriteInto(partial, std::ios::trunc, write);
    if (reason.empty()) reason = MoveIntoPlace(partial, target);
    if (!reason.empty()) (void)std::remove(partial.c_str());
  }
  if (reason.empty()) return true;
  problem =
      "cannot write " + (path == "-" ? std::string("to standard output") : path) + ": " + reason;
  return false;
}

}  // namespace pinglog::report
