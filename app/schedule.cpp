#include "app/schedule.h"

#include "app/settings.h"
#include "ping/cycle.h"
#include "support/calendar_time.h"
#include "support/pause.h"

namespace pinglog {

void RunSchedule() {
  CalendarTime now = LocalNow();
  const CalendarTime end_time = EndTimeFromText(SettingsValue(kEndTimeSlot));
  const std::uint32_t interval_ms = IntervalMilliseconds(SettingsValue(kIntervalSlot));
  // A clock beyond the calendar span reads as invalid: every valid end time lies inside
  // the span, so it has certainly passed.
  while (now != kInvalidTime && end_time > now) {
    RunPingCycle(SettingsValue(kHostSlot), SettingsValue(kLogPathSlot));
    Pause(interval_ms);
    now = LocalNow();
  }
}

}  // namespace pinglog
