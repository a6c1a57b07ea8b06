// The hosts' strips drawn: one row per host in path order, its name above a strip on
// the charts' time axis, coloured by its state bucket by bucket (answered, some loss,
// down, no entries), so that where it broke is seen at a glance.
#pragma once

#include <cstddef>
#include <ostream>

#include "report/model/timeline.h"

namespace pinglog::report {

// How a strip's state is drawn (its class) and said ("some requests lost").
struct StripLook {
  const char* css_class;
  const char* words;
};
StripLook LookOf(StripState state);

// The drawing's height in the SVG's units (it is 1000 wide, as the chart).
int TimelineHeight(const Timeline& timeline);

// How the strips are drawn: each run of a state a rectangle with its words and times
// as its title; or, for many hosts, compact: a row's time with entries one answered
// rectangle, the runs of other states over it, each with its buckets (data-b="FIRST
// END") for the page's script to title when hovered.
enum class StripDetail { kTitled, kCompact };

// Compact strips past this many rows are carried in chunks of as many, as inert text
// the page's script puts in place when they come near the view (WriteTimeline's
// `later`), so that a fleet's page opens quickly.
inline constexpr std::size_t kStripRowsAhead = 100;
// The strips as a <g>, from the top of a drawing 1000 wide: the labels, then the
// strips in a <g id="strips"> that the page's script redraws when zoomed. Given
// `later`, compact strips past kStripRowsAhead rows are written there.
void WriteTimeline(std::ostream& out, const Report& report, const Timeline& timeline,
                   StripDetail detail = StripDetail::kTitled, std::ostream* later = nullptr);

}  // namespace pinglog::report
