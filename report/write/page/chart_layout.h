// Where the chart draws, in the SVG's own units, and how it marks time: the page's
// script draws zoomed charts with the same numbers, which the page hands it.
#pragma once

#include <array>
#include <cstdint>

namespace pinglog::report {

inline constexpr double kChartLeft = 60, kChartRight = 980, kChartTop = 20, kChartBottom = 240;
inline constexpr double kLossTop = 252;  // the loss marks' row, under the axis

// The step between time ticks and how a tick is labelled (the FormatTime masks); the
// first step that makes at most kMostTicks; past the last, the first of each month.
struct TickStep {
  std::int64_t seconds;  // 0: months
  const char* mask;
};
inline constexpr int kMostTicks = 8;
inline constexpr std::array<TickStep, 11> kTickSteps = {{{60, "%hh:%ii"},
                                                         {300, "%hh:%ii"},
                                                         {900, "%hh:%ii"},
                                                         {1800, "%hh:%ii"},
                                                         {3600, "%hh:%ii"},
                                                         {10800, "%hh:%ii"},
                                                         {21600, "%hh:%ii"},
                                                         {43200, "%hh:%ii"},
                                                         {86400, "%dd.%mm."},
                                                         {172800, "%dd.%mm."},
                                                         {604800, "%dd.%mm."}}};
inline constexpr TickStep kMonthTicks = {0, "%mm.%yyyy"};
// Days get a light line of their own while the axis spans at most this many.
inline constexpr std::int64_t kMostDayLines = 62;

// The smoke's bands: from one percentile to another (0 and 100: the minimum and the
// maximum), lighter for the wider spread.
struct SmokeBand {
  int low, high;
  const char* opacity;
};
inline constexpr std::array<SmokeBand, 3> kSmokeBands = {
    {{0, 100, ".2"}, {10, 90, ".35"}, {25, 75, ".55"}}};

}  // namespace pinglog::report
