#include "platform/win32/system_words.h"

namespace pinglog {

std::string SystemWords(DWORD error) {
  char words[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, words, sizeof words, nullptr);
  while (length > 0 && (words[length - 1] == '\n' || words[length - 1] == '\r' ||
                        words[length - 1] == '.' || words[length - 1] == ' ')) {
    --length;
  }
  if (length == 0) return "error " + std::to_string(error);
  return std::string(words, length);
}

}  // namespace pinglog
