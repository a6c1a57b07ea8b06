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
  while (end_time > now) {
    RunPingCycle(SettingsValue(kHostSlot), SettingsValue(kLogPathSlot));
    Pause(interval_ms);
    now = LocalNow();
  }
}

}  // namespace pinglog
