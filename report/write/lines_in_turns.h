// A series' sample lines made on two threads at once when it has many points. A point's
// counts are those of every entry before it, so each thread walks every point, but only
// one of them makes the lines of a run of points: runs go to the threads in turn and are
// written in their order, as one thread would write them.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "report/model/metrics.h"
#include "report/write/sample_writer.h"

namespace pinglog::report {

// Calls a visit with each sample point's counts and its line end, in order.
using PointVisit = std::function<void(const HostMetrics&, std::string_view)>;
using SampleWalk = std::function<void(const PointVisit&)>;
// Writes one point's lines.
using PointLines = std::function<void(SampleWriter&, const HostMetrics&, std::string_view)>;

// The lines of a walk over `points` sample points, up to `lines_per_point` each. A walk
// of few points, or on a machine of one core, is made here alone.
void WriteLinesInTurns(SampleWriter& out, std::size_t points, std::size_t lines_per_point,
                       const SampleWalk& walk, const PointLines& lines);

}  // namespace pinglog::report
