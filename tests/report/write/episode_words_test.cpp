#include "report/write/episode_words.h"

#include <gtest/gtest.h>

#include "report/model/report.h"

namespace pinglog::report {
namespace {

// A host of an episode that lost `lost` of 100 requests and answered the rest.
EpisodeHost Lossy(std::size_t host, std::int64_t lost, bool degraded = true) {
  return {.host = host,
          .degraded = degraded,
          .requests = {.cycles = 34, .sent = 100, .received = 100 - lost, .lost = lost},
          .replies = 100 - lost,
          .median = lost == 100 ? 0 : 90};
}

// An episode's sentence: each host's loss one by one up to eight hosts, a range beyond;
// how much slower the first degraded host that answered was than usual.
TEST(EpisodeWordsTest, GivesFiguresOneByOneUpToEightHosts) {
  Report report;
  report.hosts.resize(9);
  for (std::size_t i = 0; i < 9; ++i) {
    report.hosts[i].summary.host = "h" + std::to_string(i + 1);
    report.hosts[i].summary.usual.median = 10;
  }
  Episode eight;
  eight.loss = true;
  eight.place = Place::kOneHost;
  eight.first_degraded = {0};
  for (std::size_t i = 0; i < 8; ++i) eight.hosts.push_back(Lossy(i, i == 0 ? 30 : 0, i == 0));
  eight.degraded = 1;
  eight.others = 7;
  Episode nine = eight;
  nine.hosts.push_back(Lossy(8, 20));
  nine.degraded = 2;
  Episode slow;
  slow.slow = true;
  slow.hosts = {Lossy(0, 100), Lossy(1, 0, false), Lossy(2, 5)};
  const struct {
    const char* what;
    const Episode& episode;
    const char* text;
  } cases[] = {
      {"eight hosts", eight,
       "loss at h1 alone: h1 30 %, h2 0 %, h3 0 %, h4 0 %, h5 0 %, h6 0 %, h7 0 %, h8 0 %"},
      {"nine hosts", nine, "loss at h1 alone: 2 hosts 20 to 30 %, the other 7 as usual"},
      {"the first degraded host without replies", slow,
       "round trip +80 ms at h1 and h3 (no one place explains it)"},
  };
  for (const auto& c : cases) EXPECT_EQ(EpisodeText(c.episode, report), c.text) << c.what;
  EXPECT_EQ(FiguresText({.sent = 3, .lost = 3}, 0, 0), "100.00 % loss, no replies");
  EXPECT_EQ(FiguresText({.sent = 3, .lost = 2}, 1, 7), "66.67 % loss, median 7 ms");
}

}  // namespace
}  // namespace pinglog::report
