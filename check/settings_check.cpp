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

// A settings line is a label and a value of at most 250 characters; the check reads
// lines of up to this many bytes.
constexpr std::size_t kLongestSettingsLine = std::size_t{64} * 1024;

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

// The first of Kep.ini's first five lines that is longer than any settings line (the
// logger keeps 250 characters of each), or 0: the check reads no more than that of it.
int OverlongLine() {
  Platform& platform = ActivePlatform();
  const FileHandle file = platform.FileOpen(kSettingsFileName, FileAccess::kReadShared);
  if (file == kNoFile) return 0;  // loading it says why
  char block[4096];
  int line = 1;
  std::size_t length = 0;
  bool after_cr = false;
  for (std::int64_t got = 0; line < kSettingsSlots && length <= kLongestSettingsLine;) {
    got = platform.FileRead(file, block, sizeof block);
    if (got <= 0) break;
    for (std::int64_t i = 0; i < got && line < kSettingsSlots && length <= kLongestSettingsLine;
         ++i) {
      const char c = block[i];
      const bool ends = c == '\n' || c == '\r' || c == '\0';
      if (ends && !(c == '\n' && after_cr)) ++line;  // CR LF ends one line
      length = ends ? 0 : length + 1;
      after_cr = c == '\r';
    }
  }
  platform.FileClose(file);
  return length > kLongestSettingsLine ? line : 0;
}

// Loads Kep.ini as the logger does, once it is a file of lines it can hold, and says
// why not otherwise: false when nothing more can be checked.
bool LoadReadableSettings(CheckReport& report) {
  Platform& platform = ActivePlatform();
  const std::string where =
      std::string(kSettingsFileName) + " (" + platform.AbsolutePath(kSettingsFileName) + ")";
  const FileKind kind = platform.PathKind(kSettingsFileName);
  if (kind != FileKind::kRegular && kind != FileKind::kMissing && kind != FileKind::kDirectory) {
    report.Fail(where + " is " + FileKindName(kind) +
                ", not a file: pinglog would wait on it or read it without end. Make " +
                kSettingsFileName + " a file.");
    return false;
  }
  if (const int line = OverlongLine(); line > 0) {
    report.Fail("line " + std::to_string(line) + " of " + where +
                " is longer than 64 kB: no settings file has such a line, and the check reads "
                "no more of it. Write Kep.ini anew, a short line for each value.");
    return false;
  }
  if (!LoadSettings()) {
    report.Fail("there is no readable " + std::string(kSettingsFileName) + " (" +
                platform.AbsolutePath(kSettingsFileName) +
                "): pinglog would only say \"Couldn't find the ini-File!\" and end. The name is " +
                "exactly " + kSettingsFileName + ".");
    return false;
  }
  if (HoldsNoValues()) {
    report.Fail(where +
                " holds no values: no cycle runs. Write the host, the log, the interval and "
                "the end time on lines 1 to 4.");
    return false;
  }
  return true;
}

}  // namespace

CheckReport CheckSettings(const CheckOptions& options) {
  CheckReport report;
  InitFileTable();
  ResetSettings();
  if (!LoadReadableSettings(report)) return report;
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
