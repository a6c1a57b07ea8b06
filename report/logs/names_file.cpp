#include "report/logs/names_file.h"

#include <string_view>

#include "platform/input_file.h"

namespace pinglog::report {

std::string ReadNamesFile(const std::string& path, std::vector<std::string>& lines) {
  InputFile file(path);
  const FileKind kind = file.kind();
  if (kind != FileKind::kRegular && kind != FileKind::kPipe && kind != FileKind::kMissing) {
    return std::string(FileKindName(kind)) + ", not a file of names";
  }
  if (!file.IsOpen()) return file.problem();
  std::string text(kLargestNamesFile + 1, '\0');
  std::size_t size = 0;
  while (size < text.size()) {
    const std::int64_t got = file.Read(text.data() + size, text.size() - size);
    if (got < 0) return file.problem();
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  if (size > kLargestNamesFile) return "larger than 1 MB: not a file of names";
  std::string_view rest(text.data(), size);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  lines.clear();
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  return "";
}

}  // namespace pinglog::report
