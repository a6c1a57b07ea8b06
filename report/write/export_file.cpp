#include "report/write/export_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/move_into_place.h"

namespace pinglog::report {

bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem) {
  const std::string partial = path + ".partial";
  int error = 0;
  {
    errno = 0;
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    error = errno;
    if (out) {
      // The reason of a failed write (a full disk) is the errno the stream's last
      // write left: taken at once, before another call can change it.
      errno = 0;
      write(out);
      out.close();
      error = out ? 0 : errno;
      if (!out && error == 0) error = EIO;
    } else if (error == 0) {
      error = EIO;
    }
  }
  std::string reason =
      error == 0 ? MoveIntoPlace(partial, path) : std::generic_category().message(error);
  if (reason.empty()) return true;
  problem = "cannot write " + path + ": " + reason;
  (void)std::remove(partial.c_str());
  return false;
}

}  // namespace pinglog::report
