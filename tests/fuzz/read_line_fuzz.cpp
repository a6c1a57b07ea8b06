// ReadLine over an arbitrary file: lines never hold a line end or a NUL, and together
// they never hold more bytes than the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_platform.h"
#include "support/numbered_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pinglog::testing::FakePlatform platform;
  platform.files["f"] = std::string(reinterpret_cast<const char*>(data), size);
  if (size > 0 && data[0] == 'u') platform.allocations_before_failure = 0;  // unbuffered
  pinglog::InitFileTable();
  if (pinglog::OpenForReading(0, "f") == 0) std::abort();
  std::size_t total = 0;
  while (pinglog::AtEnd(0) == 0) {
    const std::string line = pinglog::ReadLine(0);
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
    total += line.size();
  }
  if (total > size) std::abort();
  pinglog::CloseAllFiles();
  return 0;
}
