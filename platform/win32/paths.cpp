// Paths and file access on Windows, for the settings check.
#include <windows.h>

#include "platform/input_file.h"
#include "platform/system_platform.h"
#include "platform/win32/system_words.h"

namespace pinglog {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

AppendCheck Refused(DWORD error) { return {AppendAccess::kRefused, SystemWords(error)}; }

}  // namespace

bool SystemPlatform::ChangeDirectory(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string SystemPlatform::AbsolutePath(const std::string& path) {
  char full[MAX_PATH * 4];
  const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return path;
  return std::string(full, length);
}

std::string SystemPlatform::ProgramBeside(const std::string& name) {
  char self[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self) return name + ".exe";
  return DirectoryOf(std::string(self, length)) + name + ".exe";
}

// The logger opens its log with read and write access, sharing reading, creating it
// when missing. An existing file is opened so (and closed again); for a missing one
// a probe file is created in its directory and deleted when closed.
AppendCheck SystemPlatform::CheckAppend(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      return {AppendAccess::kIsDirectory, {}, FileKind::kDirectory};
    }
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Refused(::GetLastError());
    ::CloseHandle(file);
    return {AppendAccess::kAppends, {}, KindOfPath(path)};
  }
  const std::string directory = DirectoryOf(AbsolutePath(path));
  const DWORD directory_attributes = ::GetFileAttributesA(directory.c_str());
  if (directory_attributes == INVALID_FILE_ATTRIBUTES ||
      !(directory_attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {AppendAccess::kNoDirectory, {}};
  }
  const std::string probe = directory + "pinglog-check.probe";
  const HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS) return Refused(error);
  } else {
    ::CloseHandle(file);
  }
  return {AppendAccess::kCreates, {}};
}

FileKind SystemPlatform::PathKind(const std::string& path) { return KindOfPath(path); }

}  // namespace pinglog
