#pragma once

namespace pinglog {

// Runs one ping cycle after another, pausing the configured interval between them,
// until the local clock is no longer earlier than the configured end time. The first
// cycle runs at once; the clock is read again only after each pause.
void RunSchedule();

}  // namespace pinglog
