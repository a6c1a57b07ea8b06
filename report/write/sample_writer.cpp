#include "report/write/sample_writer.h"

namespace pinglog::report {

char* WriteSeconds(char* at, std::int64_t milliseconds) {
  at = std::to_chars(at, at + kLongestSeconds, milliseconds / 1000).ptr;
  const auto fraction = static_cast<int>(milliseconds % 1000);
  if (fraction == 0) return at;
  *at++ = '.';
  const char digits[3] = {static_cast<char>('0' + fraction / 100),
                          static_cast<char>('0' + fraction / 10 % 10),
                          static_cast<char>('0' + fraction % 10)};
  std::size_t kept = 3;
  while (digits[kept - 1] == '0') --kept;
  for (std::size_t i = 0; i < kept; ++i) *at++ = digits[i];
  return at;
}

}  // namespace pinglog::report
