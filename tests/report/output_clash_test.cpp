#include "report/output_clash.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// An export is refused where it is one of the logs, under its own name or another
// that leads to the same file, or where two exports name one file that does not exist
// yet; other files, and standard output, are left alone.
TEST(OutputClashTest, RefusesAnExportOntoALogOrAnotherExport) {
  const testing::TempFile log("week.log");
  log.Write("");
  const std::filesystem::path path(log.path());
  const std::string other_name = (path.parent_path() / "." / path.filename()).string();
  const testing::TempFile fresh("fresh.json");  // never written
  const struct {
    std::string situation, json, csv;
    std::string said;  // what the refusal names; none: no clash
  } rows[] = {
      {"onto the log", log.path(), "", "--json " + log.path() + " is the log " + log.path()},
      {"onto the log by another name", other_name, "",
       "--json " + other_name + " is the log " + log.path()},
      {"two exports to a new file", fresh.path(), fresh.path(),
       "--json " + fresh.path() + " is --csv " + fresh.path()},
      {"a new file of its own", fresh.path(), "", ""},
      {"standard output", "-", "-", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    Options options;
    options.json = row.json;
    options.csv = row.csv;
    const std::optional<std::string> clash = OutputClash(options, {log.path(), "-"});
    if (row.said.empty()) {
      EXPECT_EQ(clash, std::nullopt);
    } else {
      EXPECT_EQ(clash, row.said + ": it would be overwritten. Write the output to another file.");
    }
  }
}

}  // namespace
}  // namespace pinglog::report
