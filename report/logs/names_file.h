// The lines of a file of names (--names FILE): read as a log is, whatever it turns out
// to be, and small.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pinglog::report {

// A file of names is a few hundred lines; a larger one is some other file.
inline constexpr std::size_t kLargestNamesFile = 1 << 20;

// Reads the file's lines (line N at N - 1; CR LF or LF; a UTF-8 byte-order mark at its
// start left out, as Notepad writes one). It is judged by what the file opened is: a
// directory, a device or a socket is refused, a named pipe without a writer is read as
// empty without waiting, and more than kLargestNamesFile bytes are refused. Returns
// what is wrong, or "".
std::string ReadNamesFile(const std::string& path, std::vector<std::string>& lines);

}  // namespace pinglog::report
