#include "report/write/drawing/timeline_svg.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/report_fixture.h"
#include "support/calendar_time.h"

namespace pinglog::report {
namespace {

constexpr auto A = StripState::kAnswered, L = StripState::kLoss, N = StripState::kNone,
               D = StripState::kDown, E = StripState::kNoEntries;

// Ten buckets of 92 s on 920 units: a second a unit, from x = 60.
Timeline TenBuckets(std::vector<std::vector<StripState>> strips) {
  return {ComposeTime(2021, 3, 1, 12, 0, 0), 920, 92, std::move(strips)};
}

Report HostsOf(const Timeline& t) {
  Report report;
  for (std::size_t h = 0; h < t.strips.size(); ++h) {
    report.hosts.emplace_back().summary.host = "h" + std::to_string(h);
  }
  return report;
}

// Each run of a state one rectangle, titled with its times; a bucket without a state
// none. Compact: each stretch with entries one answered rectangle under the runs of
// the other states, which carry their buckets.
TEST(TimelineSvgTest, DrawsEachRunOfAStateOnce) {
  const Timeline t = TenBuckets({{A, A, L, L, N, D, D, E, A, A}});
  const Report report = HostsOf(t);
  std::ostringstream titled, compact;
  WriteTimeline(titled, report, t);
  WriteTimeline(compact, report, t, StripDetail::kCompact);
  const auto rect = [](const char* state, const char* x, const char* width) {
    return std::string("<rect class=\"strip-") + state + "\" x=\"" + x + "\" y=\"13.0\" width=\"" +
           width + "\" height=\"10\"";
  };
  EXPECT_EQ(testing::CountOf(titled.str(), "<rect class=\"strip-"), 5u + 4u);  // and the key's four
  for (const std::string& piece : {
           rect("answered", "60.0", "184.0") + "><title>answered: 01.03.2021 12:00:00 to "
                                               "01.03.2021 12:03:04</title></rect>\n",
           rect("loss", "244.0", "184.0") + "><title>some requests lost: 01.03.2021 12:03:04 "
                                            "to 01.03.2021 12:06:08</title></rect>\n",
           rect("down", "520.0", "184.0") + ">",
           rect("no-entries", "704.0", "92.0") + ">",
           rect("answered", "796.0", "184.0") + "><title>answered: 01.03.2021 12:12:16 to "
                                                "01.03.2021 12:15:20</title></rect>\n",
       }) {
    EXPECT_NE(titled.str().find(piece), std::string::npos) << piece << "\nnot in\n" << titled.str();
  }
  EXPECT_EQ(testing::CountOf(compact.str(), "<rect class=\"strip-"), 5u + 4u);
  for (const std::string& piece : {
           rect("answered", "60.0", "368.0") + " data-b=\"0 4\"/>\n",
           rect("answered", "520.0", "460.0") + " data-b=\"5 10\"/>\n",
           rect("loss", "244.0", "184.0") + " data-b=\"2 4\"/>\n",
           rect("down", "520.0", "184.0") + " data-b=\"5 7\"/>\n",
           rect("no-entries", "704.0", "92.0") + " data-b=\"7 8\"/>\n",
       }) {
    EXPECT_NE(compact.str().find(piece), std::string::npos) << piece << "\nnot in\n"
                                                            << compact.str();
  }
}

// Compact rows past the first hundred come in chunks of a hundred, each a placeholder
// as tall as its rows, and its rows for the page's script.
TEST(TimelineSvgTest, CarriesRowsPastTheFirstHundredInChunks) {
  const struct {
    std::size_t hosts;
    std::vector<std::string> placeholders;
  } rows[] = {
      {100, {}},
      {200,
       {"<rect class=\"strip-later\" data-chunk=\"1\" x=\"60\" y=\"2613.0\" width=\"920\" "
        "height=\"2600.0\"/>"}},
      {201,
       {"<rect class=\"strip-later\" data-chunk=\"1\" x=\"60\" y=\"2613.0\" width=\"920\" "
        "height=\"2600.0\"/>",
        "<rect class=\"strip-later\" data-chunk=\"2\" x=\"60\" y=\"5213.0\" width=\"920\" "
        "height=\"26.0\"/>"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.hosts) + " hosts");
    std::vector<std::vector<StripState>> strips(row.hosts, {A});
    strips.back() = {L};  // the last host's one run, over its answered stretch
    const Timeline t = TenBuckets(strips);
    std::ostringstream out, later;
    WriteTimeline(out, HostsOf(t), t, StripDetail::kCompact, &later);
    EXPECT_EQ(testing::CountOf(out.str(), "strip-later"), row.placeholders.size());
    for (const std::string& placeholder : row.placeholders) {
      EXPECT_NE(out.str().find(placeholder), std::string::npos) << placeholder;
    }
    EXPECT_EQ(testing::CountOf(later.str(), "class=\"strip-rows\""), row.placeholders.size());
    const std::size_t drawn = std::min<std::size_t>(row.hosts, kStripRowsAhead);
    EXPECT_EQ(testing::CountOf(out.str(), "strip-answered\" x"), drawn + 1);  // and the key's
    EXPECT_EQ(testing::CountOf(later.str(), "strip-answered"), row.hosts - drawn);
    EXPECT_EQ(testing::CountOf(out.str() + later.str(), "strip-loss\" x"), 2u);  // and the key's
  }
}

}  // namespace
}  // namespace pinglog::report
