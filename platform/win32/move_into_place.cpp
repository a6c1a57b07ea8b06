#include <windows.h>

#include "platform/move_into_place.h"
#include "platform/win32/system_words.h"

namespace pinglog {

// The C library's rename() refuses an existing target on Windows; MoveFileEx replaces
// it. It fails while another process holds the target open without sharing its
// deletion (an exporter reading it): the caller writes again later.
std::string MoveIntoPlace(const std::string& from, const std::string& to) {
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return "";
  }
  const DWORD error = ::GetLastError();
  return SystemWords(error);
}

}  // namespace pinglog
