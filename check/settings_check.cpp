#include "check/settings_check.h"

#include "app/settings.h"
#include "check/environment_checks.h"
#include "check/value_checks.h"
#include "ping/cycle.h"
#include "platform/platform.h"
#include "support/numbered_files.h"
#include "support/text.h"

namespace pinglog::check {
namespace {

// How often the logger will ping and how many cycles it will run: a cycle every
// interval plus the cycle's own time (at least the shortest cycle's).
std::string Schedule(CalendarTime now, CalendarTime end) {
  const std::int64_t interval_minutes = ParseNumber(SettingsValue(kIntervalSlot));
  const std::uint64_t period_ms =
      std::uint64_t{IntervalMilliseconds(SettingsValue(kIntervalSlot))} + kShortestCycleMs;
  const std::uint64_t span_ms = static_cast<std::uint64_t>(end - now) * 1000;
  const std::string cycles = FormatUnsigned((span_ms + period_ms - 1) / period_ms);
  const std::string until = " from now until " + EndTimeText(SplitTime(end));
  if (interval_minutes == 0) {
    return "back to back (a cycle every " + FormatFixed(kShortestCycleMs / 1000.0, 1) + " to " +
           FormatFixed(kLongestCycleMs / 1000.0, 1) + " s)" + until + " (up to about " + cycles +
           " cycles)";
  }
  return "every " + FormatDecimal(interval_minutes) +
         (interval_minutes == 1 ? " minute" : " minutes") + until + " (about " + cycles +
         (cycles == "1" ? " cycle)" : " cycles)");
}

// An empty file, or one of blank lines only.
bool HoldsNoValues() {
  for (int slot = kHostSlot; slot < kSettingsSlots; ++slot) {
    if (!SettingsValue(slot).empty() || !SettingsLabel(slot).empty()) return false;
  }
  return true;
}

}  // namespace

CheckReport CheckSettings(const CheckOptions& options) {
  Platform& platform = ActivePlatform();
  CheckReport report;
  InitFileTable();
  ResetSettings();
  const FileKind kind = platform.PathKind(kSettingsFileName);
  if (kind != FileKind::kRegular && kind != FileKind::kMissing && kind != FileKind::kDirectory) {
    report.Fail(std::string(kSettingsFileName) + " (" + platform.AbsolutePath(kSettingsFileName) +
                ") is " + FileKindName(kind) +
                ", not a file: pinglog would wait on it or read it without end. Make " +
                kSettingsFileName + " a file.");
    return report;
  }
  if (!LoadSettings()) {
    report.Fail("there is no readable " + std::string(kSettingsFileName) + " (" +
                platform.AbsolutePath(kSettingsFileName) +
                "): pinglog would only say \"Couldn't find the ini-File!\" and end. The name is " +
                "exactly " + kSettingsFileName + ".");
    return report;
  }
  if (HoldsNoValues()) {
    report.Fail(std::string(kSettingsFileName) + " (" + platform.AbsolutePath(kSettingsFileName) +
                ") holds no values: no cycle runs. Write the host, the log, the interval and "
                "the end time on lines 1 to 4.");
    return report;
  }
  const CalendarTime now = LocalNow();
  const CalendarTime end = EndTimeFromText(SettingsValue(kEndTimeSlot));
  const std::string& host = SettingsValue(kHostSlot);

  CheckReport findings;
  if (!CheckEncoding(findings)) {
    report.lines = findings.lines;
    report.errors = findings.errors;
    report.Say("The run cannot work: 1 error.");
    return report;
  }
  CheckLineShift(findings);
  CheckEndTime(SettingsValue(kEndTimeSlot), now, findings);
  CheckInterval(SettingsValue(kIntervalSlot), findings);
  const std::string address = CheckHost(host, options.lookup, findings);
  const std::string log = CheckLog(SettingsValue(kLogPathSlot), findings);
  CheckEchoPermission(options.logger_program, findings);

  if (now != kInvalidTime && end > now) {
    report.Say("pinglog pings " + Quoted(host) + (address == host ? "" : " (" + address + ")") +
               " " + Schedule(now, end) + ", appending to " + log + ".");
  } else {
    report.Say("pinglog would run no cycle.");
  }
  for (const std::string& line : findings.lines) report.Say(line);
  report.errors = findings.errors;
  report.warnings = findings.warnings;
  if (report.errors > 0) {
    report.Say("The run cannot work: " + std::to_string(report.errors) +
               (report.errors == 1 ? " error." : " errors."));
  } else {
    report.Say(report.warnings > 0 ? "The run will work; see the warnings." : "The run will work.");
  }
  return report;
}

}  // namespace pinglog::check
