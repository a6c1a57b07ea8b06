#include "check/settings_check.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "fakes/fake_platform.h"

namespace pinglog::check {
namespace {

// Each case: a Kep.ini (its lines joined with LF, or CR LF), a text that one line of the
// report must hold, and the exit code. The clock stands at 2026-12-07 17:00:00.
TEST(SettingsCheckTest, SaysWhatTheLoggerWillDoAndWhetherItCanWork) {
  const struct {
    std::string kep_ini;
    std::string finding;
    int exit_code;
    const char* absent = nullptr;  // a finding that must not be there
  } cases[] = {
      {"Host=router1|Log=ping.log|Interval=5|End=2026-12-08 17:00:00",
       "pinglog pings \"router1\" (192.0.2.1) every 5 minutes from now until 2026-12-08 17:00:00 "
       "(about 288 cycles), appending to /srv/logger/ping.log.",
       0},
      {"Host=192.0.2.9|Log=/var/log/x.log|Interval=0|End=2026-12-07 17:00:03",
       "pinglog pings \"192.0.2.9\" back to back (a cycle every 0.3 to 3.3 s) from now until "
       "2026-12-07 17:00:03 (up to about 10 cycles), appending to /var/log/x.log.",
       0},
      {"Host=router1|Log=ping.log|Interval=5|End=2013-01-31 18:30:00",
       "error: the end time \"2013-01-31 18:30:00\" is read as 2013-01-31 18:30:00, which is "
       "already past",
       1},
      {"Host=router1|Log=ping.log|Interval=5|End=2030-02-30 00:00:00", "whose day is not valid", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2040-01-01 00:00:00",
       "after 2038-01-19 03:14:07, the latest end time pinglog can use", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2038-06-01",
       "after 2038-01-19 03:14:07, the latest end time pinglog can use", 1, "past"},
      {"Host=router1|Log=ping.log|Interval=5|End=2030-06-15 18:30",
       "from now until 2030-06-15 18:30:00", 0, "fixed positions"},
      {"Host=router1|Log=ping.log|Interval=5|End=", "error: line 4 (the end time) is empty", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2029-09-19 19:59:59",  // nines are digits
       "from now until 2029-09-19 19:59:59", 0, "fixed positions"},
      {"Host=router1|Log=ping.log|Interval=5|End=07.12.2027",  // the log's date, no more
       "is written day first, as the log writes dates; Kep.ini wants the year first: "
       "2027-12-07 00:00:00.",
       1},
      {"Host=router1|Log=ping.log|Interval=5|End=07.12.2027 17:51",
       "is written day first, as the log writes dates; Kep.ini wants the year first: "
       "2027-12-07 17:51:00.",
       1},
      {"Host=router1|Log=ping.log|Interval=5|End=07.12.2027 9",  // what follows the date is kept
       "Kep.ini wants the year first: 2027-12-07 9.", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-1-31 18:00:00",
       "warning: the end time \"2027-1-31 18:00:00\" is read as 2027-01-01 08:00:00: it is read "
       "at fixed positions",
       0},
      {"Host=router1|Log=ping.log|Interval=30s|End=2027-01-01 00:00:00",
       "error: the interval \"30s\" is read as 30 minutes: only the leading whole number counts",
       1},
      {"Host=router1|Log=ping.log|Interval=1.5|End=2027-01-01 00:00:00",
       "error: the interval \"1.5\" is read as 1 minute", 1},
      {"Host=router1|Log=ping.log|Interval=0.5 min|End=2027-01-01 00:00:00",
       "error: the interval \"0.5 min\" is read as", 1},
      {"Host=192.0.2.300|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the host \"192.0.2.300\" has a number above 255", 1},
      {"Host=2001:db8::1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "the logger pings IPv4 addresses only. Give an IPv4 address or a name that has one.", 1},
      {"Host=::1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the host \"::1\" is an IPv6 address", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "warning: the host \"router1\" is a name: a cycle whose lookup fails writes no entry, so "
       "when the line drops and the name server with it, the log shows a gap, not an outage. "
       "For evidence of outages, give its address: Host=192.0.2.1.",
       0},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00|utf16",
       "error: Kep.ini is saved as UTF-16 (Notepad's \"Unicode\")", 1},
      {"Host=192.0.2.26/|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",  // '/' is no digit
       "so pinglog takes it as an address, and reads it as 192.0.2.26", 0, "above 255"},
      {"Host=192.0.2.a|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "so pinglog takes it as an address, and reads it as 192.0.2.0", 0},
      {"Host=[x]|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",  // a label: no header line
       "error: the host \"[x]\" cannot be looked up now", 1, "line 1 is"},
      {"router1|ping.log|5|2027-01-01 00:00:00|bom",
       "byte-order mark, so the host is read as \"\\xEF\\xBB\\xBFrouter1\"", 1},
      {"my router|ping.log|5|2027-01-01 00:00:00|bom",  // a space is printable
       "byte-order mark, so the host is read as \"\\xEF\\xBB\\xBFmy router\"", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00|bom",
       "warning: Kep.ini begins with a UTF-8 byte-order mark; it falls in line 1's label", 0},
      {"Host=router1|Log=ping.log|Interval=-1|End=2027-01-01 00:00:00",
       "pinglog pauses about 49.7 days", 0},
      {"Host=router1|Log=ping.log||End=2027-01-01 00:00:00",
       "warning: line 3 (the interval) is empty: it reads as 0", 0},
      {"[pinglog]|Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "warning: line 1 is the header \"[pinglog]\", which moves every value one line down: the "
       "host \"[pinglog]\" (line 1), the log path \"router1\" (line 2)",
       1},
      {"Host=router1|Interval=5|Log=ping.log|End=2027-01-01 00:00:00",
       "line 2 is labelled \"Interval\" but is read as the log path", 1},
      {"Host=routr1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the host \"routr1\" cannot be looked up now (Unable to resolve domain name)", 1},
      {"Host=9gag.example|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "reads as 0.0.0.0: every request would be logged as Error no: 1214", 1},
      {"Host=10.1.2.3.4|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "warning: the host \"10.1.2.3.4\" begins with a digit, so pinglog takes it as an address, "
       "and reads it as 10.1.2.3.",
       0},
      {"Host=router1|Log=/nowhere/ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the log's directory does not exist (/nowhere/ping.log)", 1},
      {"Host=router1|Log=/var/log/router1.log|Interval=5|End=2027-01-01 00:00:00",
       "error: tester cannot write the log /var/log/router1.log: Read-only file system.", 1},
      {"Host=192.0.2.255|Log=ping.log|Interval=1|End=2026-12-07 17:00:01",
       "pinglog pings \"192.0.2.255\" every 1 minute from now until 2026-12-07 17:00:01 (about 1 "
       "cycle)",
       0, "warning: the host"},
      {"Host=192.0.2.256|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the host \"192.0.2.256\" has a number above 255, so pinglog pings 192.0.2.0", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2026-12-07 17:00:00", "which is already past", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2038-01-19 03:14:07",
       "from now until 2038-01-19 03:14:07", 0, "after 2038"},
      {"Host=router1|Log=ping.log|Interval=5|End=2038-01-19 03:14:08",
       "after 2038-01-19 03:14:07, the latest end time pinglog can use", 1},
      {"Host=router1|Log=ping.log|Interval=71582|End=2027-01-01 00:00:00", "every 71582 minutes", 0,
       "longer than pinglog can pause"},
      {"Host=router1|Log=ping.log|Interval=71583|End=2027-01-01 00:00:00",
       "warning: the interval \"71583\" is longer than pinglog can pause (71582 minutes, about "
       "49.7 days): it pauses 12.7 s instead. Write at most 71582.",
       0},
      {"Host=router1|Log=/run/log.sock|Interval=5|End=2027-01-01 00:00:00",
       "error: the log /run/log.sock is a socket, not a file", 1},
      {"Host=router1|Log=/srv/odd|Interval=5|End=2027-01-01 00:00:00",
       "error: the log /srv/odd is not a regular file, not a file", 1},
      {"Host=v6only|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: the host \"v6only\" cannot be looked up now (A non-IP address was returned.)", 1},
      {"Host=192.0.2.240|Log=ping.log|Interval=5|End=2027-01-01 00:00:00", "pinglog pings", 0,
       "warning: the host"},
      {"Host=010.1.2.3|Log=ping.log|Interval=5|End=2027-01-01 00:00:00", "pinglog pings", 0,
       "warning: the host"},
      {"Host=0010.1.2.3|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",  // four digits
       "warning: the host \"0010.1.2.3\" begins with a digit", 0},
      {"Host=10..2.3|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "warning: the host \"10..2.3\" begins with a digit", 0},
      {"Host=10.1.2.0/8|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",  // a network
       "warning: the host \"10.1.2.0/8\" begins with a digit", 0},
      {"Host=192.0.2.300x|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "warning: the host \"192.0.2.300x\" begins with a digit", 0},
      {"Host=|Log=|Interval=|End=", "error: line 1 (the host) is empty", 1, "holds no values"},
      {"Host=" + std::string(65532, 'x') + "|Log=ping.log|Interval=5|End=2027-01-01 00:00:00",
       "error: line 1 of Kep.ini (/srv/logger/Kep.ini) is longer than 64 kB", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00||" + std::string(70000, 'x'),
       "The run will work", 0, "64 kB"},  // past the lines the logger reads
      {"Host=router1|Log=/dev/null|Interval=5|End=2027-01-01 00:00:00",
       "error: the log /dev/null is a device, not a file: entries written there are not kept", 1},
      {"Host=router1|Log=/proc/sys/kernel/hostname|Interval=5|End=2027-01-01 00:00:00",
       "error: the log /proc/sys/kernel/hostname lies under /proc, among the system's own files",
       1},
      {"Host=router1|Log=/sys/power/state|Interval=5|End=2027-01-01 00:00:00",
       "error: the log /sys/power/state lies under /sys", 1},
      {"Host=router1|Log=/devices.log|Interval=5|End=2027-01-01 00:00:00", "The run will work", 0,
       "lies under"},
      {"Host=router1|Log=" + std::string(65532, 'x') + "|Interval=5|End=2027-01-01 00:00:00",
       "pinglog pings", 0, "64 kB"},
      {"Host=router1|Log=" + std::string(65533, 'x') + "|Interval=5|End=2027-01-01 00:00:00",
       "error: line 2 of Kep.ini (/srv/logger/Kep.ini) is longer than 64 kB", 1},
      {"", "error: Kep.ini (/srv/logger/Kep.ini) holds no values: no cycle runs.", 1, "blank"},
      {"Host=router1|device",
       "error: Kep.ini (/srv/logger/Kep.ini) is a device, not a file: pinglog would wait on it "
       "or read it without end.",
       1},
      {"Host=192.0.2.7|Log=ping.log|Interval=5|End=2027-01-01 00:00:00", "The run will work.", 0},
      {"Host=router1|Log=ping.log|Interval=5|End=2026-12-07 17:00:00",  // now
       "pinglog would run no cycle.", 1},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01", "from now until 2027-01-01 00:00:00",
       0, "fixed positions"},
      {"Host=router1|Log=ping.log|Interval=5|End=1969-12-31 23:59:59", "which is already past", 1,
       "after 2038"},
      {"Host=router1|Log=ping.log|Interval=5|End=" + std::string(65532, '7'),  // 64 kB, no more
       "error: the end time", 1, "64 kB"},
      {"Host=router1|Log=ping.log|Interval=" + std::string(65540, '5') +
           "|End=2027-01-01 00:00:00|crlf",
       "error: line 3 of Kep.ini (/srv/logger/Kep.ini) is longer than 64 kB", 1},
      {"Host=router1|directory", "error: there is no readable Kep.ini (/srv/logger/Kep.ini)", 1},
      {"my router\x7F\x1F|ping.log|5|2027-01-01 00:00:00|bom",
       "byte-order mark, so the host is read as \"\\xEF\\xBB\\xBFmy router\\x7F\\x1F\"", 1},
      {"router1|ping.log|5|2027-01-01 00:00:00", "pinglog pings \"router1\"", 0, "line 1 is"},
      {"192.0.2.7|ping.log|5|2027-01-01 00:00:00", "The run will work.", 0, "is labelled"},
      {"Host=router1|Log=ping.log|Interval=5|End=2027-01-01 00:00:00|no-icmp",
       "error: tester may not send ICMP echo requests: every request would be logged as Error "
       "no: 5. Fix: sudo setcap cap_net_raw+ep /usr/bin/pinglog",
       1},
  };
  for (const auto& c : cases) {
    testing::FakePlatform platform;
    testing::SetClock(platform, 2026, 12, 7, 17, 0, 0);
    platform.hosts["router1"] = {true, kAddressFamilyIPv4, {{192, 0, 2, 1}}};
    platform.append_checks["/nowhere/ping.log"] = {AppendAccess::kNoDirectory, {}};
    platform.append_checks["/var/log/router1.log"] = {AppendAccess::kRefused,
                                                      "Read-only file system"};
    platform.append_checks["/dev/null"] = {AppendAccess::kAppends, {}, FileKind::kDevice};
    platform.append_checks["/run/log.sock"] = {AppendAccess::kAppends, {}, FileKind::kSocket};
    platform.append_checks["/srv/odd"] = {AppendAccess::kAppends, {}, FileKind::kOther};
    platform.hosts["v6only"] = {true, 10, {}};  // AF_INET6: no IPv4 address
    std::string kep_ini = c.kep_ini;
    const auto suffix = [&kep_ini](const std::string& tail) {
      const bool has = kep_ini.size() > tail.size() &&
                       kep_ini.compare(kep_ini.size() - tail.size(), tail.size(), tail) == 0;
      if (has) kep_ini.resize(kep_ini.size() - tail.size());
      return has;
    };
    if (suffix("|no-icmp")) platform.echo_permission = EchoPermission::kNone;
    if (suffix("|device")) platform.path_kinds[kSettingsFileName] = FileKind::kDevice;
    const bool directory = suffix("|directory");
    if (directory) platform.path_kinds[kSettingsFileName] = FileKind::kDirectory;
    const bool utf16 = suffix("|utf16"), bom = suffix("|bom"), crlf = suffix("|crlf");
    std::string joined;
    for (const char ch : kep_ini) joined += ch != '|' ? std::string(1, ch) : crlf ? "\r\n" : "\n";
    kep_ini = joined;
    if (bom) kep_ini = "\xEF\xBB\xBF" + kep_ini;
    if (utf16) {  // as Notepad saves "Unicode": a byte-order mark, two bytes a character
      std::string wide = "\xFF\xFE";
      for (const char ch : kep_ini) wide += std::string{ch, '\0'};
      kep_ini = wide;
    }
    if (!directory) platform.files[kSettingsFileName] = kep_ini;
    const CheckReport report = CheckSettings({true, "/usr/bin/pinglog"});
    std::string all;
    for (const std::string& line : report.lines) all += line + "\n";
    EXPECT_NE(all.find(c.finding), std::string::npos) << c.kep_ini << "\n" << all;
    EXPECT_EQ(report.ExitCode(), c.exit_code) << c.kep_ini << "\n" << all;
    if (c.absent != nullptr) {
      EXPECT_EQ(all.find(c.absent), std::string::npos) << all;
    }
  }
  ResetSettings();
}

TEST(SettingsCheckTest, AMissingKepIniCannotWork) {
  testing::FakePlatform platform;
  const CheckReport report = CheckSettings({true, "/usr/bin/pinglog"});
  ASSERT_EQ(report.lines.size(), 1u);
  EXPECT_EQ(report.lines[0],
            "error: there is no readable Kep.ini (/srv/logger/Kep.ini): pinglog would only say "
            "\"Couldn't find the ini-File!\" and end. The name is exactly Kep.ini.");
  EXPECT_EQ(report.ExitCode(), 1);
}

}  // namespace
}  // namespace pinglog::check
