// FormatTime with an arbitrary time (the first four bytes) and mask (the rest). Every
// token is at least as long as what replaces it, except "%yyyy" for no year at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "support/calendar_time.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  pinglog::CalendarTime time;
  std::memcpy(&time, data, 4);
  const std::string_view mask(reinterpret_cast<const char*>(data + 4), size - 4);
  if (pinglog::FormatTime(mask, time).size() > mask.size()) std::abort();
  return 0;
}
