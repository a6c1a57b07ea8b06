// Numbered, buffered files. A caller opens a file under a slot number of its choice
// and from then on names the slot to read lines, ask the size, seek, write and close.
// Every open file has a 4096-byte buffer, so that lines are consumed byte by byte while
// the platform is asked for 4096 bytes at a time, and a short text reaches the platform
// in one write. An operation on a slot without an open file does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pinglog {

using FileSlot = std::int32_t;

constexpr std::int32_t kFileBufferSize = 4096;

// Creates the table of slots (16 free slots). Callers close their files first.
void InitFileTable();

// Open a file under the slot, closing what the slot held before. The result is the
// platform's handle (positive) when the file is open, 0 when the open failed.
std::int64_t OpenForReading(FileSlot slot, const std::string& path);
std::int64_t OpenOrCreate(FileSlot slot, const std::string& path);

// Nonzero when no further byte can be read; moves nothing a later read sees.
int AtEnd(FileSlot slot);

// The next line without its terminator (CR, LF, CR LF or NUL); empty at the end.
std::string ReadLine(FileSlot slot);

// The file's size including everything written so far; -1 without an open file.
std::int64_t QuerySize(FileSlot slot);

// Moves to an absolute byte offset from the start of the file.
void SeekTo(FileSlot slot, std::int64_t position);

// Writes the text up to its first NUL byte; the result is the number of bytes taken.
std::int64_t WriteText(FileSlot slot, std::string_view text);

void CloseSlot(FileSlot slot);

// Closes every open file in ascending slot order.
void CloseAllFiles();

// The number of slots the table holds now.
std::int32_t FileTableCount();

}  // namespace pinglog
