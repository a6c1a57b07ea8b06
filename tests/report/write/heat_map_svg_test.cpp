#include "report/write/drawing/heat_map_svg.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/report_fixture.h"
#include "support/calendar_time.h"

namespace pinglog::report {
namespace {

const LogTime kFirstDay = ComposeTime(2021, 3, 1, 0, 0, 0);  // a Monday

// A map of `rows` days without entries, the first a folded run of five.
HeatMap EmptyDays(std::size_t rows) {
  HeatMap map;
  for (std::size_t r = 0; r < rows; ++r) {
    map.rows.push_back({.day = kFirstDay + static_cast<LogTime>(r) * 86400,
                        .empty_days = r == 0 ? 5 : 0,
                        .hours = {}});
  }
  return map;
}

// Rows share 480 units, each from 2 to 14 high; a day's label on every row that leaves
// it 12 units; a folded run's words where its row is at least 8 high.
TEST(HeatMapSvgTest, SizesRowsAndLabelsByTheirNumber) {
  const struct {
    std::size_t rows;
    double row_height;
    std::size_t labels;
    bool folded_words;
  } rows[] = {
      {1, 14, 1, true},  {34, 14, 34, true}, {35, 13, 35, true},  {37, 12, 37, true},
      {60, 8, 30, true}, {61, 7, 31, false}, {240, 2, 40, false}, {241, 2, 41, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.rows) + " rows");
    const HeatMap map = EmptyDays(row.rows);
    std::ostringstream out;
    WriteHeatMap(out, map);
    EXPECT_EQ(HeatMapRowHeight(map), row.row_height);
    EXPECT_EQ(HeatMapHeight(map), static_cast<int>(16 + row.row_height * row.rows + 4 + 22));
    EXPECT_EQ(testing::CountOf(out.str(), "text-anchor=\"end\""), row.labels);
    EXPECT_EQ(testing::CountOf(out.str(), "5 days without entries"), row.folded_words ? 1u : 0u);
    const std::string height = std::to_string(static_cast<int>(row.row_height));
    EXPECT_EQ(testing::CountOf(out.str(), "width=\"920\" height=\"" + height + "\"><title>"), 1u)
        << "written whole";
  }
}

// A folded run spans the row with its dates; with the page's script, each run of
// hours alike is one cell.
TEST(HeatMapSvgTest, DrawsAFoldedRunAndRunsOfHoursAlike) {
  HeatMap map = EmptyDays(2);
  HeatRow& day = map.rows[1];
  for (int h = 0; h < 12; ++h) {
    day.hours[h].requests.cycles = 12;
    day.hours[h].requests.sent = 36;
    day.hours[h].requests.lost = h < 10 ? 0 : 36;
  }
  std::ostringstream out;
  WriteHeatMap(out, map, HeatMapHover::kScript);
  const std::string svg = out.str();
  for (const char* piece : {
           "<rect class=\"no-entries\" x=\"60\" y=\"16\" width=\"920\" height=\"14\"><title>"
           "01.03.2021 to 05.03.2021: no entries</title></rect>\n",
           "<text x=\"520\" y=\"27\" text-anchor=\"middle\">\u2026 5 days without entries "
           "\u2026</text>\n",
           "<rect x=\"60\" y=\"30\" width=\"383.3\" height=\"14\"/>\n",
           "<rect class=\"l5\" x=\"443.3\" y=\"30\" width=\"76.7\" height=\"14\"/>\n",
           "<rect class=\"no-entries\" x=\"520\" y=\"30\" width=\"460\" height=\"14\"/>\n",
       }) {
    EXPECT_NE(svg.find(piece), std::string::npos) << piece << "\nnot in\n" << svg;
  }
}

}  // namespace
}  // namespace pinglog::report
