#pragma once

namespace pinglog {

// Runs one ping cycle after another, pausing the configured interval between them,
// until the local clock is no longer earlier than the configured end time. The first
// cycle runs at once; the clock is read again only after each pause. A clock outside
// the calendar span counts as past the end time.
void RunSchedule();

}  // namespace pinglog
