// The settings file Kep.ini and the table it fills. A value's meaning comes only from
// its line number: line 1 the target host, 2 the log path, 3 the interval in minutes,
// 4 the end time, 5 read and unused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/calendar_time.h"

namespace pinglog {

constexpr int kSettingsSlots = 6;  // slot 0 is never filled
constexpr int kHostSlot = 1;
constexpr int kLogPathSlot = 2;
constexpr int kIntervalSlot = 3;
constexpr int kEndTimeSlot = 4;
constexpr std::size_t kSettingsValueLength = 250;

inline constexpr const char* kSettingsFileName = "Kep.ini";

// Reads Kep.ini from the working directory into the table; false when it cannot be
// opened. Lines beyond the fifth are not read.
bool LoadSettings(const std::string& path = kSettingsFileName);

// The text of a slot (0..5); empty for any other number.
const std::string& SettingsValue(int slot);

// What stood before the first "=" of the slot's line, spaces trimmed; empty for a line
// without "=". The logger never looks at it; the settings check does.
const std::string& SettingsLabel(int slot);

// Empties every slot.
void ResetSettings();

// The value of one settings line: what follows its first "=" (the whole line when it
// has none), cut to 250 characters, with spaces trimmed.
std::string SettingsLineValue(std::string_view line);

// The end time read at fixed positions: year 1-4, month 6-7, day 9-10, hour 12-13,
// minute 15-16, second 18-19; separators are not checked. -1 when invalid.
CalendarTime EndTimeFromText(std::string_view text);
// The six fields as read from those positions (0 for a field beyond the text).
CalendarFields EndTimeFields(std::string_view text);

// The interval in minutes as milliseconds: the low 32 bits of minutes x 60000.
std::uint32_t IntervalMilliseconds(std::string_view text);

}  // namespace pinglog
