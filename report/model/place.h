// Where along the hosts' tree the hosts that failed together point.
#pragma once

#include <cstdint>

namespace pinglog::report {

enum class Place : std::uint8_t {
  kEverything,  // every host that was logging failed, the nearest ones too
  kBeyond,      // a host answered, and every host behind it failed
  kOneHost,     // one host failed while the hosts before it answered
  kNoOnePlace,  // failing and answering hosts in no such order
};

}  // namespace pinglog::report
