// Checks of the settings' values as texts: what the logger reads from them and where
// that may not be what was meant. No platform: the current time is given.
#pragma once

#include <cstdint>
#include <string>

#include "check/check_report.h"
#include "support/calendar_time.h"

namespace pinglog::check {

// "2030-06-15 18:30:00", the form Kep.ini wants, for fields that may be invalid.
std::string EndTimeText(const CalendarFields& fields);

// The end time: empty, an invalid field, beyond the calendar's span, past, or written
// in another form than the fixed positions expect. `now` is the current time.
void CheckEndTime(const std::string& text, CalendarTime now, CheckReport& report);

// The interval: empty, more than a number, 0 (back to back), negative (a long pause).
// Kep.ini saved as UTF-16, or with a UTF-8 byte-order mark. Returns false when the
// values cannot be read at all (the other checks would only add noise).
bool CheckEncoding(CheckReport& report);

void CheckInterval(const std::string& text, CheckReport& report);

// A blank or header first line, or a label on a line that is not its own: values
// count by line number only.
void CheckLineShift(CheckReport& report);

}  // namespace pinglog::check
