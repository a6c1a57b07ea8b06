#include "check/value_checks.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "app/settings.h"
#include "support/domain.h"
#include "support/text.h"

namespace pinglog::check {
namespace {

constexpr const char* kEndTimeForm = "YYYY-MM-DD HH:MM:SS";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the text has digits exactly where the fixed positions read them and
// separators between, for as far as it goes (a date alone is fine).
bool HasFixedForm(const std::string& text) {
  static constexpr std::size_t kSeparators[] = {4, 7, 10, 13, 16};
  if (text.size() != 10 && text.size() != 16 && text.size() != 19) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool separator = false;
    for (const std::size_t s : kSeparators) separator = separator || s == i;
    if (IsDigit(text[i]) == separator) return false;
  }
  return true;
}

// dd.mm.yyyy, the order in which the log writes its dates.
bool LooksLikeLogDate(const std::string& text) {
  static constexpr char kPattern[] = "99.99.9999";
  if (text.size() < sizeof kPattern - 1) return false;
  for (std::size_t i = 0; i + 1 < sizeof kPattern; ++i) {
    if (kPattern[i] == '9' ? !IsDigit(text[i]) : text[i] != kPattern[i]) return false;
  }
  return true;
}

// The log's "dd.mm.yyyy hh:mm[:ss]" rewritten year first.
std::string YearFirst(const std::string& text) {
  std::string clock = text.size() > 11 ? text.substr(11) : "00:00:00";
  if (clock.size() == 5) clock += ":00";
  return text.substr(6, 4) + "-" + text.substr(3, 2) + "-" + text.substr(0, 2) + " " + clock;
}

std::string Minutes(std::int64_t minutes) {
  return FormatDecimal(minutes) + (minutes == 1 || minutes == -1 ? " minute" : " minutes");
}

// The settings' meaning by line, and the labels people give those lines.
struct SlotName {
  int slot;
  const char* meaning;
  std::array<const char*, 3> labels;
};
constexpr SlotName kSlotNames[] = {
    {kHostSlot, "the host", {"host", "target", "address"}},
    {kLogPathSlot, "the log path", {"log", "logfile", "file"}},
    {kIntervalSlot, "the interval", {"interval", "minutes", "pause"}},
    {kEndTimeSlot, "the end time", {"end", "endtime", "until"}},
};

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The slot whose usual label this is, or 0.
int SlotLabelled(const std::string& label) {
  const std::string lowered = Lowered(label);
  for (const SlotName& name : kSlotNames) {
    for (const char* known : name.labels) {
      if (lowered == known) return name.slot;
    }
  }
  return 0;
}

std::string WhereValuesEnded() {
  std::string where;
  for (const SlotName& name : kSlotNames) {
    if (!where.empty()) where += ", ";
    where += std::string(name.meaning) + " " + Quoted(SettingsValue(name.slot)) + " (line " +
             std::to_string(name.slot) + ")";
  }
  return where;
}

}  // namespace

std::string EndTimeText(const CalendarFields& f) {
  char text[80];
  (void)std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                      f.hour, f.minute, f.second);
  return text;
}

void CheckEndTime(const std::string& text, CalendarTime now, CheckReport& report) {
  if (text.empty()) {
    report.Fail("line 4 (the end time) is empty: no cycle runs. Write the end time as " +
                std::string(kEndTimeForm) + ".");
    return;
  }
  const CalendarFields fields = EndTimeFields(text);
  const std::string read_as = "the end time " + Quoted(text) + " is read as " + EndTimeText(fields);
  if (LooksLikeLogDate(text)) {
    report.Warn("the end time " + Quoted(text) +
                " is written day first, as the log writes dates; Kep.ini wants the year first: " +
                YearFirst(text) + ".");
  } else if (!HasFixedForm(text)) {
    report.Warn(read_as + ": it is read at fixed positions, so write it as " + kEndTimeForm +
                ", two digits in every field.");
  }
  if (const char* field = InvalidField(fields)) {
    report.Fail(read_as + ", whose " + field + " is not valid: no cycle runs. Write it as " +
                kEndTimeForm + ".");
    return;
  }
  const CalendarTime end = EndTimeFromText(text);
  if (end == kInvalidTime && fields.year >= 2038) {
    report.Fail(read_as +
                ", after 2038-01-19 03:14:07, the latest end time pinglog can use: no "
                "cycle runs. For a run without end, write 2038-01-19 03:14:07.");
  } else if (now == kInvalidTime) {
    report.Fail(
        "this machine's clock lies outside 1970 to 2038-01-19 03:14:07: no cycle runs. "
        "Set the clock.");
  } else if (end <= now) {
    report.Fail(read_as + ", which is already past: no cycle runs. Give a time in the future.");
  }
}

namespace {

bool BeginsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Bytes outside printable ASCII as \xHH, so that a line shows what was read.
std::string Escaped(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127) {
      shown += c;
    } else {
      shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
  }
  return shown;
}

}  // namespace

bool CheckEncoding(CheckReport& report) {
  const std::string& label = SettingsLabel(kHostSlot);
  const std::string& host = SettingsValue(kHostSlot);
  const std::string first = label.empty() ? host : label;
  bool nul = false;
  for (int slot = kHostSlot; slot <= kEndTimeSlot; ++slot) {
    nul = nul || SettingsValue(slot).find('\0') != std::string::npos ||
          SettingsLabel(slot).find('\0') != std::string::npos;
  }
  if (nul || BeginsWith(first, "\xFF\xFE") || BeginsWith(first, "\xFE\xFF")) {
    report.Fail(std::string(kSettingsFileName) +
                " is saved as UTF-16 (Notepad's \"Unicode\"): pinglog reads 8-bit text, so "
                "every value comes out wrong. Save it as ANSI or UTF-8.");
    return false;
  }
  if (!BeginsWith(first, "\xEF\xBB\xBF")) return true;
  if (!label.empty()) {
    report.Warn(std::string(kSettingsFileName) +
                " begins with a UTF-8 byte-order mark; it falls in line 1's label, so the host "
                "still reads as " +
                Quoted(host) + ". Save it without the mark to be sure.");
    return true;
  }
  report.Fail(std::string(kSettingsFileName) +
              " begins with a UTF-8 byte-order mark, so the host is read as " +
              Quoted(Escaped(host)) +
              ", the mark's three bytes first. Save it as UTF-8 without a byte-order mark, or "
              "as ANSI.");
  return true;
}

void CheckInterval(const std::string& text, CheckReport& report) {
  std::size_t length = 0;
  const std::int64_t minutes = ParseNumber(text, length);
  const std::string rest = TrimSpaces(std::string_view(text).substr(length));
  if (text.empty()) {
    report.Warn(
        "line 3 (the interval) is empty: it reads as 0, so cycles run back to back. "
        "Write the minutes between cycles.");
    return;
  }
  if (!rest.empty()) {
    // "30s", "1.5", "0.5 min": the run would pause far longer or shorter than meant.
    report.Fail("the interval " + Quoted(text) + " is read as " + Minutes(minutes) +
                ": only the leading whole number counts, always in minutes. Write a whole "
                "number of minutes (0 runs the cycles back to back).");
  }
  if (minutes == 0) {
    report.Warn(
        "an interval of 0 runs the cycles back to back, about three a second while the "
        "host answers. Write the minutes between cycles for a pause.");
  } else if (minutes < 0) {
    const std::string days = FormatFixed(IntervalMilliseconds(text) / (kSecondsPerDay * 1000.0), 1);
    report.Warn("the interval " + Quoted(text) + " is negative: after each cycle pinglog pauses " +
                "about " + days + " days. Write a positive number of minutes.");
  } else if (minutes > kLongestIntervalMinutes) {
    // The pause is counted in 32 bits of milliseconds: a longer one wraps around.
    report.Warn("the interval " + Quoted(text) + " is longer than pinglog can pause (" +
                Minutes(kLongestIntervalMinutes) + ", about 49.7 days): it pauses " +
                FormatFixed(IntervalMilliseconds(text) / 1000.0, 1) + " s instead. Write at most " +
                std::to_string(kLongestIntervalMinutes) + ".");
  }
}

void CheckLineShift(CheckReport& report) {
  const std::string& first = SettingsValue(kHostSlot);
  if (SettingsLabel(kHostSlot).empty() && (first.empty() || first.front() == '[')) {
    report.Warn(std::string("line 1 is ") +
                (first.empty() ? "blank" : "the header " + Quoted(first)) +
                ", which moves every value one line down: " + WhereValuesEnded() +
                ". Remove line 1: values count by line number only.");
    return;
  }
  for (const SlotName& name : kSlotNames) {
    const int labelled = SlotLabelled(SettingsLabel(name.slot));
    if (labelled == 0 || labelled == name.slot) continue;
    report.Warn("line " + std::to_string(name.slot) + " is labelled " +
                Quoted(SettingsLabel(name.slot)) + " but is read as " + name.meaning + ": " +
                WhereValuesEnded() + ". Values count by line number only: 1 host, 2 log, " +
                "3 interval, 4 end time.");
    return;
  }
}

}  // namespace pinglog::check
