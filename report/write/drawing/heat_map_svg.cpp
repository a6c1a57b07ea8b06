#include "report/write/drawing/heat_map_svg.h"

#include <algorithm>
#include <cmath>

#include "report/model/chart_model.h"
#include "report/write/drawing/chart_layout.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/drawing/drawing_words.h"
#include "report/write/words.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

constexpr double kHeaderHeight = kHeatMapRowsTop;  // the hours' labels
constexpr double kKeyHeight = 22;                  // the key under the map
constexpr const char* kStepClasses[] = {"", "l1", "l2", "l3", "l4", "l5"};
constexpr double kCellWidth = (kChartRight - kChartLeft) / 24;

double RowHeight(const HeatMap& map) {
  const auto rows = static_cast<double>(std::max<std::size_t>(1, map.rows.size()));
  return std::clamp(std::floor(480 / rows), 2.0, 14.0);
}

// "01.03.2021 19:00–20:00: loss 6.67 %, median 15 ms, 20 cycles"
std::string CellTitle(LogTime start, const HourCell& cell) {
  std::string title = FormatTime("%dd.%mm.%yyyy %hh:00", start) + "\u2013" +
                      FormatTime("%hh:00", start + kSecondsPerHour);
  if (cell.requests.cycles == 0) return title + ": " + kWords.hour_empty;
  title += std::string(": ") + kWords.hour_loss + " " +
           FormatFixed(cell.requests.LossPercent(), 2) + " %, ";
  title += cell.replies ? std::string(kWords.median) + " " + std::to_string(cell.median) + " ms"
                        : std::string(kWords.no_replies);
  return title + ", " + Plural(cell.requests.cycles, kWords.cycle, kWords.cycles);
}

// "60", "98.3": a coordinate without a useless ".0".
std::string Short(double value) {
  std::string text = FormatFixed(value, 1);
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  return text;
}

// "Mo 07.01.": the row's weekday and date.
std::string DayLabel(LogTime day) {
  static constexpr const char* kWeekdays[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
  return std::string(kWeekdays[WeekdayOf(day / kSecondsPerDay)]) + " " +
         FormatTime("%dd.%mm.", day);
}

// What the colours mean, under the map.
void WriteKey(std::ostream& out, double y) {
  static constexpr struct {
    const char* kind;
    const char* words;
  } kKey[] = {{"", "no loss"},          {"l1", "under 1 %"},         {"l2", "1\u20135 %"},
              {"l3", "5\u201320 %"},    {"l4", "20\u201399 %"},      {"l5", "all lost"},
              {"not-sent", "not sent"}, {"no-entries", "no entries"}};
  double x = kChartLeft;
  for (const auto& key : kKey) {
    out << "<rect" << (*key.kind ? std::string(" class=\"") + key.kind + "\"" : "") << " x=\""
        << Short(x) << "\" y=\"" << Short(y - 9) << "\" width=\"10\" height=\"10\"/><text x=\""
        << Short(x + 14) << "\" y=\"" << Short(y) << "\">" << key.words << "</text>\n";
    x += 112;
  }
}

void WriteHourLabels(std::ostream& out) {
  for (int hour = 0; hour <= 24; hour += 3) {
    out << "<text x=\"" << FormatFixed(kChartLeft + hour * kCellWidth, 1) << "\" y=\"11\""
        << " text-anchor=\"middle\">" << hour << "</text>\n";
  }
}

}  // namespace

int HeatMapHeight(const HeatMap& map) {
  return static_cast<int>(kHeaderHeight + RowHeight(map) * static_cast<double>(map.rows.size()) +
                          4 + kKeyHeight);
}

namespace {

// "… 24000 days without entries …" across the row of a folded run.
void WriteFoldedRow(std::ostream& out, const HeatRow& row, double y, double height) {
  const std::string title =
      FormatTime("%dd.%mm.%yyyy", row.day) + " to " +
      FormatTime("%dd.%mm.%yyyy", row.day + (row.empty_days - 1) * kSecondsPerDay) + ": no entries";
  out << "<rect class=\"no-entries\" x=\"" << Short(kChartLeft) << "\" y=\"" << Short(y)
      << "\" width=\"" << Short(kChartRight - kChartLeft) << "\" height=\"" << Short(height)
      << "\"><title>" << Html(title) << "</title></rect>\n";
  if (height >= 8) {
    out << "<text x=\"" << Short((kChartLeft + kChartRight) / 2) << "\" y=\""
        << Short(y + std::min(height, 11.0)) << "\" text-anchor=\"middle\">\u2026 "
        << row.empty_days << " days without entries \u2026</text>\n";
  }
}

const char* CellClass(const HourCell& cell) {
  return cell.requests.cycles == 0 ? "no-entries"
         : cell.requests.sent == 0 ? "not-sent"
                                   : kStepClasses[LossStep(cell.requests)];
}

// A day's hours, each a cell with its numbers as a title; or (HeatMapHover::kScript)
// each run of hours alike one cell, the numbers told by the page's script.
void WriteDayRow(std::ostream& out, const HeatRow& row, double y, double height,
                 HeatMapHover hover) {
  for (int h = 0, next = 1; h < 24; h = next, next = h + 1) {
    const HourCell& cell = row.hours[h];
    // A year is 8760 cells: the usual one (no loss) takes no class of its own.
    const char* kind = CellClass(cell);
    if (hover == HeatMapHover::kScript) {
      while (next < 24 && CellClass(row.hours[next]) == kind) ++next;
    }
    out << "<rect";
    if (*kind != '\0') out << " class=\"" << kind << '"';
    out << " x=\"" << Short(kChartLeft + h * kCellWidth) << "\" y=\"" << Short(y) << "\" width=\""
        << Short(kCellWidth * (next - h)) << "\" height=\"" << Short(height) << '"';
    if (hover == HeatMapHover::kScript) {
      out << "/>\n";
      continue;
    }
    out << "><title>" << Html(CellTitle(row.day + std::int64_t{h} * kSecondsPerHour, cell))
        << "</title></rect>\n";
  }
}

}  // namespace

double HeatMapRowHeight(const HeatMap& map) { return RowHeight(map); }

void WriteHeatMap(std::ostream& out, const HeatMap& map, HeatMapHover hover) {
  const double row_height = RowHeight(map);
  const auto label_every = static_cast<std::size_t>(std::ceil(12 / row_height));
  out << "<g class=\"heat\">\n";
  WriteHourLabels(out);
  for (std::size_t r = 0; r < map.rows.size(); ++r) {
    const HeatRow& row = map.rows[r];
    const double y = kHeaderHeight + row_height * static_cast<double>(r);
    if (r % label_every == 0) {
      out << "<text x=\"" << kChartLeft - 6 << "\" y=\""
          << FormatFixed(y + std::min(row_height, 11.0), 1) << "\" text-anchor=\"end\">"
          << DayLabel(row.day) << "</text>\n";
    }
    if (row.empty_days > 0) {
      WriteFoldedRow(out, row, y, row_height);
    } else {
      WriteDayRow(out, row, y, row_height, hover);
    }
  }
  WriteKey(out, kHeaderHeight + row_height * static_cast<double>(map.rows.size()) + 18);
  out << "</g>\n";
}

}  // namespace pinglog::report
