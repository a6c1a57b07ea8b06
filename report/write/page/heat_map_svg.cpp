#include "report/write/page/heat_map_svg.h"

#include <algorithm>
#include <cmath>

#include "report/model/chart_model.h"
#include "report/write/page/chart_layout.h"
#include "report/write/page/chart_svg.h"
#include "report/write/words.h"

namespace pinglog::report {

const char* const kHeatMapStyle =
    ".heat text{font-family:sans-serif;font-size:11px;fill:#444}\n"
    ".heat rect{stroke:none;fill:#0072b2;fill-opacity:.3}\n"
    ".heat .loss-little{fill:#e69f00;fill-opacity:1}\n.heat "
    ".loss-much{fill:#d55e00;fill-opacity:1}\n"
    ".heat .loss-total{fill:#000;fill-opacity:1}\n.heat .not-sent{fill:#cc79a7;fill-opacity:1}\n"
    ".heat .no-entries{fill:#fff;stroke:#ccc;stroke-width:.5}\n";

namespace {

constexpr double kHeaderHeight = 16;
constexpr double kCellWidth = (kChartRight - kChartLeft) / 24;

double RowHeight(const HeatMap& map) {
  const auto rows = static_cast<double>(std::max<std::size_t>(1, map.rows.size()));
  return std::clamp(std::floor(480 / rows), 2.0, 14.0);
}

// "01.03.2021 19:00–20:00: loss 6.67 %, median 15 ms, 20 cycles"
std::string CellTitle(LogTime start, const HourCell& cell) {
  std::string title =
      FormatTime("%dd.%mm.%yyyy %hh:00", start) + "\u2013" + FormatTime("%hh:00", start + 3600);
  if (cell.requests.cycles == 0) return title + ": no entries";
  title += ": loss " + FormatFixed(cell.requests.LossPercent(), 2) + " %, ";
  title += cell.replies ? "median " + std::to_string(cell.median) + " ms" : "no replies";
  return title + ", " + Plural(cell.requests.cycles, "cycle", "cycles");
}

// "60", "98.3": a coordinate without a useless ".0".
std::string Short(double value) {
  std::string text = FormatFixed(value, 1);
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  return text;
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
                          4);
}

namespace {

// "… 24000 days without entries …" across the row of a folded run.
void WriteFoldedRow(std::ostream& out, const HeatRow& row, double y, double height) {
  const std::string title = FormatTime("%dd.%mm.%yyyy", row.day) + " to " +
                            FormatTime("%dd.%mm.%yyyy", row.day + (row.empty_days - 1) * 86400) +
                            ": no entries";
  out << "<rect class=\"no-entries\" x=\"" << Short(kChartLeft) << "\" y=\"" << Short(y)
      << "\" width=\"" << Short(kChartRight - kChartLeft) << "\" height=\"" << Short(height)
      << "\"><title>" << Html(title) << "</title></rect>\n";
  if (height >= 8) {
    out << "<text x=\"" << Short((kChartLeft + kChartRight) / 2) << "\" y=\""
        << Short(y + std::min(height, 11.0)) << "\" text-anchor=\"middle\">\u2026 "
        << row.empty_days << " days without entries \u2026</text>\n";
  }
}

void WriteDayRow(std::ostream& out, const HeatRow& row, double y, double height) {
  for (int h = 0; h < 24; ++h) {
    const HourCell& cell = row.hours[h];
    // A year is 8760 cells: the usual one (no loss) takes no class of its own.
    const char* kind = cell.requests.cycles == 0 ? "no-entries"
                       : cell.requests.sent == 0 ? "not-sent"
                                                 : LossClass(cell.requests);
    out << "<rect";
    if (kind != kLossClasses[0]) out << " class=\"" << kind << '"';
    out << " x=\"" << Short(kChartLeft + h * kCellWidth) << "\" y=\"" << Short(y) << "\" width=\""
        << Short(kCellWidth) << "\" height=\"" << Short(height) << "\"><title>"
        << Html(CellTitle(row.day + std::int64_t{h} * 3600, cell)) << "</title></rect>\n";
  }
}

}  // namespace

void WriteHeatMap(std::ostream& out, const HeatMap& map) {
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
          << FormatTime("%dd.%mm.", row.day) << "</text>\n";
    }
    if (row.empty_days > 0) {
      WriteFoldedRow(out, row, y, row_height);
    } else {
      WriteDayRow(out, row, y, row_height);
    }
  }
  out << "</g>\n";
}

}  // namespace pinglog::report
