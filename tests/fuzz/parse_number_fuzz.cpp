// ParseNumber over arbitrary bytes: no crash, no undefined behaviour (it wraps).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "support/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pinglog::ParseNumber(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
