#include "ping/cycle.h"

#include "ping/log_entry.h"
#include "ping/target.h"
#include "support/calendar_time.h"
#include "support/domain.h"
#include "support/pause.h"

namespace pinglog {
namespace {

constexpr char kEchoPayload[] = "Echo This Information Back To Me";
constexpr std::uint8_t kEchoPayloadLength = sizeof kEchoPayload - 1;  // 32, no terminator

AttemptOutcome SendOneRequest(EchoHandle echo, const IPv4Bytes& destination) {
  const EchoResult result = ActivePlatform().EchoSend(echo, destination, kEchoPayload,
                                                      kEchoPayloadLength, kEchoTimeoutMs);
  AttemptOutcome outcome;
  if (result.replies == 0) {
    outcome.error = result.error;
    return outcome;
  }
  outcome.replied = true;
  outcome.source = result.reply.source;
  outcome.data_size = static_cast<std::int16_t>(result.reply.data_size);
  outcome.round_trip_ms = static_cast<std::int16_t>(result.reply.round_trip_ms & 0xFFFF);
  outcome.ttl = result.reply.ttl;
  return outcome;
}

// The code of a text's first character, 0 for an empty text.
unsigned FirstCharacter(const std::string& text) {
  return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

}  // namespace

void RunPingCycle(const std::string& host, const std::string& log_path) {
  // A clock beyond the calendar span has no time stamp to give: no entry then (the
  // schedule ends the run when it reads such a time).
  const CalendarTime started = LocalNow();
  if (started == kInvalidTime) return;
  CycleResult result;
  result.time_stamp = FormatTime(kLogTimeMask, started);
  result.host = host;
  result.payload_length = kEchoPayloadLength;

  IPv4Bytes destination{};
  if (!IsAddressText(host)) {
    result.by_name = true;
    const std::string resolved = ResolveTarget(host);
    if (FirstCharacter(resolved) < ':') destination = ParseDottedQuad(resolved);
  } else {
    SetResolvedAddress(host);
    destination = ParseDottedQuad(host);
  }
  if (ResolvedAddress() == kNonIpAddress || ResolvedAddress() == kUnableToResolve) {
    // No request and no entry, but the cycle still takes as long as one that sends at
    // least takes: with no interval, failing lookups must not follow one another
    // back to back against the user's name server.
    Pause(kShortestCycleMs);
    return;
  }
  result.resolved_address = ResolvedAddress();

  Platform& platform = ActivePlatform();
  const EchoHandle echo = platform.EchoOpen();
  for (AttemptOutcome& attempt : result.attempts) {
    attempt = SendOneRequest(echo, destination);
    Pause(kPauseAfterAttemptMs);
  }
  result.stats = ComputeStatistics(result.attempts);
  AppendLogEntry(log_path, ComposeLogEntry(result));
  platform.EchoClose(echo);
}

}  // namespace pinglog
