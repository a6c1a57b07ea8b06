// One row per attempt, with a header row, for a spreadsheet.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "report/model/report.h"

namespace pinglog::report {

// A text cell of the CSV: quoted when it holds a separator, a quote, a line end or a
// tab, or begins or ends with a space; a cell that a spreadsheet would run as a
// formula (beginning with = + - @, a tab or a CR) also gets a leading apostrophe.
std::string CsvField(std::string_view text);

void WriteCsv(std::ostream& out, const Report& report);

}  // namespace pinglog::report
