// The report's outputs: the summary for a terminal, and the exports.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/chart_svg.h"
#include "report/log_files.h"
#include "report/summary.h"
#include "support/text.h"

namespace pinglog::report {

// "31.05.2013 08:05:09", local wall-clock time as the logger wrote it.
std::string ReadableTime(CalendarTime time);
// "2013-05-31T08:05:09", without a zone: the logger's times have none.
std::string IsoTime(CalendarTime time);
// "1 d 2 h 3 min 4 s", leaving out the parts that are 0.
std::string Duration(std::int64_t seconds);
// "5 min 0.3 s": a period that need not be whole seconds.
std::string PeriodText(double seconds);
// "1 cycle", "2 cycles".
std::string Plural(std::int64_t count, const char* one, const char* many);
// What to do about requests with this error that never left the machine.
const char* NotSentFix(std::uint32_t error);

void WriteSummaryText(std::ostream& out, const HostSummary& summary,
                      const std::vector<std::string>& files);
void WriteUnparsedText(std::ostream& out, const LogSet& logs);

// A text cell of the CSV: quoted when it holds a separator, a quote, a line end or a
// tab, or begins or ends with a space; a cell that a spreadsheet would run as a
// formula (beginning with = + - @, a tab or a CR) also gets a leading apostrophe.
std::string CsvField(std::string_view text);

// One row per attempt, with a header row.
void WriteCsv(std::ostream& out, const LogSet& logs);
void WriteJson(std::ostream& out, const std::vector<HostSummary>& summaries, const LogSet& logs);
// The charts alone, one above the other, as a standalone SVG file.
void WriteSvg(std::ostream& out, const std::vector<HostSummary>& summaries,
              const std::vector<std::vector<const Entry*>>& entries_by_host,
              const ChartOptions& options);
// One self-contained page: the summary tables and an SVG chart per host.
void WriteHtml(std::ostream& out, const std::vector<HostSummary>& summaries,
               const std::vector<std::vector<const Entry*>>& entries_by_host,
               const std::vector<std::string>& files, const ChartOptions& options);

}  // namespace pinglog::report
