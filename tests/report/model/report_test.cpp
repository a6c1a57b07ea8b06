#include "report/model/report.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// Hosts as every output shows them: a name given for a host's address alone is its
// name, without a warning; host texts that differ only in bytes that are no UTF-8 show
// those bytes, one that collides with none shows the replacement mark.
TEST(BuildReportTest, NamesHostsAndShowsTheirTextsApart) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1", "a\xff", "a\xfe", "b\xff"};
  std::vector<Entry> entries;
  for (std::uint16_t h = 0; h < 4; ++h) {
    entries.push_back(testing::MakeEntry(ComposeTime(2021, 3, 1, 0, 0, 0), {5, 5, 5}, h));
    entries.back().target = {192, 0, 2, static_cast<std::uint8_t>(1 + h)};
  }
  logs.entries = EntryStore(entries);
  ReportOptions options;
  std::string warning;
  ASSERT_EQ(options.names.Add("192.0.2.1=gw", "--name 192.0.2.1=gw", warning), "");
  const Report report = BuildReport(std::move(logs), options);
  std::vector<std::string> shown;
  for (const HostReport& host : report.hosts)
    shown.push_back(host.summary.host + "|" + host.summary.name);
  EXPECT_EQ(shown, (std::vector<std::string>{"router1|gw", "a\\xFF|", "a\\xFE|", "b\uFFFD|"}));
  EXPECT_TRUE(report.name_warnings.empty());
}

}  // namespace
}  // namespace pinglog::report
