// Where outputs are written, on Windows.
#include <windows.h>

#include "platform/output_file.h"
#include "platform/win32/system_words.h"

namespace pinglog {
namespace {

// The file a name leads to, opened for nothing but its identity (links followed).
HANDLE OpenForIdentity(const std::string& path) {
  return ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  if (::GetFileType(a) != FILE_TYPE_DISK || ::GetFileType(b) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(a, &first) || !::GetFileInformationByHandle(b, &second)) {
    return false;
  }
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

// A name that is a symbolic link (a reparse point) is replaced by the name of the file
// it leads to, when that file exists; any other name stays as it is.
std::string FinalPath(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return path;
  }
  const HANDLE file = OpenForIdentity(path);
  if (file == INVALID_HANDLE_VALUE) return path;
  char final_path[MAX_PATH * 4];
  const DWORD length =
      ::GetFinalPathNameByHandleA(file, final_path, sizeof final_path, FILE_NAME_NORMALIZED);
  ::CloseHandle(file);
  if (length == 0 || length >= sizeof final_path) return path;
  return std::string(final_path, length);
}

bool IsStandardOutput(const std::string& path) {
  const HANDLE file = OpenForIdentity(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool same = SameFile(file, ::GetStdHandle(STD_OUTPUT_HANDLE));
  ::CloseHandle(file);
  return same;
}

// Permissions come from the folder on Windows: the new file inherits them as the old
// one did.
std::string CreateEmptyLike(const std::string& made, const std::string&) {
  if (!::DeleteFileA(made.c_str())) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return SystemWords(error);
  }
  const HANDLE file = ::CreateFileA(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return SystemWords(error);
  }
  ::CloseHandle(file);
  return "";
}

}  // namespace pinglog
