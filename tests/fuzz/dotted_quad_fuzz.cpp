// ParseDottedQuad over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ping/target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pinglog::ParseDottedQuad(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
