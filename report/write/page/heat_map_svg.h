// When it happens, drawn: one row per day, one column per hour, each cell coloured by
// its loss in the chart's loss classes (hours without entries left white, outlined),
// with the hour's numbers on hover; and the line that names the worst hours.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "report/model/heat_map.h"

namespace pinglog::report {

extern const char* const kHeatMapStyle;

// The heat map's height in the SVG's units (it is 1000 wide, as the chart).
int HeatMapHeight(const HeatMap& map);

// The heat map as <g> elements, from the top of a drawing 1000 wide.
void WriteHeatMap(std::ostream& out, const HeatMap& map);

}  // namespace pinglog::report
