// Reading the files a user names, on Windows. The handle is the HANDLE's value.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "platform/input_file.h"
#include "platform/win32/system_words.h"

namespace pinglog {
namespace {

HANDLE AsHandle(std::int64_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Shared every way: the logger keeps its log open for writing while it appends.
HANDLE OpenExisting(const std::string& path, DWORD access) {
  return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS,
                       nullptr);
}

FileKind KindOf(HANDLE handle) {
  switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info;
      if (::GetFileInformationByHandle(handle, &info) &&
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileKind::kDirectory;
      }
      return FileKind::kRegular;
    }
    case FILE_TYPE_CHAR:
      return FileKind::kDevice;
    case FILE_TYPE_PIPE:
      return FileKind::kPipe;
    default:
      return FileKind::kOther;
  }
}

FileIdentity IdentityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info)) {
    return {};
  }
  return {std::uint64_t{info.dwVolumeSerialNumber} + 1,
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

FileKind KindOfPath(const std::string& path) {
  const HANDLE handle = OpenExisting(path, 0);
  if (handle == INVALID_HANDLE_VALUE) return FileKind::kMissing;
  const FileKind kind = KindOf(handle);
  ::CloseHandle(handle);
  return kind;
}

FileIdentity IdentityOfPath(const std::string& path) {
  const HANDLE handle = OpenExisting(path, 0);
  if (handle == INVALID_HANDLE_VALUE) return {};
  const FileIdentity identity = IdentityOf(handle);
  ::CloseHandle(handle);
  return identity;
}

FileIdentity IdentityOfStandardInput() { return IdentityOf(::GetStdHandle(STD_INPUT_HANDLE)); }

void MakeStandardOutputBinary() { (void)::_setmode(::_fileno(stdout), _O_BINARY); }

InputFile::InputFile(const std::string& path) {
  standard_input_ = path == "-";
  const HANDLE handle =
      standard_input_ ? ::GetStdHandle(STD_INPUT_HANDLE) : OpenExisting(path, GENERIC_READ);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
    const DWORD error = ::GetLastError();
    problem_ = SystemWords(error);
    kind_ = standard_input_ ? FileKind::kOther : KindOfPath(path);
    return;
  }
  handle_ = reinterpret_cast<std::int64_t>(handle);
  open_ = true;
  kind_ = KindOf(handle);
  identity_ = IdentityOf(handle);
}

InputFile::~InputFile() {
  if (open_ && !standard_input_) ::CloseHandle(AsHandle(handle_));
}

std::uint64_t InputFile::Size() {
  LARGE_INTEGER size;
  if (!open_ || kind_ != FileKind::kRegular || !::GetFileSizeEx(AsHandle(handle_), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::int64_t InputFile::Read(char* into, std::size_t size) {
  if (!open_) return -1;
  DWORD got = 0;
  const DWORD wanted = static_cast<DWORD>(size > (1U << 30) ? (1U << 30) : size);
  if (::ReadFile(AsHandle(handle_), into, wanted, &got, nullptr)) return got;
  const DWORD error = ::GetLastError();
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;  // the writer is done
  problem_ = SystemWords(error);
  return -1;
}

bool InputFile::Seek(std::uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return open_ && ::SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN);
}

}  // namespace pinglog
