// The charts of every host alone, one above the other, as a standalone SVG file.
#pragma once

#include <ostream>

#include "report/model/chart_model.h"

namespace pinglog::report {

void WriteSvg(std::ostream& out, const Report& report, const ChartOptions& options);

}  // namespace pinglog::report
