// Finding a byte in text, sixteen bytes at a time where the processor has the
// instructions for it. The C library's memchr does the same on some systems and goes
// byte by byte on others; a log's lines are found this way, so its speed is the
// report's.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pinglog::report {

// Where `byte` first lies in `text` at or after `from`, or npos.
inline std::size_t FindByte(std::string_view text, char byte, std::size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;
  const char* const begin = text.data();
  const char* at = begin + from;
  const char* const end = begin + text.size();
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(byte);
  for (; end - at >= 16; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted));
    if (found != 0) return static_cast<std::size_t>(at - begin) + __builtin_ctz(found);
  }
#endif
  for (; at < end; ++at) {
    if (*at == byte) return static_cast<std::size_t>(at - begin);
  }
  return std::string_view::npos;
}

}  // namespace pinglog::report
