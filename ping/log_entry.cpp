#include "ping/log_entry.h"

#include "support/numbered_files.h"
#include "support/text.h"

namespace pinglog {
namespace {

constexpr FileSlot kLogFileSlot = 1;

std::string AttemptItem(const AttemptOutcome& attempt, const std::string& resolved_address) {
  if (!attempt.replied) {
    // The extra TAB in front leaves an empty column before a failure.
    return "\tReply from " + resolved_address + ":  Error no: " + FormatUnsigned(attempt.error) +
           "\t";
  }
  return "Reply from " + FormatAddress(attempt.source) +
         ":  bytes = " + FormatDecimal(attempt.data_size) +
         " time = " + FormatDecimal(attempt.round_trip_ms) + "ms TTL = " + FormatByte(attempt.ttl) +
         "\t";
}

}  // namespace

std::string ComposeLogEntry(const CycleResult& result) {
  const CycleStatistics& stats = result.stats;
  std::string entry = result.time_stamp + " -> Pinging " + result.host;
  entry += result.by_name ? " [" + result.resolved_address + "] with " : " with ";
  entry += FormatDecimal(result.payload_length) + " bytes of data:\t";
  for (const AttemptOutcome& attempt : result.attempts) {
    entry += AttemptItem(attempt, result.resolved_address);
  }
  entry += "Ping statistics for " + result.host + ":";
  entry += "   Packets: Sent = " + FormatDecimal(stats.sent) +
           ", Received = " + FormatDecimal(stats.received) +
           ", Lost = " + FormatDecimal(stats.lost);
  entry += " (" + FormatFixed(stats.loss_percent, 0) + "% loss)\t";
  entry += "Approximate round trip times in milli-seconds:\t";
  entry += "Minimum = " + FormatDecimal(stats.minimum) +
           "ms,  Maximum = " + FormatDecimal(stats.maximum) +
           ",  Average = " + FormatFixed(stats.average, 2) + "ms\r\n";
  return entry;
}

void AppendLogEntry(const std::string& path, const std::string& entry) {
  if (OpenOrCreate(kLogFileSlot, path) == 0) return;
  SeekTo(kLogFileSlot, QuerySize(kLogFileSlot));
  WriteText(kLogFileSlot, entry);
  CloseSlot(kLogFileSlot);
}

}  // namespace pinglog
