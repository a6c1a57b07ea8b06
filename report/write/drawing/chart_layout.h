// Where the chart draws, in the SVG's own units, and how it marks time: the page's
// script draws zoomed charts with the same numbers, which the page hands it.
#pragma once

#include <array>
#include <cstdint>

namespace pinglog::report {

inline constexpr double kChartLeft = 60, kChartRight = 980, kChartTop = 20, kChartBottom = 240;
inline constexpr double kLossTop = 252;     // the loss marks' row, under the axis
inline constexpr int kLossHeight = 16;      // and its height
inline constexpr int kTimeLabelsY = 284;    // the ticks' times
inline constexpr int kEndLabelsY = 298;     // the axis's first and last time
inline constexpr double kTimelineRow = 26;  // a host's name and its strip in the timeline

// The step between time ticks and how a tick is labelled (the FormatTime masks): a
// number of seconds, or of months (ticks on the first of a month, at whole multiples
// of the step since year 0). The first step that makes at most kMostTicks; the last
// covers any span a log can have (years 1970 to 9999).
struct TickStep {
  std::int64_t seconds;  // 0: a step of months
  std::int64_t months;
  const char* mask;
};
inline constexpr int kMostTicks = 8;
// Ticks a week apart fall on Mondays: the first, 1970-01-05, this many seconds in.
inline constexpr std::int64_t kWeekSeconds = 604800, kFirstMonday = 345600;
inline constexpr std::int64_t kAverageMonthSeconds = 2629746;  // a 400-year cycle's average
inline constexpr std::array<TickStep, 25> kTickSteps = {
    {{60, 0, "%hh:%ii"},      {300, 0, "%hh:%ii"},     {900, 0, "%hh:%ii"},
     {1800, 0, "%hh:%ii"},    {3600, 0, "%hh:%ii"},    {10800, 0, "%hh:%ii"},
     {21600, 0, "%hh:%ii"},   {43200, 0, "%hh:%ii"},   {86400, 0, "%dd.%mm."},
     {172800, 0, "%dd.%mm."}, {604800, 0, "%dd.%mm."}, {0, 1, "%mm.%yyyy"},
     {0, 3, "%mm.%yyyy"},     {0, 6, "%mm.%yyyy"},     {0, 12, "%yyyy"},
     {0, 24, "%yyyy"},        {0, 60, "%yyyy"},        {0, 120, "%yyyy"},
     {0, 240, "%yyyy"},       {0, 600, "%yyyy"},       {0, 1200, "%yyyy"},
     {0, 2400, "%yyyy"},      {0, 6000, "%yyyy"},      {0, 12000, "%yyyy"},
     {0, 24000, "%yyyy"}}};
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
