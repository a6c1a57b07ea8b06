#include "report/write/export_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace pinglog::report {

bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem) {
  const std::string partial = path + ".partial";
  bool written = false;
  {
    errno = 0;
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    const int open_error = errno;
    if (out) {
      write(out);
      out.flush();
      written = static_cast<bool>(out);
    }
    if (!written) {
      problem = "cannot write " + path + ": " +
                std::generic_category().message(open_error != 0 ? open_error : EIO);
    }
  }
  if (written && std::rename(partial.c_str(), path.c_str()) != 0) {
    problem = "cannot write " + path + ": " + std::generic_category().message(errno);
    written = false;
  }
  if (!written) (void)std::remove(partial.c_str());
  return written;
}

}  // namespace pinglog::report
