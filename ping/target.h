// The target of a cycle in its two forms: a dotted-quad text for the log entry and a
// 32-bit IPv4 address for the echo service.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace pinglog {

inline constexpr const char* kUnableToResolve = "Unable to resolve domain name";
inline constexpr const char* kNonIpAddress = "A non-IP address was returned.";

// Looks the host up and returns the dotted-quad text of the last address the lookup
// lists, or one of the two failure texts above. The result is also left in
// ResolvedAddress(). A lookup that answers with no address at all leaves
// ResolvedAddress() as it was and returns it.
std::string ResolveTarget(const std::string& host);

// The target's address text as the last cycle left it (empty at start).
const std::string& ResolvedAddress();
void SetResolvedAddress(const std::string& text);

// The address of a dotted-quad text, first octet in the lowest-addressed byte; 0.0.0.0
// when the text holds fewer than three dots. Octets are read with ParseNumber and cut
// to 8 bits; nothing is validated.
IPv4Bytes ParseDottedQuad(std::string_view text);

}  // namespace pinglog
