// A host's summary in words: a heading per fact with its lines ("Period",
// "Outages", ...), and the day (or hour) table's cells; the terminal and the page
// lay out the same words.
#pragma once

#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

struct Fact {
  std::string heading;
  std::vector<std::string> lines;  // none: "none"; a line's leading spaces indent it
};

std::vector<Fact> SummaryFacts(const HostSummary& summary, const std::vector<std::string>& files);

// The day (or hour) table: a header row, then one row of cells per period.
std::vector<std::vector<std::string>> PeriodTable(const HostSummary& summary);

// "01.03.2021 00:00:00 to 07.03.2021 23:55:00 (7 d)": from the first entry to the
// end of the last one's cycle (20 cycles a minute apart cover 20 minutes).
std::string PeriodLine(const HostSummary& summary);

// "Times are the logger's own wall-clock times, taken in the zone Europe/Berlin (--tz)."
std::string TimesLine(const Report& report);

// "Dropped 10 entries that another log already holds: 10 of b.log (in a.log).", or ""
// when none were.
std::string DuplicatesLine(const Report& report);

// The figures a reader wants first, for a drawing that stands alone: loss,
// availability and downtime, median, then the longest outages (up to `outages`).
std::vector<std::string> HeadlineLines(const HostSummary& summary, std::size_t outages);

// "Weekdays 18–23 h: loss 11.0 % and median 49 ms on 14 of 15 weekdays; other hours
// loss 0.2 % and 7 ms; weekends normal.", or "" when no hours stand out.
std::string WorstHoursLine(const std::optional<WorstHours>& worst);

// Why a gap is there, as far as the logs tell: what the other hosts' logs say of it,
// and for a host given by name that a failed lookup writes no entry (so an outage that
// takes the name server with it is a gap); or "".
const char* GapNote(const HostSummary& summary, const Gap& gap);

// Why an outage ended where no cycle was answered ("; then no entries"), or "".
const char* OutageEndNote(OutageEnd ends);

}  // namespace pinglog::report
