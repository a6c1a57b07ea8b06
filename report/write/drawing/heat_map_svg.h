// When it happens, drawn: one row per day, one column per hour, each cell coloured by
// its loss in the chart's loss classes (hours without entries left white, outlined),
// with the hour's numbers on hover; and the line that names the worst hours.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "report/model/heat_map.h"

namespace pinglog::report {

// The heat map's height in the SVG's units (it is 1000 wide, as the chart).
int HeatMapHeight(const HeatMap& map);

// Where the rows begin, and a day's row height, in the same units.
inline constexpr double kHeatMapRowsTop = 16;
double HeatMapRowHeight(const HeatMap& map);

// How a reader learns an hour's numbers: from each cell's title, or from the page's
// script (which reads the hours the page packs), so that a year's map is not 8760 titles.
enum class HeatMapHover { kTitles, kScript };

// The heat map as <g> elements, from the top of a drawing 1000 wide.
void WriteHeatMap(std::ostream& out, const HeatMap& map,
                  HeatMapHover hover = HeatMapHover::kTitles);

}  // namespace pinglog::report
