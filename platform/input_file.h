// Reading files that a user names, whatever they turn out to be: opened without
// waiting (a named pipe without a writer, a device), judged by what the open file is
// rather than by a look at the path before (which a link swapped in between would
// fool), and read in large blocks, the same way on every system.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_kind.h"

namespace pinglog {

// Which file a name leads to, as the system tells files apart (two names, or a link
// and its target, of one file are equal); not known: both 0.
struct FileIdentity {
  std::uint64_t volume = 0, number = 0;
  bool Known() const { return volume != 0 || number != 0; }
  bool operator==(const FileIdentity&) const = default;
};

// What the path names now, links followed.
FileKind KindOfPath(const std::string& path);
FileIdentity IdentityOfPath(const std::string& path);

// The identity of what standard input reads, if it is a file.
FileIdentity IdentityOfStandardInput();

// Standard output without a conversion of line ends (Windows' text mode).
void MakeStandardOutputBinary();

// A file open for reading. A named pipe is opened without waiting for a writer: with
// none it reads as ended at once; with one, a read waits for its bytes or its end.
class InputFile {
 public:
  // "-": standard input.
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return open_; }
  FileKind kind() const { return kind_; }
  FileIdentity identity() const { return identity_; }
  // The system's words for why the open or the last read failed.
  const std::string& problem() const { return problem_; }
  // The size of a regular file now (0 for anything else).
  std::uint64_t Size();

  // Up to `size` bytes from where the last read ended: the count, 0 at the end,
  // -1 when the read failed (problem() says why).
  std::int64_t Read(char* into, std::size_t size);
  // Moves to `offset` from the start of a regular file; false when it cannot.
  bool Seek(std::uint64_t offset);

 private:
  std::int64_t handle_ = -1;  // the system's handle, as a number
  bool open_ = false;
  bool standard_input_ = false;
  FileKind kind_ = FileKind::kMissing;
  FileIdentity identity_;
  std::string problem_;
};

}  // namespace pinglog
