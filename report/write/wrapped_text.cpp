#include "report/write/wrapped_text.h"

namespace pinglog::report {

void AddWrapped(std::vector<std::string>& lines, const std::string& text) {
  std::size_t start = 0;
  while (text.size() - start > kLineChars) {
    std::size_t cut = text.rfind(' ', start + kLineChars);
    if (cut == std::string::npos || cut <= start) {  // no space: cut between characters
      cut = start + kLineChars;
      while (cut > start + 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    }
    lines.push_back((start == 0 ? "" : "    ") + text.substr(start, cut - start));
    start = text[cut] == ' ' ? cut + 1 : cut;
  }
  lines.push_back((start == 0 ? "" : "    ") + text.substr(start));
}

}  // namespace pinglog::report
